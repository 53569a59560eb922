#include "ui/win32/pictures.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <map>
#include <vector>

#include "ui/win32/layout.h"
#include "ui/win32/resources/picture_sets.h"
#include "ui/win32/resources/resource_ids.h"

namespace vardelle::win32 {
namespace {

// The pictures' sides at 96 DPI.
constexpr int kRowIconSide = 12;
constexpr int kTabIconSide = 16;
constexpr int kRefreshSide = 24;
constexpr int kLogoSide = 96;
constexpr int kDonationQrSide = 150;
constexpr int kRowIconCount = 3;
constexpr int kSongTiPixels = 12;

// The number of dpi's picture in the set drawn for the nearest DPI at or above it.
int SetResourceId(int id, int dpi) {
  const auto set = std::ranges::find_if(kPictureSetDpis, [dpi](int drawn) { return drawn >= dpi; });
  const auto index = set == std::end(kPictureSetDpis) ? std::ssize(kPictureSetDpis) - 1
                                                      : set - std::begin(kPictureSetDpis);
  return id + static_cast<int>(index) * IDB_SET_STEP;
}

HBITMAP LoadBitmapResource(int id) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// A 32-bit picture's pixels: blue, green, red, alpha, in its rows' order.
struct Pixels {
  int width = 0;
  int height = 0;
  std::uint8_t* bytes = nullptr;
};

Pixels PixelsOf(HBITMAP bitmap) {
  DIBSECTION section{};
  if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section ||
      section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits) {
    return {};
  }
  return {section.dsBm.bmWidth, section.dsBm.bmHeight,
          static_cast<std::uint8_t*>(section.dsBm.bmBits)};
}

// A 32-bit section of that size, bottom-up as the resources' are, all transparent.
HBITMAP BlankBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The source pixels one target pixel covers along an axis, with the part of each it covers.
struct Cover {
  int from;
  double part;
};

std::vector<std::vector<Cover>> Covers(int source, int target) {
  std::vector<std::vector<Cover>> covers(static_cast<std::size_t>(target));
  const double step = static_cast<double>(source) / target;
  for (int i = 0; i < target; ++i) {
    const double begin = i * step;
    const double end = begin + step;
    for (int from = static_cast<int>(begin); from < source && from < end; ++from) {
      const double part = std::min(end, from + 1.0) - std::max(begin, static_cast<double>(from));
      if (part > 0) covers[static_cast<std::size_t>(i)].push_back({from, part});
    }
  }
  return covers;
}

// Each target pixel the average of the source area it covers, weighed by alpha so that
// transparent pixels lend no colour; straight alpha in and out.
void Resample(const Pixels& source, const Pixels& target) {
  const auto columns = Covers(source.width, target.width);
  const auto rows = Covers(source.height, target.height);
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      double sums[4] = {};
      double area = 0;
      for (const Cover& row : rows[static_cast<std::size_t>(y)]) {
        for (const Cover& column : columns[static_cast<std::size_t>(x)]) {
          const std::uint8_t* pixel = source.bytes + 4 * (row.from * source.width + column.from);
          const double part = row.part * column.part;
          for (int channel = 0; channel < 3; ++channel) {
            sums[channel] += part * pixel[channel] * pixel[3];
          }
          sums[3] += part * pixel[3];
          area += part;
        }
      }
      std::uint8_t* out = target.bytes + 4 * (y * target.width + x);
      for (int channel = 0; channel < 3; ++channel) {
        out[channel] = static_cast<std::uint8_t>(sums[3] > 0 ? sums[channel] / sums[3] + 0.5 : 0);
      }
      out[3] = static_cast<std::uint8_t>(sums[3] / area + 0.5);
    }
  }
}

// dpi's picture of the resource numbered id at 96 DPI, width x height pixels.
HBITMAP LoadPicture(int id, int dpi, int width, int height) {
  HBITMAP drawn = LoadBitmapResource(SetResourceId(id, dpi));
  const Pixels source = PixelsOf(drawn);
  if (!source.bytes || (source.width == width && source.height == height)) return drawn;
  HBITMAP scaled = BlankBitmap(width, height);
  const Pixels target = PixelsOf(scaled);
  if (target.bytes) Resample(source, target);
  DeleteObject(drawn);
  return scaled;
}

HBITMAP LoadSquarePicture(int id, int dpi, int side) {
  const int scaled = ScaledToDpi(side, dpi);
  return LoadPicture(id, dpi, scaled, scaled);
}

