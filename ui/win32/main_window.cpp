#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/alerts/alert_watching.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/resources/resource_ids.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"VardelleMainWindow";
constexpr UINT_PTR kTabsSubclassId = 3;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

enum TrayMenuItem : UINT { kTrayShowWindowItem = 1, kTrayQuitItem, kTrayMiniViewItem, kTrayClickThroughItem };

// Sent to every top-level window when the shell's notification area is made anew.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

HICON WindowIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VARDELLE),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void PrepareCommonControls() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                   ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                   ICC_LINK_CLASS};
  InitCommonControlsEx(&classes);
}

void RegisterWindowClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = WindowIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = WindowIcon(GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

// The controls sit on the tab control, which would keep their messages to itself: those
// of the layout's controls go on to the main window.
LRESULT CALLBACK TabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
  bool forward = false;
  switch (message) {
    case WM_NOTIFY:
      forward = FindLayout(static_cast<int>(reinterpret_cast<const NMHDR*>(lParam)->idFrom));
      break;
    case WM_COMMAND:
      forward = FindLayout(LOWORD(wParam)) != nullptr || LOWORD(wParam) == kTableGuideButtonId;
      break;
    case WM_CTLCOLORSTATIC:
      forward = true;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(tabs, TabsProc, kTabsSubclassId);
      break;
    default:
      break;
  }
  return forward ? SendMessageW(GetParent(tabs), message, wParam, lParam)
                 : DefSubclassProc(tabs, message, wParam, lParam);
}

// The mouse position moved by (dx, dy), in screen coordinates.
POINT CursorMovedBy(int dx, int dy) {
  POINT cursor{};
  GetCursorPos(&cursor);
  return POINT{cursor.x + dx, cursor.y + dy};
}

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB:
      return Key::kTab;
    case VK_RETURN:
      return Key::kEnter;
    case VK_SPACE:
      return Key::kSpace;
    case VK_F5:
      return Key::kF5;
    default:
      return Key::kOther;
  }
}

}  // namespace

void PeriodTimer::SetPeriod(int milliseconds) {
  if (milliseconds == period_) return;
  KillTimer(window_, kTimerId);
  period_ = milliseconds;
  if (milliseconds > 0) SetTimer(window_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
}

MainWindow::MainWindow(MainWindowEvents& events, Text settingsPath) : events_(events) {
  PrepareCommonControls();
  RegisterWindowClass(WindowProc);
  CreateWindowExW(0, kWindowClass, ToWindowText(kWindowTitle).c_str(), kWindowStyle, kWindowPlace.x,
                  kWindowPlace.y, kWindowPlace.width, kWindowPlace.height, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  calls_ = std::make_shared<WindowThreadCalls>(window_, kRunPostedCallMessage, *this);
  timer_ = PeriodTimer(window_);
  tray_ = std::make_unique<TrayIcon>(window_);
  miniView_ = std::make_unique<MiniView>(events);
  tabs_ = CreateTabs();
  serverPage_ = std::make_unique<ServerPage>(tabs_, events, std::move(settingsPath));
  globalPingPage_ = std::make_unique<GlobalPingPage>(tabs_, events);
  helpPage_ = std::make_unique<HelpPage>(tabs_, events);
  // Made at the layout's DPI, they take the window's once they all exist.
  TakeDpi(DpiOf(window_));
  FitClientToLayout();
  PlaceControls();
  ShowPage(0);
  ShowFocusCues();
}

// The focus rectangle shown from the start, not only once a key has been pressed (the player
// may never touch the mouse), and again after each move by key, as a dialog does.
void MainWindow::ShowFocusCues() const {
  SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

MainWindow::~MainWindow() { Destroy(); }

void MainWindow::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void MainWindow::Destroy() {
  if (window_) DestroyWindow(window_);
}

HWND MainWindow::CreateTabs() {
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                              kTabControlPlace.x, kTabControlPlace.y, kTabControlPlace.width,
                              kTabControlPlace.height, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(SongTiFont()), FALSE);
  int index = 0;
  for (const PageLayout& page : PageLayouts()) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(page.caption.c_str());
    item.iImage = index;
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                 reinterpret_cast<LPARAM>(&item));
  }
  SetWindowSubclass(tabs, TabsProc, kTabsSubclassId, 0);
  return tabs;
}

