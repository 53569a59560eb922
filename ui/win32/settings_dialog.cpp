#include "ui/win32/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "app/alerts/alert_watching.h"
#include "app/sites/site_check.h"
#include "app/view/window_layout.h"
#include "ui/win32/dialog_template.h"
#include "ui/win32/layout.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 430;
constexpr UINT_PTR kResultTimerId = 1;
// Test lines arrive from the test threads; the dialog looks for them this often.
constexpr UINT kResultPollMs = 100;
// Wide enough for the longest caption, "游戏盒子（服务器列表）", in 12-pixel characters.
constexpr int kCaptionWidth = 136;
constexpr int kFieldLeft = 152;
constexpr int kFieldWidth = 324;
constexpr int kButtonLeft = 482;
constexpr int kSiteTop = 36;
constexpr int kSiteHeight = 48;
constexpr int kListTop = kSiteTop + kSiteCount * kSiteHeight;

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kField = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

HWND MakeControl(HWND dialog, int id, const wchar_t* className, const std::string& text,
                 DWORD style, LayoutPlace place) {
  return MakeDialogControl(dialog, id, className, ToWindowText(text), style, place);
}

void MakeSiteRow(HWND dialog, Site site, const std::string& base) {
  const int index = static_cast<int>(site);
  const int top = kSiteTop + index * kSiteHeight;
  MakeControl(dialog, 0, L"STATIC", SiteCaption(site), kLabel, {12, top + 3, kCaptionWidth, 16});
  MakeControl(dialog, kSiteFieldId + index, L"EDIT", base, kField,
              {kFieldLeft, top, kFieldWidth, 22});
  MakeControl(dialog, kSiteTestId + index, L"BUTTON", kSiteTestCaption, kButton,
              {kButtonLeft, top - 1, 66, 24});
  MakeControl(dialog, kSiteResultId + index, L"STATIC", "", kLabel | SS_ENDELLIPSIS,
              {kFieldLeft, top + 25, 396, 16});
}

void CreateControls(HWND dialog, const SettingsValues& initial) {
  MakeControl(dialog, 0, L"STATIC", kSettingsNote, kLabel, {12, 12, 536, 16});
  for (const SiteInfo& info : SiteTable()) {
    MakeSiteRow(dialog, info.site, initial.baseUrls[static_cast<std::size_t>(info.site)]);
  }
  MakeControl(dialog, 0, L"STATIC", kServerListFileCaption, kLabel,
              {12, kListTop + 3, kCaptionWidth, 16});
  MakeControl(dialog, kServerListFieldId, L"EDIT", initial.serverListFile, kField,
              {kFieldLeft, kListTop, kFieldWidth, 22});
  MakeControl(dialog, kChooseServerListId, L"BUTTON", kChooseFileCaption, kButton,
              {kButtonLeft, kListTop - 1, 66, 24});
  MakeControl(dialog, 0, L"STATIC", kGlobalpingTokenCaption, kLabel,
              {12, kListTop + 33, kCaptionWidth, 16});
  MakeControl(dialog, kTokenFieldId, L"EDIT", initial.globalpingToken, kField | ES_PASSWORD,
              {kFieldLeft, kListTop + 30, kFieldWidth, 22});
  MakeControl(dialog, 0, L"STATIC", kDefaultPeriodCaption, kLabel,
              {12, kListTop + 63, kCaptionWidth, 16});
  HWND period = MakeControl(dialog, kPeriodFieldId, WC_COMBOBOXW, "",
                            CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                            {kFieldLeft, kListTop + 60, 120, 200});
  for (const PeriodItem& item : PeriodItems()) {
    SendMessageW(period, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.caption.c_str()));
  }
  SendMessageW(period, CB_SETCURSEL, static_cast<WPARAM>(initial.periodIndex), 0);
  MakeControl(dialog, kSettingsProblemId, L"STATIC", "", kLabel | SS_ENDELLIPSIS,
              {12, kListTop + 90, 536, 16});
  MakeControl(dialog, IDOK, L"BUTTON", kOkCaption, BS_DEFPUSHBUTTON | WS_TABSTOP,
              {392, kClientHeight - 38, 75, 26});
  MakeControl(dialog, IDCANCEL, L"BUTTON", kCancelCaption, kButton,
              {473, kClientHeight - 38, 75, 26});
}

std::string FieldText(HWND dialog, int id) {
  HWND field = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
  return FromWindowText(text);
}

void SetText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, ToWindowText(text).c_str());
}

SettingsValues Values(HWND dialog) {
  SettingsValues values;
  for (int index = 0; index < kSiteCount; ++index) {
    values.baseUrls[static_cast<std::size_t>(index)] = FieldText(dialog, kSiteFieldId + index);
  }
  values.serverListFile = FieldText(dialog, kServerListFieldId);
  values.globalpingToken = FieldText(dialog, kTokenFieldId);
  values.periodIndex =
      static_cast<int>(SendDlgItemMessageW(dialog, kPeriodFieldId, CB_GETCURSEL, 0, 0));
  return values;
}

void ChooseServerListFile(HWND dialog) {
  std::wstring path = ToWindowText(FieldText(dialog, kServerListFieldId));
  path.resize(MAX_PATH, L'\0');
  OPENFILENAMEW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = dialog;
  choice.lpstrFile = path.data();
  choice.nMaxFile = static_cast<DWORD>(path.size());
  choice.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (GetOpenFileNameW(&choice)) {
    SetDlgItemTextW(dialog, kServerListFieldId, path.c_str());
  }
}

void ShowResults(HWND dialog, SettingsDialog& logic) {
  for (const auto& [site, line] : logic.TakeResults()) {
    SetText(dialog, kSiteResultId + static_cast<int>(site), line);
  }
}

bool OnCommand(HWND dialog, SettingsDialog& logic, int id) {
  if (id >= kSiteTestId && id < kSiteTestId + kSiteCount) {
    const int index = id - kSiteTestId;
    SetText(dialog, kSiteResultId + index,
            logic.StartTest(static_cast<Site>(index), FieldText(dialog, kSiteFieldId + index)));
    return true;
  }
  switch (id) {
    case kChooseServerListId:
      ChooseServerListFile(dialog);
      return true;
    case IDOK: {
      const Text problem = logic.Accept(Values(dialog));
      if (problem.empty()) {
        EndDialog(dialog, IDOK);
      } else {
        SetText(dialog, kSettingsProblemId, problem);
      }
      return true;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* logic = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      logic = reinterpret_cast<SettingsDialog*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CreateControls(dialog, logic->Initial());
      SizeAndCentre(dialog, {kClientWidth, kClientHeight});
      SetTimer(dialog, kResultTimerId, kResultPollMs, nullptr);
      SetFocus(GetDlgItem(dialog, kSiteFieldId));
      return FALSE;  // the focus is set
    case WM_TIMER:
      if (wParam == kResultTimerId) ShowResults(dialog, *logic);
      return TRUE;
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED && OnCommand(dialog, *logic, LOWORD(wParam)) ? TRUE
                                                                                       : FALSE;
    case WM_DPICHANGED:
      LayDialogAtDpi(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kResultTimerId);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunSettingsDialog(HWND owner, SettingsDialog& dialog) {
  const std::vector<WORD> layout = DialogTemplate(kSettingsDialogTitle);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                          reinterpret_cast<const DLGTEMPLATE*>(layout.data()), owner, DialogProc,
                          reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace vardelle::win32
