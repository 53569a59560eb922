// The drawn pictures: sizes, colours and orientation that the table and tabs rely on, and
// a donation QR code that a reader decodes back to the project's page.
#include "ui/qt/pictures.h"

#include <gtest/gtest.h>

#include <QColor>
#include <optional>

#include "app/view/project_links.h"
#include "ui/qt/donation_qr.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

QColor Centre(const QImage& image) {
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

int OpaqueInRow(const QImage& image, int y) {
  int count = 0;
  for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).alpha() > 128;
  return count;
}

TEST(PicturesTest, SizesOfEveryPicture) {
  testing::TestApplication();
  EXPECT_EQ(GlobePicture(96).size(), QSize(96, 96));
  EXPECT_EQ(GlobePicture(16).size(), QSize(16, 16));
  EXPECT_EQ(PieChartPicture(16).size(), QSize(16, 16));
  EXPECT_EQ(SpeechBubblePicture(16).size(), QSize(16, 16));
  EXPECT_EQ(RefreshPicture(24).size(), QSize(24, 24));
  for (RowIcon icon : {RowIcon::kAnswered, RowIcon::kNoAnswer, RowIcon::kNotTested}) {
    EXPECT_EQ(RowIconPicture(icon).size(), QSize(12, 12));
  }
  EXPECT_EQ(HeaderArrowPicture(HeaderArrow::kUp).size(), QSize(8, 7));
  EXPECT_TRUE(HeaderArrowPicture(HeaderArrow::kNone).isNull());
}

TEST(PicturesTest, RowIconsAreGreenGreyAndYellowByIndex) {
  const QColor answered = Centre(RowIconPicture(RowIcon::kAnswered));
  EXPECT_GT(answered.green(), answered.red() + 60);
  EXPECT_GT(answered.green(), answered.blue() + 60);
  const QColor silent = Centre(RowIconPicture(RowIcon::kNoAnswer));
  EXPECT_LT(std::abs(silent.red() - silent.green()) + std::abs(silent.green() - silent.blue()), 12);
  const QColor untested = Centre(RowIconPicture(RowIcon::kNotTested));
  EXPECT_GT(untested.red(), 180);
  EXPECT_GT(untested.green(), 150);
  EXPECT_LT(untested.blue(), 100);
}

TEST(PicturesTest, HeaderArrowsAreGreyOutlinesPointingUpThenDown) {
  const QImage up = HeaderArrowPicture(HeaderArrow::kUp);
  const QImage down = HeaderArrowPicture(HeaderArrow::kDown);
  EXPECT_LT(OpaqueInRow(up, 0), OpaqueInRow(up, 6));
  EXPECT_GT(OpaqueInRow(down, 0), OpaqueInRow(down, 6));
  for (const QImage& arrow : {up, down}) {
    EXPECT_EQ(arrow.pixelColor(4, 3).alpha(), 0) << "an outline, hollow inside";
    for (int y = 0; y < arrow.height(); ++y) {
      for (int x = 0; x < arrow.width(); ++x) {
        const QColor pixel = arrow.pixelColor(x, y);
        if (pixel.alpha() == 0) continue;
        EXPECT_TRUE(pixel.red() == pixel.green() && pixel.green() == pixel.blue()) << x << "," << y;
      }
    }
  }
}

TEST(PicturesTest, TabIconsAndLogoAreDrawnWithTransparentCorners) {
  for (const QImage& picture : {GlobePicture(96), GlobePicture(16), PieChartPicture(16),
                                SpeechBubblePicture(16), RefreshPicture(24)}) {
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y) opaque += OpaqueInRow(picture, y);
    EXPECT_GT(opaque, picture.width() * picture.height() / 5);
  }
  const QColor sea = Centre(GlobePicture(96));
  EXPECT_GT(sea.blue(), sea.red());
}

// A reader for the small single-block codes (versions 1 to 3, level M) that a short
// address needs: finds the module grid in the picture, checks the format information and
// reads the 8-bit data.
class QrReader {
 public:
  explicit QrReader(const QImage& picture) : picture_(picture) { FindGrid(); }

  int Size() const { return size_; }
  bool Dark(int x, int y) const {
    const QPoint centre(origin_.x() + x * module_ + module_ / 2,
                        origin_.y() + y * module_ + module_ / 2);
    return qGray(picture_.pixel(centre)) < 128;
  }

  std::optional<std::string> Decode() const {
    const std::optional<int> format = FormatBits();
    if (!format || (*format >> 3) != 0) return std::nullopt;  // error correction level M
    const int mask = *format & 7;
    const int version = (size_ - 17) / 4;
    static const int kDataCodewords[] = {0, 16, 28, 44};
    if (version < 1 || version > 3) return std::nullopt;
    std::vector<int> bits = DataBits(mask);
    bits.resize(static_cast<size_t>(kDataCodewords[version] * 8));
    size_t at = 0;
    auto take = [&](int count) {
      int value = 0;
      for (int i = 0; i < count; ++i) value = value << 1 | bits.at(at++);
      return value;
    };
    if (take(4) != 0b0100) return std::nullopt;
    const int length = take(8);
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>(take(8));
    return text;
  }