void MainWindow::TakeDpi(int dpi) {
  const int previous = std::exchange(dpi_, dpi);
  HFONT font = SongTiFont(dpi_);
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SetChildrenFont(tabs_, font);
  for (ReportView* table : {&ServerTable(), &KeyList()}) table->ScaleColumnWidths(previous, dpi_);
  TakePictures();
}

// The controls given the pictures of the window's DPI before those of the DPI they had go.
void MainWindow::TakePictures() {
  if (pictures_ && pictures_->Dpi() == dpi_) return;
  auto pictures = std::make_unique<WindowPictures>(dpi_);
  SendMessageW(tabs_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures->TabIcons()));
  for (ReportView* table : {&ServerTable(), &KeyList()}) {
    SendMessageW(table->Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(pictures->RowIcons()));
  }
  serverPage_->ShowButtonIcon(pictures->RefreshIcon(), dpi_);
  helpPage_->ShowPictures(pictures->Logo(), pictures->DonationQr());
  pictures_ = std::move(pictures);
}

// The system's rectangle keeps the window under the mouse while it is dragged between
// screens; the controls follow whether or not its size changed.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  TakeDpi(dpi);
  // Never smaller than the layout, whatever rounding the rectangle went through.
  const SIZE smallest = SmallestWindowSize();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top,
               std::max<LONG>(suggested.right - suggested.left, smallest.cx),
               std::max<LONG>(suggested.bottom - suggested.top, smallest.cy),
               SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceControls();
}

void MainWindow::FitClientToLayout() {
  const SIZE size = SmallestWindowSize();
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE MainWindow::SmallestWindowSize() const {
  const LayoutSize layout{ScaledToDpi(kWindowPlace.width, dpi_),
                          ScaledToDpi(kWindowPlace.height, dpi_)};
  return WindowSizeAround(layout, kWindowStyle, 0, dpi_);
}

LayoutSize MainWindow::ClientSize() const {
  RECT client{};
  GetClientRect(window_, &client);
  return {static_cast<int>(client.right), static_cast<int>(client.bottom)};
}

void MainWindow::PlaceControls() {
  const LayoutSize client = ClientSize();
  PlaceControl(tabs_, PlaceInClient(kTabControlPlace, Growth::kFills, client, dpi_));
  PlaceLayoutControls(tabs_, client, dpi_);
  serverPage_->PlaceTableGuide(client, dpi_);
  KeyList().StretchLastColumn();
}

bool MainWindow::HandleKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !IsChild(window_, message.hwnd)) return false;
  const KeyPress press{KeyOf(message.wParam), KeyIsDown(VK_SHIFT), KeyIsDown(VK_CONTROL)};
  switch (MainWindowKeyCommand(press, FocusedControl())) {
    case KeyCommand::kNone:
      return false;
    case KeyCommand::kFocusNext:
    case KeyCommand::kFocusPrevious:
      MoveFocus(press.shift);
      return true;
    case KeyCommand::kNextPage:
    case KeyCommand::kPreviousPage:
      TurnPage(press.shift ? -1 : 1);
      return true;
    case KeyCommand::kPressFocused:
      // As a dialog does for Enter on a button: its click, told to the window.
      SendMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(GetFocus()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetFocus()));
      return true;
    case KeyCommand::kStartTestRun:
      events_.OnTestButtonClicked();
      return true;
  }
  return false;
}

// The layout's control that has the focus or holds the window that has it.
std::optional<Control> MainWindow::FocusedControl() const {
  for (HWND focus = GetFocus(); focus && focus != window_; focus = GetParent(focus)) {
    if (GetParent(focus) != tabs_) continue;
    const ControlLayout* layout = FindLayout(GetDlgCtrlID(focus));
    if (!layout) return std::nullopt;
    return static_cast<Control>(layout->id - kServerTableId);
  }
  return std::nullopt;
}

