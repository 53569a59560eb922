// The Win32 window at the DPIs players run Windows at, each told to it by WM_DPICHANGED as
// Windows tells a window moved to a screen of another DPI: every control's text whole in
// its own font and every control inside the window, the server table's columns beside its
// scroll bar with no sideways scrolling, and a larger window growing the pages and tables
// with the bottom row kept at the bottom. The pictures drawn for that DPI, shown at their
// size, and those of the DPI before released; the dialogs and the mini view laid anew at it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application/application.h"
#include "app/settings_dialog/settings_dialog.h"
#include "app/table/server_table.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/alert_dialog.h"
#include "ui/win32/controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/pictures.h"
#include "ui/win32/settings_dialog.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

// The place of a window in the main window's client area.
RECT PlaceInWindow(HWND control, HWND window) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

SIZE ClientSize(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  return SIZE{client.right, client.bottom};
}

SIZE TextExtent(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size;
}

// What a control shows of its text: no line ends, no link markup.
std::wstring ShownText(const std::wstring& text) {
  std::wstring shown;
  bool inMarkup = false;
  for (const wchar_t c : text) {
    if (c == L'<' || c == L'>') {
      inMarkup = c == L'<';
    } else if (!inMarkup && c != L'\r' && c != L'\n') {
      shown += c;
    }
  }
  return shown;
}

std::wstring ComboItem(HWND combo, int index) {
  std::wstring text(64, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  return text.c_str();
}

// The help page's labels with the project's address are measured for 宋体; Wine's stand-in
// faces draw Latin letters wider (and one of them measures Chinese ones narrower than it draws
// them), so only their room's growth with the DPI is checked.
constexpr ControlId kAddressLabels[] = {kDonationLinkId, kUpdateLabelId, kCopyrightLabelId};

bool HoldsAddress(ControlId id) {
  return std::ranges::find(kAddressLabels, id) != std::end(kAddressLabels);
}

// The room a control gives its text, and the texts it shows there.
struct TextRoom {
  SIZE room;
  std::vector<std::wstring> texts;
};

// A drop-down list's selection field, and every item it may show there.
TextRoom DropDownRoom(HWND control) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(control, &info);
  TextRoom room{{info.rcItem.right - info.rcItem.left, info.rcItem.bottom - info.rcItem.top}, {}};
  const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) room.texts.push_back(ComboItem(control, i));
  return room;
}

TextRoom RoomOf(const ControlLayout& layout, HWND control) {
  switch (layout.kind) {
    case ControlKind::kDropDown:
      return DropDownRoom(control);
    case ControlKind::kButton: {
      // The picture beside the caption takes its width and margin from the room.
      BUTTON_IMAGELIST images{};
      SendMessageW(control, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
      int pictureWidth = 0;
      int pictureHeight = 0;
      if (images.himl) ImageList_GetIconSize(images.himl, &pictureWidth, &pictureHeight);
      const SIZE client = ClientSize(control);
      return {{client.cx - pictureWidth - images.margin.left, client.cy}, {layout.caption}};
    }
    case ControlKind::kLabel:
    case ControlKind::kTransparentLabel:
    case ControlKind::kLink:
      if (!layout.paragraphs && !HoldsAddress(layout.id)) {
        return {ClientSize(control), {ShownText(layout.caption)}};
      }
      break;
    default:
      break;
  }
  return {};
}

std::wstring ColumnCaption(HWND list, int column) {
  wchar_t caption[64] = {};
  LVCOLUMNW entry{};
  entry.mask = LVCF_TEXT;
  entry.pszText = caption;
  entry.cchTextMax = static_cast<int>(std::size(caption));
  SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
  return caption;
}

// A text of a control beside the room the control gives it.
struct TextFit {
  ControlId id;
  SIZE extent;
  SIZE room;
};

std::vector<TextFit> TextFits(HWND tabs) {
  std::vector<TextFit> fits;
  for (const ControlLayout& layout : ControlLayouts()) {
    HWND control = GetDlgItem(tabs, layout.id);
    const TextRoom room = RoomOf(layout, control);
    for (const std::wstring& text : room.texts) {
      fits.push_back({layout.id, TextExtent(control, text), room.room});
    }
  }
  return fits;
}

// WM_DPICHANGED as Windows sends it to a window moved to a screen of dpi: the window's size
// scaled from the DPI it was at, its corner kept.
void SendDpiChange(HWND target, int from, int dpi) {
  RECT suggested{};
  GetWindowRect(target, &suggested);
  suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, dpi, from);
  suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, dpi, from);
  SendMessageW(target, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DpiWindowTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(events, settings.Path());
    window->Show();
    if (GetParam() != window->Dpi()) ChangeDpi(GetParam());
    ASSERT_EQ(window->Dpi(), GetParam());
  }

  void ChangeDpi(int dpi) { SendDpiChange(Handle(), window->Dpi(), dpi); }

  HWND Handle() const { return window->Handle(); }
  HWND Control(ControlId id) const { return GetDlgItem(window->Tabs(), id); }

  testing::TemporarySettings settings;
  testing::RecordingEvents events;
  std::unique_ptr<MainWindow> window;
};

