// The donation QR code: a real QR code of the project's page, drawn as a picture.
#pragma once

#include <QImage>
#include <string_view>
#include <vector>

namespace vardelle::ui {

// Side of the donation picture in pixels; the picture box shows it scaled down.
inline constexpr int kDonationPictureSide = 430;

// The modules of a QR code, row by row; width 0 when the text could not be encoded.
struct QrModules {
  int width = 0;
  std::vector<bool> dark;
  bool IsDark(int x, int y) const { return dark[static_cast<size_t>(y * width + x)]; }
};

// Encodes text as 8-bit data with error correction level M, smallest version that fits.
QrModules EncodeQr(std::string_view text);

// Draws the modules black on white with the standard quiet zone of four modules, as
// large as whole pixels per module allow, centred in a square of side pixels.
QImage DrawQr(const QrModules& modules, int side);

// The QR code of the project's page at kDonationPictureSide.
QImage DonationPicture();

}  // namespace vardelle::ui
