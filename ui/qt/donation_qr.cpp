#include "ui/qt/donation_qr.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>
#include <string>

#include "app/view/project_links.h"

namespace vardelle::ui {
namespace {

constexpr int kQuietZoneModules = 4;

struct QrGrid {
  int modulePixels;
  int origin;
};

QrGrid QrGridFor(int moduleCount, int side) {
  const int span = moduleCount + 2 * kQuietZoneModules;
  const int modulePixels = side / span;
  return {modulePixels, (side - modulePixels * moduleCount) / 2};
}

}  // namespace

QrModules EncodeQr(std::string_view text) {
  const std::string data(text);
  std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeString8bit(data.c_str(), 0, QR_ECLEVEL_M), &QRcode_free);
  QrModules modules;
  if (!code) return modules;
  modules.width = code->width;
  const size_t count = static_cast<size_t>(code->width) * static_cast<size_t>(code->width);
  modules.dark.resize(count);
  // Bit 0 of each libqrencode byte is the module's colour; the others say what it is part of.
  for (size_t i = 0; i < count; ++i) modules.dark[i] = (code->data[i] & 1) != 0;
  return modules;
}

QImage DrawQr(const QrModules& modules, int side) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (modules.width == 0) return image;
  const QrGrid grid = QrGridFor(modules.width, side);
  QPainter p(&image);
  for (int y = 0; y < modules.width; ++y) {
    for (int x = 0; x < modules.width; ++x) {
      if (!modules.IsDark(x, y)) continue;
      p.fillRect(grid.origin + x * grid.modulePixels, grid.origin + y * grid.modulePixels,
                 grid.modulePixels, grid.modulePixels, Qt::black);
    }
  }
  return image;
}

QImage DonationPicture() { return DrawQr(EncodeQr(kProjectPage), kDonationPictureSide); }

}  // namespace vardelle::ui