HWND MainWindow::ControlHandle(Control control) const {
  return GetDlgItem(tabs_, kServerTableId + static_cast<int>(control));
}

int MainWindow::CurrentPage() const {
  return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::MoveFocus(bool backwards) {
  const std::optional<Control> next =
      NextInFocusOrder(FocusOrder(CurrentPage()), FocusedControl(), backwards);
  if (next) SetFocus(ControlHandle(*next));
  ShowFocusCues();
}

// The page beside the current one, round the end, with the focus on its first control.
void MainWindow::TurnPage(int step) {
  const int pages = static_cast<int>(PageLayouts().size());
  ShowPage((CurrentPage() + step + pages) % pages);
  const std::vector<Control> order = FocusOrder(CurrentPage());
  if (!order.empty()) SetFocus(ControlHandle(order.front()));
  ShowFocusCues();
}

int MainWindow::PeriodSelection() const {
  return static_cast<int>(SendMessageW(PeriodList(), CB_GETCURSEL, 0, 0));
}

void MainWindow::ShowRowMenu(int dx, int dy, bool listedInMiniView) {
  serverPage_->ShowRowMenu(window_, CursorMovedBy(dx, dy), listedInMiniView);
}

void MainWindow::ShowKeyListMenu(int checkedPlace) {
  globalPingPage_->ShowMenu(window_, checkedPlace, CursorMovedBy(0, 0));
}

int MainWindow::ClientWidth() const {
  RECT client{};
  GetClientRect(window_, &client);
  return static_cast<int>(client.right);
}

void MainWindow::SetTableWidth(int width) {
  HWND table = ServerTable().Handle();
  RECT place{};
  GetWindowRect(table, &place);
  SetWindowPos(table, nullptr, 0, 0, width, place.bottom - place.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowPage(int page) {
  if (SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) != page) {
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  const std::vector<HWND> pages[] = {serverPage_->Controls(), globalPingPage_->Controls(),
                                     helpPage_->Controls()};
  for (int index = 0; index < static_cast<int>(std::size(pages)); ++index) {
    for (HWND control : pages[index]) ShowWindow(control, index == page ? SW_SHOW : SW_HIDE);
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0 && message == TaskbarCreatedMessage() && tray_) tray_->OfferAgain();
  switch (message) {
    case kRunPostedCallMessage:
      calls_->RunQueued();
      return 0;
    case WM_ENABLE:
      // A modal dialog of ours has ended: its loop may have taken the calls' last message.
      if (wParam) PostMessageW(window, kRunPostedCallMessage, 0, 0);
      break;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (const HBRUSH brush =
              OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_TIMER:
      if (wParam == PeriodTimer::kTimerId) events_.OnTimerElapsed();
      return 0;
    case WM_SIZE:
      if (!helpPage_) return 0;  // while the window is being made
      PlaceControls();
      if (created_) events_.OnResized();
      return 0;
    case WM_GETMINMAXINFO:
      if (helpPage_) {
        const SIZE smallest = SmallestWindowSize();
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{smallest.cx, smallest.cy};
      }
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      break;
    case WM_SETFOCUS:
      if (IsWindow(lastFocus_)) SetFocus(lastFocus_);
      return 0;
    case WM_CLOSE:
      if (KeepRunningInTray()) return 0;
      break;
    case TrayIcon::kCallbackMessage:
      OnTrayMessage(LOWORD(lParam));
      return 0;
    // The close question is the player's: a session that ends, the window hidden or not,
    // neither waits for it nor is refused.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) Destroy();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (!helpPage_) return 0;  // a control's message while the window is being made
  switch (header.idFrom) {
    case kTabControlId:
      if (header.code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      }
      return 0;
    case kServerTableId:
      return ServerTable().OnNotify(header);
    case kKeyListId:
      return KeyList().OnNotify(header);
    default:
      helpPage_->OnNotify(header);
      return 0;
  }
}

void MainWindow::OnCommand(int id, int code) {
  if (!helpPage_) return;
  serverPage_->OnCommand(id, code);
  helpPage_->OnCommand(id, code);
}

// The labels show the tab control's face through them; 标签1 alone fills its background.
// Other controls (the drop-down list) keep the system's colours: no brush.
HBRUSH MainWindow::OnControlColour(HDC dc, HWND control) const {
  const ControlLayout* layout = FindLayout(GetDlgCtrlID(control));
  if (!layout) return nullptr;
  switch (layout->kind) {
    case ControlKind::kLabel:
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return GetSysColorBrush(COLOR_BTNFACE);
    case ControlKind::kTransparentLabel:
    case ControlKind::kStatusLabel:
    case ControlKind::kLink:
    case ControlKind::kPicture:
      SetBkMode(dc, TRANSPARENT);
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    default:
      return nullptr;
  }
}

bool MainWindow::OnSetCursor(HWND control) const {
  const ControlLayout* layout = control == window_ ? nullptr : FindLayout(GetDlgCtrlID(control));
  if (!layout || !layout->handCursor) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

// The control that had the keyboard focus gets it back when the window is active again.
void MainWindow::OnActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) lastFocus_ = GetFocus();
}

// A close sent to the window while it is hidden there (by another program) closes it.
bool MainWindow::KeepRunningInTray() {
  if (!IsWindowVisible(window_) || !events_.AlertsWatched()) return false;
  const int answer = MessageBoxW(window_, ToWindowText(KeepRunningInTrayQuestion()).c_str(),
                                 L"Vardelle", MB_YESNO | MB_ICONQUESTION);
  if (!IsOpen()) return true;  // destroyed while the question was up
  if (answer != IDYES) return false;
  tray_->Show();
  ShowWindow(window_, SW_HIDE);
  return true;
}

void MainWindow::OnTrayMessage(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      ShowFromTray();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

// Quitting destroys the window at once: the player has answered the question already.
void MainWindow::ShowTrayMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kTrayShowWindowItem, ToWindowText(ShowWindowMenuText()).c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  const auto checked = [](bool on) { return MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED); };
  AppendMenuW(menu, checked(miniView_->Drawn().shown), kTrayMiniViewItem,
              ToWindowText(kMiniViewMenuText).c_str());
  AppendMenuW(menu, checked(miniView_->Drawn().clickThrough), kTrayClickThroughItem,
              ToWindowText(kClickThroughMenuText).c_str());
  // Last, where desktops put it.
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kTrayQuitItem, ToWindowText(QuitMenuText()).c_str());
  POINT cursor{};
  GetCursorPos(&cursor);
  // The window in front, or the menu would stay open after a click elsewhere; the message
  // after it lets the menu close properly.
  SetForegroundWindow(window_);
  const auto chosen =
      static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       cursor.x, cursor.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen == kTrayShowWindowItem) ShowFromTray();
  if (chosen == kTrayQuitItem) Destroy();
  if (chosen == kTrayMiniViewItem) events_.OnMiniViewToggled();
  if (chosen == kTrayClickThroughItem) events_.OnClickThroughToggled();
}

void MainWindow::SetTrayToolTip(const std::wstring& text) {
  trayToolTip_ = text;
  tray_->SetToolTip(text);
  ShowTrayWhenNeeded();
}

void MainWindow::SetMiniView(const NativeMiniView<std::wstring>& view) {
  miniView_->Draw(view);
  ShowTrayWhenNeeded();
}

void MainWindow::ShowTrayWhenNeeded() {
  if (!trayToolTip_.empty()) return;  // shown with its tooltip
  if (miniView_->Drawn().shown) {
    tray_->Show();
  } else if (IsWindowVisible(window_)) {
    tray_->Remove();
  }
}

void MainWindow::ShowFromTray() {
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
}

// The window may go inside GetMessageW, which runs the messages other threads send (the
// shell's icon callback, the session's end) and returns only for a posted one: a message of
// no meaning wakes the loop to see the window gone.
void MainWindow::OnDestroy() {
  if (calls_) calls_->Close();
  if (tray_) tray_->Remove();
  miniView_.reset();
  KillTimer(window_, PeriodTimer::kTimerId);
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

}  // namespace vardelle::win32
