#include "ui/qt/layout.h"

#include <QString>

#include "ui/qt/donation_qr.h"
#include "ui/qt/pictures.h"

namespace vardelle::ui {

QImage PictureOf(LayoutPicture picture) {
  switch (picture) {
    case LayoutPicture::kRefresh:
      return RefreshPicture(24);
    case LayoutPicture::kLogo:
      return GlobePicture(96);
    case LayoutPicture::kDonationQr:
      return DonationPicture();
    case LayoutPicture::kNone:
      break;
  }
  return {};
}

QImage PageIconOf(PageIcon icon) {
  switch (icon) {
    case PageIcon::kGlobalPing:
      return PieChartPicture(16);
    case PageIcon::kHelp:
      return SpeechBubblePicture(16);
    case PageIcon::kServers:
      break;
  }
  return GlobePicture(16);
}

QFont SongTiFont() {
  QFont font;
  font.setFamilies({QString::fromUtf16(u"宋体"), QStringLiteral("SimSun"),
                    QStringLiteral("WenQuanYi Micro Hei")});
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace vardelle::ui
