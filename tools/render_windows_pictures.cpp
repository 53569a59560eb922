// vardelle-windows-pictures: writes the Windows edition's pictures into DIR as the files its
// resource script embeds and the installer shows (ui/win32/resources/pictures.cmake names
// them): the logo as a multi-size vardelle.ico and every other picture as a 32-bit bottom-up
// BI_RGB .bmp with straight alpha, the form LoadImageW(LR_CREATEDIBSECTION) and ILC_COLOR32
// image lists take. Drawn at build time by the Qt window's own picture code, so the Windows
// program shows the same pictures without linking Qt or a QR library. The window's pictures
// are drawn once for each DPI of kPictureSetDpis, in a folder named by the DPI, so that none
// is scaled up on a screen of 125, 150 or 200 %.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

#include "app/view/project_links.h"
#include "ui/qt/donation_qr.h"
#include "ui/qt/pictures.h"
#include "ui/win32/resources/picture_sets.h"

namespace {

// The sizes Windows asks an icon for: small and large icons at 100 to 200 %, and Explorer's.
constexpr int kIconSides[] = {16, 20, 24, 32, 40, 48, 64, 256};
constexpr int kBitmapInfoHeaderSize = 40;
constexpr int kBitmapFileHeaderSize = 14;

// BMP and ICO headers are little-endian whatever the machine.
void AppendLittleEndian(QByteArray& bytes, quint32 value, int size) {
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xff));
}
void Append16(QByteArray& bytes, int value) {
  AppendLittleEndian(bytes, static_cast<quint32>(value), 2);
}
void Append32(QByteArray& bytes, qsizetype value) {
  AppendLittleEndian(bytes, static_cast<quint32>(value), 4);
}

// BITMAPINFOHEADER of a 32-bit BI_RGB picture; a positive height means bottom-up rows.
QByteArray InfoHeader(int width, int height, qsizetype imageBytes) {
  QByteArray header;
  Append32(header, kBitmapInfoHeaderSize);
  Append32(header, width);
  Append32(header, height);
  Append16(header, 1);   // planes
  Append16(header, 32);  // bits per pixel
  Append32(header, 0);   // BI_RGB
  Append32(header, imageBytes);
  for (int unused = 0; unused < 4; ++unused) Append32(header, 0);  // resolution, palette
  return header;
}

// Blue, green, red, alpha per pixel, bottom row first; alpha is not multiplied in.
QByteArray BottomUpPixels(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  QByteArray pixels;
  pixels.reserve(static_cast<qsizetype>(image.width()) * image.height() * 4);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      for (const int channel : {qBlue(pixel), qGreen(pixel), qRed(pixel), qAlpha(pixel)}) {
        pixels.append(static_cast<char>(channel));
      }
    }
  }
  return pixels;
}

QByteArray BmpFile(const QImage& image) {
  const QByteArray pixels = BottomUpPixels(image);
  const int headersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
  QByteArray file("BM");
  Append32(file, headersSize + pixels.size());
  Append32(file, 0);  // reserved
  Append32(file, headersSize);
  return file + InfoHeader(image.width(), image.height(), pixels.size()) + pixels;
}

// The icon's 1-bit AND mask, set where the picture is fully transparent: what readers
// without alpha support use; rows padded to 32 bits, bottom row first.
QByteArray TransparencyMask(const QImage& image) {
  const int rowBytes = (image.width() + 31) / 32 * 4;
  QByteArray mask;
  for (int y = image.height() - 1; y >= 0; --y) {
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 0)
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    mask += row;
  }
  return mask;
}