TEST_P(DpiWindowTest, EveryTextShowsWholeInsideTheWindow) {
  RECT client{};
  GetClientRect(Handle(), &client);
  for (const ControlLayout& layout : ControlLayouts()) {
    const RECT place = PlaceInWindow(Control(layout.id), Handle());
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                place.bottom <= client.bottom)
        << layout.id << " at " << place.left << "," << place.top << "," << place.right << ","
        << place.bottom << " in " << client.right << "x" << client.bottom;
  }
  for (const TextFit& fit : TextFits(window->Tabs())) {
    EXPECT_LE(fit.extent.cx, fit.room.cx) << fit.id;
    EXPECT_LE(fit.extent.cy, fit.room.cy) << fit.id;
  }
  for (const ControlId id : kAddressLabels) {
    EXPECT_GE(ClientSize(Control(id)).cx, ScaledToDpi(LayoutOf(id).place.width, GetParam())) << id;
  }
  // Every shown column's caption within its width, beside the header's margins.
  const int margins = 2 * MulDiv(6, GetParam(), 96);
  for (HWND list : {window->ServerTable().Handle(), window->KeyList().Handle()}) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
      const int width = testing::ColumnWidth(list, column);
      if (width == 0) continue;  // hidden
      EXPECT_LE(TextExtent(header, ColumnCaption(list, column)).cx + margins, width) << column;
    }
    // The state icons' images are as tall as a line, which centres them in their rows.
    int iconWidth = 0;
    int iconHeight = 0;
    ImageList_GetIconSize(
        reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
        &iconWidth, &iconHeight);
    EXPECT_GE(iconHeight, TextExtent(list, L"服").cy);
  }
}

// With rows enough for the vertical scroll bar.
TEST_P(DpiWindowTest, ServerColumnsFitBesideTheScrollBar) {
  HWND list = window->ServerTable().Handle();
  for (int row = 0; row < 80; ++row)
    window->ServerTable().AppendRow(L"电信01区", RowIcon::kNotTested);
  int columns = 0;
  for (int column = 0; column < kLocationColumn + 1; ++column) {
    columns += testing::ColumnWidth(list, column);
  }
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  EXPECT_NE(style & WS_VSCROLL, 0);
  EXPECT_EQ(style & WS_HSCROLL, 0);
  EXPECT_LE(columns, ClientSize(list).cx);
}

SIZE IconSize(HIMAGELIST list) {
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(list, &width, &height);
  return SIZE{width, height};
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  return SIZE{size.bmWidth, size.bmHeight};
}

