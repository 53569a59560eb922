// The window's pictures, from the program's bitmap resources, and its font. The pictures are
// drawn at build time for a few DPIs (resources/picture_sets.h); a window keeps those of its
// own DPI and swaps them for another's when it moves to a screen of that DPI. A resource
// that is missing gives no picture: nothing is drawn.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace vardelle::win32 {

// The pictures at the sides dpi asks for: from the set drawn for the nearest DPI at or above
// it (the largest set above them all), scaled when that set was drawn for another DPI. The
// handles are released with the object; the controls that show them must be given others
// first.
class WindowPictures {
 public:
  explicit WindowPictures(int dpi);
  ~WindowPictures();
  WindowPictures(const WindowPictures&) = delete;
  WindowPictures& operator=(const WindowPictures&) = delete;

  int Dpi() const { return dpi_; }
  // The 12 px state icons (at 96 DPI) in RowIcon order, each in the middle of an image as tall
  // as a line of SongTiFont(dpi): the list puts a row's icon at the top of its row.
  HIMAGELIST RowIcons() const { return rowIcons_; }
  HIMAGELIST TabIcons() const { return tabIcons_; }        // 16 px at 96 DPI, one per page
  HIMAGELIST RefreshIcon() const { return refreshIcon_; }  // 24 px at 96 DPI, the test button's
  HBITMAP Logo() const { return logo_; }                   // 96 px at 96 DPI, premultiplied
  HBITMAP DonationQr() const { return donationQr_; }       // 150 px at 96 DPI

 private:
  int dpi_;
  HIMAGELIST rowIcons_;
  HIMAGELIST tabIcons_;
  HIMAGELIST refreshIcon_;
  HBITMAP logo_;
  HBITMAP donationQr_;
};

// 宋体 at 12 pixels at 96 DPI, scaled to dpi: SimSun where installed, else Microsoft YaHei;
// neither installed, the font mapper picks a face for the Chinese character set, whatever
// the system's locale. Each DPI's font is made once.
HFONT SongTiFont(int dpi = 96);

// The picture drawn into place, its transparent parts showing what is below; scaled when
// its size is not the place's.
void DrawPicture(HDC dc, HBITMAP picture, const RECT& place);

}  // namespace vardelle::win32
