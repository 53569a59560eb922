#include "ui/win32/pictures.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <map>
#include <vector>

#include "ui/win32/layout.h"
#include "ui/win32/resources/resource_ids.h"

namespace vardelle::win32 {
namespace {

constexpr int kRowIconSide = 12;
constexpr int kSongTiPixels = 12;

HBITMAP LoadBitmapResource(int id) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The resources hold straight alpha, as image lists take it; AlphaBlend wants every colour
// already multiplied by its pixel's alpha.
HBITMAP PremultipliedBitmap(int id) {
  HBITMAP bitmap = LoadBitmapResource(id);
  DIBSECTION section{};
  if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section ||
      section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits) {
    return bitmap;
  }
  auto* pixel = static_cast<std::uint8_t*>(section.dsBm.bmBits);
  const long count = section.dsBm.bmWidth * section.dsBm.bmHeight;
  for (long i = 0; i < count; ++i, pixel += 4) {
    for (int channel = 0; channel < 3; ++channel) {
      pixel[channel] = static_cast<std::uint8_t>(pixel[channel] * pixel[3] / 255);
    }
  }
  return bitmap;
}

// Each bitmap gives as many images as it is side-wide pictures.
HIMAGELIST ImageListOf(const std::vector<int>& ids, int side) {
  HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32, static_cast<int>(ids.size()), 0);
  for (const int id : ids) {
    if (HBITMAP bitmap = LoadBitmapResource(id)) {
      ImageList_Add(list, bitmap, nullptr);
      DeleteObject(bitmap);
    }
  }
  return list;
}

// The pictures of a strip as images height tall, each in the middle of its image: the list
// puts a row's icon at the top of a row as tall as the font's lines.
HIMAGELIST CentredImageList(int id, int side, int height) {
  HIMAGELIST list = ImageList_Create(side, height, ILC_COLOR32, 0, 0);
  HBITMAP strip = LoadBitmapResource(id);
  BITMAP size{};
  if (!strip || !GetObjectW(strip, sizeof size, &size)) return list;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.bmWidth;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC target = CreateCompatibleDC(nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HBITMAP tall = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
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
  DeleteObject(strip);
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

}  // namespace

const WindowPictures& Pictures() {
  static const WindowPictures pictures{
      RowIcons(kLayoutDpi),
      ImageListOf(TabIconIds(), 16),
      ImageListOf({IDB_REFRESH}, 24),
      PremultipliedBitmap(IDB_LOGO),
      PremultipliedBitmap(IDB_DONATION_QR),
  };
  return pictures;
}

HFONT SongTiFont(int dpi) {
  // Only the window's thread makes fonts; a window meets a handful of DPIs in a run.
  static std::map<int, HFONT> fonts;
  HFONT& font = fonts[dpi];
  if (!font) {
    font = CreateFontW(-ScaledToDpi(kSongTiPixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, SongTiFace());
  }
  return font;
}

HIMAGELIST RowIcons(int dpi) {
  // Only the window's thread makes them, as the fonts.
  static std::map<int, HIMAGELIST> lists;
  HIMAGELIST& list = lists[dpi];
  if (!list) {
    list = CentredImageList(IDB_ROW_ICONS, kRowIconSide,
                            std::max(kRowIconSide, LineHeight(SongTiFont(dpi))));
  }
  return list;
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