// Pixels neither black nor white: none in a QR code drawn for its size, many in one scaled.
int GreyPixels(HBITMAP bitmap) {
  DIBSECTION section{};
  if (GetObjectW(bitmap, sizeof section, &section) != sizeof section) return -1;
  const auto* pixel = static_cast<const BYTE*>(section.dsBm.bmBits);
  int greys = 0;
  for (long i = 0; i < static_cast<long>(section.dsBm.bmWidth) * section.dsBm.bmHeight; ++i) {
    greys += pixel[4 * i] != 0 && pixel[4 * i] != 255;
  }
  return greys;
}

// The GDI objects behind a set of pictures: each image list's bitmap and the two bitmaps.
std::vector<HGDIOBJ> GdiObjectsOf(const WindowPictures& pictures) {
  std::vector<HGDIOBJ> objects{pictures.Logo(), pictures.DonationQr()};
  for (HIMAGELIST list : {pictures.RowIcons(), pictures.TabIcons(), pictures.RefreshIcon()}) {
    IMAGEINFO info{};
    ImageList_GetImageInfo(list, 0, &info);
    objects.push_back(info.hbmImage);
  }
  return objects;
}

TEST_P(DpiWindowTest, PicturesAreDrawnForTheDpiAndShownAtTheirSize) {
  const int dpi = GetParam();
  const auto side = [dpi](int layoutSide) {
    return SIZE{ScaledToDpi(layoutSide, dpi), ScaledToDpi(layoutSide, dpi)};
  };
  const auto same = [](SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; };
  const auto tabIcons =
      reinterpret_cast<HIMAGELIST>(SendMessageW(window->Tabs(), TCM_GETIMAGELIST, 0, 0));
  EXPECT_TRUE(same(IconSize(tabIcons), side(16)));
  EXPECT_EQ(ImageList_GetImageCount(tabIcons), static_cast<int>(PageLayouts().size()));
  BUTTON_IMAGELIST button{};
  SendMessageW(Control(kTestButtonId), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&button));
  EXPECT_TRUE(same(IconSize(button.himl), side(24)));
  for (HWND list : {window->ServerTable().Handle(), window->KeyList().Handle()}) {
    const auto rowIcons =
        reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_EQ(IconSize(rowIcons).cx, side(12).cx);
    EXPECT_EQ(ImageList_GetImageCount(rowIcons), 3);
  }
  // The help page's pictures are drawn one pixel to a pixel: no scaling blurs them.
  const WindowPictures& pictures = window->Pictures();
  EXPECT_TRUE(same(BitmapSize(pictures.Logo()), side(96)));
  EXPECT_TRUE(same(BitmapSize(pictures.DonationQr()), side(150)));
  EXPECT_TRUE(same(ClientSize(Control(kLogoPictureId)), BitmapSize(pictures.Logo())));
  EXPECT_TRUE(same(ClientSize(Control(kDonationPictureId)), BitmapSize(pictures.DonationQr())));
  EXPECT_EQ(GreyPixels(pictures.DonationQr()), 0);
}

// Moved from screen to screen: each DPI's pictures replace the last's, which are released;
// on Windows the process's count of GDI objects comes back where it was.
TEST_P(DpiWindowTest, PicturesOfTheDpiBeforeAreReleased) {
  const auto gdiObjects = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
  // 168 DPI (175 %) has no set of its own: the 192 DPI one is scaled down to it.
  const int dpis[] = {120, 144, 192, 168, 96, GetParam()};
  DWORD afterFirstRound = 0;
  for (int round = 0; round < 2; ++round) {
    // The first round makes each DPI's font, which is kept for the run.
    if (round == 1) afterFirstRound = gdiObjects();
    for (const int dpi : dpis) {
      const int from = window->Dpi();
      const std::vector<HGDIOBJ> shown = GdiObjectsOf(window->Pictures());
      ChangeDpi(dpi);
      ASSERT_EQ(window->Pictures().Dpi(), dpi);
      EXPECT_EQ(BitmapSize(window->Pictures().Logo()).cx, ScaledToDpi(96, dpi));
      if (dpi == from) continue;  // kept
      for (HGDIOBJ object : shown) EXPECT_EQ(GetObjectType(object), 0u) << from << " to " << dpi;
    }
  }
  EXPECT_EQ(gdiObjects(), afterFirstRound);
}

