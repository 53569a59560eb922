// vardelle-icons: writes the program's logo, the window's own globe picture, as the icon
// files the desktop menu looks for: DIR/SIZExSIZE/apps/vardelle.png per size and
// DIR/scalable/apps/vardelle.svg. Runs at build time, so the package ships the same picture
// the window draws.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "ui/qt/pictures.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kScalableSide = 256;

QString AppsFolder(const QString& root, const QString& sizeName) {
  const QString folder = root + "/" + sizeName + "/apps";
  QDir().mkpath(folder);
  return folder;
}

// The SVG holds the picture as drawn at its largest size, so it scales down like the PNGs.
QByteArray SvgOf(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  const QByteArray side = QByteArray::number(image.width());
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" "
         "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
         side + "\" height=\"" + side + "\" viewBox=\"0 0 " + side + " " + side +
         "\">\n  <image width=\"" + side + "\" height=\"" + side +
         "\" xlink:href=\"data:image/png;base64," + png.toBase64() + "\"/>\n</svg>\n";
}

bool WriteSvg(const QString& path, const QByteArray& svg) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vardelle-icons DIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (const int side : kSizes) {
    const QString name = QString::number(side) + "x" + QString::number(side);
    if (!vardelle::ui::GlobePicture(side).save(AppsFolder(root, name) + "/vardelle.png")) {
      std::fprintf(stderr, "vardelle-icons: cannot write the %d px icon\n", side);
      return 1;
    }
  }
  if (!WriteSvg(AppsFolder(root, "scalable") + "/vardelle.svg",
                SvgOf(vardelle::ui::GlobePicture(kScalableSide)))) {
    std::fputs("vardelle-icons: cannot write the SVG icon\n", stderr);
    return 1;
  }
  return 0;
}
