#include "ui/win32/pictures.h"

#include <cstdint>
#include <cwchar>
#include <vector>

#include "ui/win32/layout.h"
#include "ui/win32/resources/resource_ids.h"

namespace vardelle::win32 {
namespace {

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
      ImageListOf({IDB_ROW_ICONS}, 12),     ImageListOf(TabIconIds(), 16),
      ImageListOf({IDB_REFRESH}, 24),       PremultipliedBitmap(IDB_LOGO),
      PremultipliedBitmap(IDB_DONATION_QR),
  };
  return pictures;
}

HFONT SongTiFont() {
  static const HFONT font =
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, SongTiFace());
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