// A dialog's controls once it is told of dpi: every one inside its client area in the font
// of dpi, and every text whole in its control.
void ExpectDialogLaidAt(HWND dialog, int dpi) {
  SendDpiChange(dialog, kLayoutDpi, dpi);
  RECT client{};
  GetClientRect(dialog, &client);
  // A check box's or radio button's text starts right of its box.
  const int boxWidth = ScaledToDpi(18, dpi);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    const RECT place = PlaceInWindow(child, dialog);
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                place.bottom <= client.bottom)
        << id << " at " << place.right << "," << place.bottom << " in " << client.right << "x"
        << client.bottom;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -ScaledToDpi(12, dpi)) << id;
    wchar_t className[32] = {};
    GetClassNameW(child, className, static_cast<int>(std::size(className)));
    const auto is = [&className](const wchar_t* kind) { return lstrcmpiW(className, kind) == 0; };
    if (is(WC_EDITW)) continue;  // scrolls its text
    TextRoom room{ClientSize(child), {WindowCaption(child)}};
    if (is(WC_COMBOBOXW)) room = DropDownRoom(child);
    const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    if (is(WC_BUTTONW) && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) {
      room.room.cx -= boxWidth;
    }
    for (const std::wstring& text : room.texts) {
      const SIZE extent = TextExtent(child, text);
      EXPECT_LE(extent.cx, room.room.cx) << id << " " << FromWindowText(text);
      EXPECT_LE(extent.cy, room.room.cy) << id << " " << FromWindowText(text);
    }
  }
}

// The dialogs open at the window's DPI, as made, and are then moved to a screen of the test's.
class DpiDialogTest : public DpiWindowTest {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(events, settings.Path());
    window->Show();
  }
};

TEST_P(DpiDialogTest, DialogsAreLaidAnewAtTheDpiTheyMoveTo) {
  const int dpi = GetParam();
  {
    testing::DialogPlayer player(ToWindowText(kAlertDialogTitle), [dpi](HWND dialog) {
      ExpectDialogLaidAt(dialog, dpi);
      testing::Click(dialog, IDCANCEL);
    });
    AskAlertWatch(Handle(), "电信一区", AlertWatch{});
    EXPECT_TRUE(player.Finish());
  }
  Application app;
  app.settingsFile = settings.Path();
  Win32MainWindowView view(*window);
  SettingsDialog logic(app, view);
  testing::DialogPlayer player(ToWindowText(kSettingsDialogTitle), [dpi](HWND dialog) {
    ExpectDialogLaidAt(dialog, dpi);
    testing::Click(dialog, IDCANCEL);
  });
  RunSettingsDialog(Handle(), logic);
  EXPECT_TRUE(player.Finish());
}

// The mini view's rows whole in the font of the DPI of the screen it is moved to.
TEST_P(DpiDialogTest, MiniViewFollowsItsScreensDpi) {
  const std::wstring name = L"电信一区 艾欧尼亚";
  NativeMiniView<std::wstring> shown;
  shown.shown = true;
  shown.place = ScreenPoint{10, 10};
  shown.rows.push_back({name, L"25ms", kDefaultColour, kDefaultColour});
  window->SetMiniView(shown);
  HWND mini = window->Mini().Handle();
  SendDpiChange(mini, window->Mini().Dpi(), GetParam());
  EXPECT_EQ(window->Mini().Dpi(), GetParam());
  HDC dc = GetDC(mini);
  HGDIOBJ previous = SelectObject(dc, SongTiFont(GetParam()));
  const std::wstring line = name + L"  25ms";
  SIZE extent{};
  GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(mini, dc);
  const SIZE client = ClientSize(mini);
  EXPECT_GE(client.cx, extent.cx);
  EXPECT_GE(client.cy, extent.cy);
  RECT place{};
  GetWindowRect(mini, &place);
  EXPECT_EQ(place.left, 10);
  EXPECT_EQ(place.top, 10);
}

