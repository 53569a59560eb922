// The window's pictures, drawn at run time so the program ships no image files.
#pragma once

#include <QImage>

#include "app/view/main_window_view.h"

namespace vardelle::ui {

// The program's logo (96 px) and the icon of the page "LOL服务器" (16 px).
QImage GlobePicture(int side);
// Icon of the page "全球Ping".
QImage PieChartPicture(int side);
// Icon of the page "帮助信息".
QImage SpeechBubblePicture(int side);
// Icon of the button "手动测速": two green arrows chasing each other round a circle.
QImage RefreshPicture(int side);
// State icon of a server table row, 12 × 12 as the table shows it (the Windows edition's
// larger screens take it larger, drawn at their side).
QImage RowIconPicture(RowIcon icon, int side = 12);
// 8 × 7 grey outline triangle of a sorted column's header; kNone gives a null image.
QImage HeaderArrowPicture(HeaderArrow arrow);

}  // namespace vardelle::ui
