// Resource numbers of vardelle.exe, shared by the window's C++ code and vardelle.rc.
#ifndef VARDELLE_UI_WIN32_RESOURCES_RESOURCE_IDS_H
#define VARDELLE_UI_WIN32_RESOURCES_RESOURCE_IDS_H

// ICON: the globe logo, 16..256 px.
#define IDI_VARDELLE 100
// 16 px globe (GlobePicture(16)), icon of tab "LOL服务器".
#define IDB_TAB_SERVERS 201
// 16 px pie chart (PieChartPicture(16)), tab "全球Ping".
#define IDB_TAB_GLOBAL 202
// 16 px speech bubble (SpeechBubblePicture(16)), tab "帮助信息".
#define IDB_TAB_HELP 203
// 24 px RefreshPicture(24), button "手动测速".
#define IDB_REFRESH 204
// 36 × 12 strip of the 12 px RowIconPicture in RowIcon order (answered, no answer, not tested).
#define IDB_ROW_ICONS 205
// 96 px globe, 图片框1 on the help page.
#define IDB_LOGO 207
// 150 px donation QR code: DrawQr(EncodeQr(<the same text DonationPicture uses>), 150).
#define IDB_DONATION_QR 208

// The pictures above are their 96 DPI set's, at the sides given; the set for the n-th DPI of
// picture_sets.h (from 0) is drawn at those sides scaled to it, numbered + n * IDB_SET_STEP.
#define IDB_SET_STEP 1000

#endif  // VARDELLE_UI_WIN32_RESOURCES_RESOURCE_IDS_H
