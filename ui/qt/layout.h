// The window's fixed layout (app/view/window_layout.h) in Qt's terms: places as
// rectangles, the pictures it names drawn, and the window's font.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>

#include "app/view/window_layout.h"

namespace vardelle::ui {

inline QRect RectOf(const LayoutPlace& place) {
  return QRect(place.x, place.y, place.width, place.height);
}

// Null for LayoutPicture::kNone.
QImage PictureOf(LayoutPicture picture);
// A page's 16-pixel tab icon.
QImage PageIconOf(PageIcon icon);

// "宋体" at 12 pixels, with a CJK face to fall back on where SimSun is not installed.
QFont SongTiFont();

}  // namespace vardelle::ui