// AlphaBlend wants every colour already multiplied by its pixel's alpha.
HBITMAP Premultiplied(HBITMAP bitmap) {
  const Pixels pixels = PixelsOf(bitmap);
  std::uint8_t* pixel = pixels.bytes;
  for (long i = 0; pixel && i < static_cast<long>(pixels.width) * pixels.height; ++i, pixel += 4) {
    for (int channel = 0; channel < 3; ++channel) {
      pixel[channel] = static_cast<std::uint8_t>(pixel[channel] * pixel[3] / 255);
    }
  }
  return bitmap;
}

// Each bitmap gives as many images as it is side-wide pictures; image lists take straight
// alpha.
HIMAGELIST ImageListOf(const std::vector<int>& ids, int side, int dpi) {
  const int scaled = ScaledToDpi(side, dpi);
  HIMAGELIST list = ImageList_Create(scaled, scaled, ILC_COLOR32, static_cast<int>(ids.size()), 0);
  for (const int id : ids) {
    if (HBITMAP bitmap = LoadSquarePicture(id, dpi, side)) {
      ImageList_Add(list, bitmap, nullptr);
      DeleteObject(bitmap);
    }
  }
  return list;
}

// The pictures of a strip as images height tall, each in the middle of its image: the list
// puts a row's icon at the top of a row as tall as the font's lines.
HIMAGELIST CentredImageList(HBITMAP strip, int side, int height) {
  HIMAGELIST list = ImageList_Create(side, height, ILC_COLOR32, 0, 0);
  BITMAP size{};
  if (!strip || !GetObjectW(strip, sizeof size, &size)) return list;
  HBITMAP tall = BlankBitmap(size.bmWidth, height);
  HDC target = CreateCompatibleDC(nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ previousTarget = SelectObject(target, tall);
  HGDIOBJ previousSource = SelectObject(source, strip);
  // A fresh section is all zero: transparent above and below the pictures.
  BitBlt(target, 0, (height - size.bmHeight) / 2, size.bmWidth, size.bmHeight, source, 0, 0,
         SRCCOPY);
  SelectObject(source, previousSource);
  SelectObject(target, previousTarget);
  DeleteDC(source);
  DeleteDC(target);
  ImageList_Add(list, tall, nullptr);
  DeleteObject(tall);
  return list;
}

int LineHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return static_cast<int>(metrics.tmHeight);
}

std::vector<int> TabIconIds() {
  std::vector<int> ids;
  for (const PageLayout& page : PageLayouts()) ids.push_back(page.iconId);
  return ids;
}

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

const wchar_t* SongTiFace() {
  for (const wchar_t* face : {L"SimSun", L"Microsoft YaHei"}) {
    if (FaceInstalled(face)) return face;
  }
  return L"SimSun";
}

HIMAGELIST RowIconList(int dpi) {
  const int side = ScaledToDpi(kRowIconSide, dpi);
  HBITMAP strip = LoadPicture(IDB_ROW_ICONS, dpi, kRowIconCount * side, side);
  HIMAGELIST list = CentredImageList(strip, side, std::max(side, LineHeight(SongTiFont(dpi))));
  if (strip) DeleteObject(strip);
  return list;
}

}  // namespace

WindowPictures::WindowPictures(int dpi)
    : dpi_(dpi),
      rowIcons_(RowIconList(dpi)),
      tabIcons_(ImageListOf(TabIconIds(), kTabIconSide, dpi)),
      refreshIcon_(ImageListOf({IDB_REFRESH}, kRefreshSide, dpi)),
      logo_(Premultiplied(LoadSquarePicture(IDB_LOGO, dpi, kLogoSide))),
      donationQr_(Premultiplied(LoadSquarePicture(IDB_DONATION_QR, dpi, kDonationQrSide))) {}

WindowPictures::~WindowPictures() {
  for (HIMAGELIST list : {rowIcons_, tabIcons_, refreshIcon_}) {
    if (list) ImageList_Destroy(list);
  }
  for (HBITMAP bitmap : {logo_, donationQr_}) {
    if (bitmap) DeleteObject(bitmap);
  }
}

HFONT SongTiFont(int dpi) {
  // Only the window's thread makes fonts; a window meets a handful of DPIs in a run.
  static std::map<int, HFONT> fonts;
  HFONT& font = fonts[dpi];
  // Wine's link control deletes the font it was given when it is destroyed: one found gone
  // is made again.
  if (!font || GetObjectType(font) != OBJ_FONT) {
    font = CreateFontW(-ScaledToDpi(kSongTiPixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, SongTiFace());
  }
  return font;
}

void DrawPicture(HDC dc, HBITMAP picture, const RECT& place) {
  BITMAP size{};
  if (!picture || !GetObjectW(picture, sizeof size, &size)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, picture);
  SetStretchBltMode(dc, HALFTONE);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, source,
             0, 0, size.bmWidth, size.bmHeight, blend);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace vardelle::win32
