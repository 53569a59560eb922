#include "ui/win32/status_label.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/controls.h"

namespace vardelle::win32 {
namespace {

TTTOOLINFOW ToolFor(HWND label) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(label);
  tool.uId = reinterpret_cast<UINT_PTR>(label);
  return tool;
}

}  // namespace

StatusLabel::StatusLabel(HWND parent, ControlId id) {
  // Vertically centred on one line, cut with "…" at the end.
  label_ = CreateControl(parent, L"STATIC", LayoutOf(id),
                         SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX | SS_NOTIFY, L"");
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool = ToolFor(label_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

StatusLabel::~StatusLabel() {
  if (IsWindow(toolTip_)) DestroyWindow(toolTip_);
}

void StatusLabel::SetFullText(const std::wstring& text) {
  fullText_ = text;
  // Line breaks in a message would push the rest out of a one-line label.
  std::wstring line = text;
  std::replace(line.begin(), line.end(), L'\r', L' ');
  std::replace(line.begin(), line.end(), L'\n', L' ');
  RepaintBehind(label_);
  SetWindowTextW(label_, line.c_str());
  TTTOOLINFOW tool = ToolFor(label_);
  std::wstring tip = Fits(line) ? std::wstring() : fullText_;
  tool.lpszText = tip.data();
  SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring StatusLabel::ToolTipText() const {
  std::wstring text(1024, L'\0');
  TTTOOLINFOW tool = ToolFor(label_);
  tool.lpszText = text.data();
  SendMessageW(toolTip_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return text.c_str();
}

bool StatusLabel::Fits(const std::wstring& line) const {
  RECT client;
  GetClientRect(label_, &client);
  HDC dc = GetDC(label_);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(label_, dc);
  return size.cx <= client.right;
}

}  // namespace vardelle::win32
