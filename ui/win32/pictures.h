// The window's pictures, from the program's bitmap resources, and its font. Both are made
// once and kept for the whole process, since every window of a run (and of a test program)
// shows the same ones. A resource that is missing gives no picture: nothing is drawn.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace vardelle::win32 {

struct WindowPictures {
  HIMAGELIST rowIcons = nullptr;     // 12 px state icons in RowIcon order, RowIcons(96)
  HIMAGELIST tabIcons = nullptr;     // 16 px, one per page
  HIMAGELIST refreshIcon = nullptr;  // 24 px, the test button's
  HBITMAP logo = nullptr;            // premultiplied for AlphaBlend
  HBITMAP donationQr = nullptr;
};

const WindowPictures& Pictures();

// 宋体 at 12 pixels at 96 DPI, scaled to dpi: SimSun where installed, else Microsoft YaHei;
// neither installed, the font mapper picks a face for the Chinese character set, whatever
// the system's locale. Each DPI's font is made once.
HFONT SongTiFont(int dpi = 96);

// The 12-pixel state icons in RowIcon order, each in the middle of an image as tall as a line
// of SongTiFont(dpi): the list puts a row's icon at the top of its row. Made once per DPI.
HIMAGELIST RowIcons(int dpi);

// The picture scaled into place, its transparent parts showing what is below.
void DrawPicture(HDC dc, HBITMAP picture, const RECT& place);

}  // namespace vardelle::win32