 private:
  void FindGrid() {
    for (int y = 0; y < picture_.height() && origin_.x() < 0; ++y) {
      for (int x = 0; x < picture_.width(); ++x) {
        if (qGray(picture_.pixel(x, y)) < 128) {
          origin_ = QPoint(x, y);
          break;
        }
      }
    }
    int finder = 0;  // the top-left finder's top edge is 7 modules of dark
    while (qGray(picture_.pixel(origin_.x() + finder, origin_.y())) < 128) ++finder;
    module_ = finder / 7;
    int right = picture_.width() - 1;
    while (qGray(picture_.pixel(right, origin_.y())) >= 128) --right;
    size_ = (right - origin_.x() + 1) / module_;
  }

  std::optional<int> FormatBits() const {
    int bits = 0;
    auto put = [&](int i, int x, int y) { bits |= int{Dark(x, y)} << i; };
    for (int i = 0; i <= 5; ++i) put(i, 8, i);
    put(6, 8, 7);
    put(7, 8, 8);
    put(8, 7, 8);
    for (int i = 9; i < 15; ++i) put(i, 14 - i, 8);
    bits ^= 0x5412;
    const int data = bits >> 10;
    int remainder = data;
    for (int i = 0; i < 10; ++i) remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    if ((data << 10 | remainder) != bits) return std::nullopt;
    return data;
  }

  bool IsFunction(int x, int y) const {
    const int far = size_ - 8;
    const bool finder = (x < 9 && y < 9) || (x >= far && y < 9) || (x < 9 && y >= far);
    const bool alignment =
        size_ > 21 && std::abs(x - (size_ - 7)) <= 2 && std::abs(y - (size_ - 7)) <= 2;
    return finder || alignment || x == 6 || y == 6;
  }

  static bool Masked(int mask, int x, int y) {
    switch (mask) {
      case 0:
        return (x + y) % 2 == 0;
      case 1:
        return y % 2 == 0;
      case 2:
        return x % 3 == 0;
      case 3:
        return (x + y) % 3 == 0;
      case 4:
        return (x / 3 + y / 2) % 2 == 0;
      case 5:
        return x * y % 2 + x * y % 3 == 0;
      case 6:
        return (x * y % 2 + x * y % 3) % 2 == 0;
      default:
        return ((x + y) % 2 + x * y % 3) % 2 == 0;
    }
  }

  // The data modules in placement order: two-module columns from the right, up and down.
  std::vector<int> DataBits(int mask) const {
    std::vector<int> bits;
    for (int right = size_ - 1; right >= 1; right -= 2) {
      if (right == 6) right = 5;
      const bool upward = ((right + 1) & 2) == 0;
      for (int step = 0; step < size_; ++step) {
        const int y = upward ? size_ - 1 - step : step;
        for (int x : {right, right - 1}) {
          if (!IsFunction(x, y)) bits.push_back(Dark(x, y) != Masked(mask, x, y));
        }
      }
    }
    return bits;
  }

  QImage picture_;
  QPoint origin_{-1, -1};
  int module_ = 0;
  int size_ = 0;
};

TEST(DonationQrTest, PictureDecodesToTheProjectPage) {
  const QImage picture = DonationPicture();
  ASSERT_EQ(picture.size(), QSize(kDonationPictureSide, kDonationPictureSide));
  const QrReader reader(picture);
  EXPECT_EQ(reader.Decode(), std::optional<std::string>(kProjectPage));
}

TEST(DonationQrTest, EveryModuleIsDrawnInsideAQuietZone) {
  const QrModules modules = EncodeQr(kProjectPage);
  ASSERT_GT(modules.width, 0);
  const QImage picture = DrawQr(modules, kDonationPictureSide);
  const QrReader reader(picture);
  ASSERT_EQ(reader.Size(), modules.width);
  for (int y = 0; y < modules.width; ++y) {
    for (int x = 0; x < modules.width; ++x)
      EXPECT_EQ(reader.Dark(x, y), modules.IsDark(x, y)) << x << "," << y;
  }
  // Four light modules all round, the width of the finder's module.
  const int module = kDonationPictureSide / (modules.width + 8);
  const QRect code((kDonationPictureSide - module * modules.width) / 2,
                   (kDonationPictureSide - module * modules.width) / 2, module * modules.width,
                   module * modules.width);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (!code.adjusted(-4 * module, -4 * module, 4 * module, 4 * module).contains(x, y) ||
          code.contains(x, y)) {
        continue;
      }
      ASSERT_EQ(picture.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace vardelle::ui