// How a control follows the client area's growth: its place moves by these parts of it and
// its size grows by them.
struct Following {
  ControlId id;
  int right;
  int down;
  int wider;
  int taller;
};

constexpr Following kFollowing[] = {
    {kServerTableId, 0, 0, 1, 1}, {kKeyListId, 0, 0, 1, 1},
    {kPeriodLabelId, 0, 1, 0, 0}, {kPeriodListId, 0, 1, 0, 0},
    {kStatusLabelId, 0, 1, 1, 0}, {kKeyListStatusLabelId, 0, 1, 1, 0},
    {kTestButtonId, 1, 1, 0, 0},  {kSettingsButtonId, 1, 1, 0, 0},
    {kLogoPictureId, 0, 0, 0, 0},
};

// Wine's null display is 1024 x 768 pixels: only at 96 DPI has the window room to grow.
class GrowingWindowTest : public DpiWindowTest {};

TEST_P(GrowingWindowTest, GrowsTheTablesAndKeepsTheBottomRowAtTheBottom) {
  const auto placesNow = [this] {
    std::vector<RECT> places;
    for (const Following& control : kFollowing) {
      places.push_back(PlaceInWindow(Control(control.id), Handle()));
    }
    places.push_back(PlaceInWindow(window->Tabs(), Handle()));
    return places;
  };
  const std::vector<RECT> before = placesNow();
  const SIZE clientBefore = ClientSize(Handle());
  const auto grow = [this] {
    RECT frame{};
    GetWindowRect(Handle(), &frame);
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left + 150,
                 frame.bottom - frame.top + 100, SWP_NOMOVE | SWP_NOZORDER);
  };
  const auto maximize = [this] { ShowWindow(Handle(), SW_MAXIMIZE); };
  for (const auto& change : {std::function<void()>(grow), std::function<void()>(maximize)}) {
    change();
    const SIZE client = ClientSize(Handle());
    const int dx = client.cx - clientBefore.cx;
    const int dy = client.cy - clientBefore.cy;
    ASSERT_TRUE(dx > 0 && dy > 0) << dx << "x" << dy;
    const std::vector<RECT> after = placesNow();
    for (std::size_t i = 0; i < std::size(kFollowing); ++i) {
      const Following& how = kFollowing[i];
      const RECT& was = before[i];
      const RECT& is = after[i];
      EXPECT_EQ(is.left, was.left + how.right * dx) << how.id;
      EXPECT_EQ(is.top, was.top + how.down * dy) << how.id;
      EXPECT_EQ(is.right - is.left, was.right - was.left + how.wider * dx) << how.id;
      EXPECT_EQ(is.bottom - is.top, was.bottom - was.top + how.taller * dy) << how.id;
    }
    const RECT& tabs = after.back();
    EXPECT_EQ(tabs.right - tabs.left, before.back().right - before.back().left + dx);
    EXPECT_EQ(tabs.bottom - tabs.top, before.back().bottom - before.back().top + dy);
  }
}

INSTANTIATE_TEST_SUITE_P(LayoutDpi, GrowingWindowTest, ::testing::Values(kLayoutDpi));
std::string DpiName(const ::testing::TestParamInfo<int>& dpi) { return std::to_string(dpi.param); }

INSTANTIATE_TEST_SUITE_P(Dpis, DpiWindowTest, ::testing::Values(96, 120, 144, 192), DpiName);
INSTANTIATE_TEST_SUITE_P(Dpis, DpiDialogTest, ::testing::Values(96, 120, 144, 192), DpiName);

}  // namespace
}  // namespace vardelle::win32