QByteArray PngOf(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

// One image of an icon file: the 256 px one as PNG, which keeps the file small and is what
// Windows reads at that size; the others as DIBs (the header's height counts the mask too).
QByteArray IconImage(const QImage& image) {
  if (image.width() >= 256) return PngOf(image);
  const QByteArray pixels = BottomUpPixels(image);
  const QByteArray mask = TransparencyMask(image);
  return InfoHeader(image.width(), 2 * image.height(), pixels.size() + mask.size()) + pixels + mask;
}

QByteArray IcoFile(const std::vector<QImage>& images) {
  constexpr int kDirectoryHeaderSize = 6;
  constexpr int kDirectoryEntrySize = 16;
  QByteArray directory;
  Append16(directory, 0);  // reserved
  Append16(directory, 1);  // an icon, not a cursor
  Append16(directory, static_cast<int>(images.size()));
  QByteArray data;
  qsizetype offset = kDirectoryHeaderSize + kDirectoryEntrySize * std::ssize(images);
  for (const QImage& image : images) {
    const QByteArray imageBytes = IconImage(image);
    directory.append(static_cast<char>(image.width() % 256));  // 0 stands for 256
    directory.append(static_cast<char>(image.height() % 256));
    directory.append(2, '\0');  // no palette, reserved
    Append16(directory, 1);     // planes
    Append16(directory, 32);    // bits per pixel
    Append32(directory, imageBytes.size());
    Append32(directory, offset);
    offset += imageBytes.size();
    data += imageBytes;
  }
  return directory + data;
}

QImage RowIconStrip(int side) {
  constexpr vardelle::RowIcon kIcons[] = {
      vardelle::RowIcon::kAnswered, vardelle::RowIcon::kNoAnswer, vardelle::RowIcon::kNotTested};
  constexpr int kCount = static_cast<int>(std::size(kIcons));
  QImage strip(side * kCount, side, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  for (int i = 0; i < kCount; ++i) {
    painter.drawImage(i * side, 0, vardelle::ui::RowIconPicture(kIcons[i], side));
  }
  return strip;
}

// A picture of the installer's pages: the logo centred on white. NSIS shows a bitmap's
// colours as they are, without alpha, so nothing in it is transparent.
QImage InstallerPicture(int width, int height, int logoSide) {
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawImage((width - logoSide) / 2, (height - logoSide) / 2,
                    vardelle::ui::GlobePicture(logoSide));
  return picture;
}

struct PictureFile {
  QString name;
  QByteArray contents;
};

// The window's pictures for one DPI, in a folder named by it: at 96 DPI of the sides
// resource_ids.h gives, scaled to dpi as the window scales its layout.
std::vector<PictureFile> WindowPictureFiles(int dpi) {
  namespace ui = vardelle::ui;
  // Rounded as the window's ScaledToDpi rounds its layout's lengths (whose file would bring
  // the text library into this tool).
  const auto side = [dpi](int layoutSide) { return (layoutSide * dpi + 48) / 96; };
  const QString folder = QString::number(dpi) + "/";
  return {
      {folder + "tab_servers.bmp", BmpFile(ui::GlobePicture(side(16)))},
      {folder + "tab_global.bmp", BmpFile(ui::PieChartPicture(side(16)))},
      {folder + "tab_help.bmp", BmpFile(ui::SpeechBubblePicture(side(16)))},
      {folder + "refresh.bmp", BmpFile(ui::RefreshPicture(side(24)))},
      {folder + "row_icons.bmp", BmpFile(RowIconStrip(side(12)))},
      {folder + "logo.bmp", BmpFile(ui::GlobePicture(side(96)))},
      {folder + "donation_qr.bmp",
       BmpFile(ui::DrawQr(ui::EncodeQr(vardelle::kProjectPage), side(150)))},
  };
}

std::vector<PictureFile> PictureFiles() {
  std::vector<QImage> logoSizes;
  for (const int side : kIconSides) logoSizes.push_back(vardelle::ui::GlobePicture(side));
  std::vector<PictureFile> files{
      {"vardelle.ico", IcoFile(logoSizes)},
      // NSIS's sizes for the welcome and finish pages' side and the other pages' header.
      {"installer_side.bmp", BmpFile(InstallerPicture(164, 314, 128))},
      {"installer_header.bmp", BmpFile(InstallerPicture(150, 57, 48))},
  };
  for (const int dpi : vardelle::win32::kPictureSetDpis) {
    for (PictureFile& file : WindowPictureFiles(dpi)) files.push_back(std::move(file));
  }
  return files;
}

bool WriteFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vardelle-windows-pictures DIR\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (const PictureFile& picture : PictureFiles()) {
    const QString path = folder + "/" + picture.name;
    if (!QDir().mkpath(QFileInfo(path).path()) || !WriteFile(path, picture.contents)) {
      std::fprintf(stderr, "vardelle-windows-pictures: cannot write %s\n",
                   qPrintable(picture.name));
      return 1;
    }
  }
  return 0;
}
