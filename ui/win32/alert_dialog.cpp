#include "ui/win32/alert_dialog.h"

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <vector>

#include "app/alerts/alert_rules.h"
#include "ui/win32/dialog_template.h"
#include "ui/win32/layout.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 192;
constexpr int kServerLabelId = 100;

struct DialogControl {
  int id;
  const wchar_t* className;
  const char* text;  // GBK
  DWORD style;
  Place place;
};

// Styles beside WS_CHILD | WS_VISIBLE.
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kFirstRadio = BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP;
constexpr DWORD kFigureField = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

// In tab order; the radio buttons are a group of their own. The table keeps a control a line.
// clang-format off
const DialogControl kControls[] = {
    {kServerLabelId, L"STATIC", "", kLabel | SS_ENDELLIPSIS, {12, 12, 276, 16}},
    {kAlertStatusCheckId, L"BUTTON", kAlertStatusCaption, kCheckBox, {12, 38, 200, 20}},
    {kAlertAnyChangeId, L"BUTTON", kAlertAnyChangeCaption, kFirstRadio, {32, 62, 96, 20}},
    {kAlertBecomesNormalId, L"BUTTON", kAlertBecomesNormalCaption, BS_AUTORADIOBUTTON, {136, 62, 96, 20}},
    {kAlertLatencyCheckId, L"BUTTON", kAlertLatencyCaption, kCheckBox | WS_GROUP, {12, 92, 88, 20}},
    {kAlertLatencyFieldId, L"EDIT", "", kFigureField, {104, 91, 64, 22}},
    {0, L"STATIC", "ms", kLabel, {174, 94, 30, 16}},
    {kAlertLossCheckId, L"BUTTON", kAlertLossCaption, kCheckBox, {12, 122, 88, 20}},
    {kAlertLossFieldId, L"EDIT", "", kFigureField, {104, 121, 64, 22}},
    {0, L"STATIC", "%", kLabel, {174, 124, 30, 16}},
    {IDOK, L"BUTTON", kOkCaption, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, {132, 156, 75, 26}},
    {IDCANCEL, L"BUTTON", kCancelCaption, BS_PUSHBUTTON | WS_TABSTOP, {213, 156, 75, 26}},
};
// clang-format on

// A figure field: its check box and the figures it takes.
struct LimitField {
  int checkId;
  int fieldId;
  int lowest;
  int highest;
};
constexpr LimitField kLatencyField{kAlertLatencyCheckId, kAlertLatencyFieldId, 1,
                                   kMostLatencyThresholdMs};
constexpr LimitField kLossField{kAlertLossCheckId, kAlertLossFieldId, 0, kMostLossThresholdPercent};

struct DialogState {
  std::string serverName;  // GBK
  AlertWatch watch;        // filled in at the start, the one chosen at the end
};

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// The fields of an unchecked box are greyed.
void EnableByChecks(HWND dialog) {
  const bool status = IsChecked(dialog, kAlertStatusCheckId);
  EnableWindow(GetDlgItem(dialog, kAlertAnyChangeId), status);
  EnableWindow(GetDlgItem(dialog, kAlertBecomesNormalId), status);
  for (const LimitField& field : {kLatencyField, kLossField}) {
    EnableWindow(GetDlgItem(dialog, field.fieldId), IsChecked(dialog, field.checkId));
  }
}

void CreateControls(HWND dialog, const std::string& serverName) {
  for (const DialogControl& control : kControls) {
    MakeDialogControl(dialog, control.id, control.className, ToWindowText(control.text),
                      control.style, control.place);
  }
  SetDlgItemTextW(dialog, kServerLabelId, ToWindowText(AlertDialogPrompt(serverName)).c_str());
  SendDlgItemMessageW(dialog, kAlertLatencyFieldId, EM_LIMITTEXT, 5, 0);
  SendDlgItemMessageW(dialog, kAlertLossFieldId, EM_LIMITTEXT, 2, 0);
}

void FillIn(HWND dialog, const AlertWatch& watch) {
  Check(dialog, kAlertStatusCheckId, watch.status.has_value());
  const bool becomesNormal = watch.status == StatusWatch::kBecomesNormal;
  Check(dialog, kAlertAnyChangeId, !becomesNormal);
  Check(dialog, kAlertBecomesNormalId, becomesNormal);
  Check(dialog, kAlertLatencyCheckId, watch.latencyOverMs.has_value());
  SetDlgItemInt(dialog, kAlertLatencyFieldId,
                static_cast<UINT>(watch.latencyOverMs.value_or(kDefaultWatchLatencyOverMs)), FALSE);
  Check(dialog, kAlertLossCheckId, watch.lossOverPercent.has_value());
  SetDlgItemInt(dialog, kAlertLossFieldId,
                static_cast<UINT>(watch.lossOverPercent.value_or(kDefaultWatchLossOverPercent)),
                FALSE);
  EnableByChecks(dialog);
}

// The field's figure brought into its range; nothing when it holds no figure (only digits
// can be typed, but any text can be pasted or set).
std::optional<int> FigureIn(HWND dialog, const LimitField& field) {
  wchar_t text[32] = {};
  GetDlgItemTextW(dialog, field.fieldId, text, static_cast<int>(std::size(text)));
  std::wstring_view digits(text);
  while (!digits.empty() && std::iswspace(digits.front())) digits.remove_prefix(1);
  while (!digits.empty() && std::iswspace(digits.back())) digits.remove_suffix(1);
  if (digits.empty()) return std::nullopt;
  long long value = 0;
  for (const wchar_t digit : digits) {
    if (digit < L'0' || digit > L'9') return std::nullopt;
    value = std::min<long long>(value * 10 + (digit - L'0'), field.highest);
  }
  return std::clamp(static_cast<int>(value), field.lowest, field.highest);
}

// The figure of a checked field into limit; false, with the field focused, when it holds none.
bool ReadLimit(HWND dialog, const LimitField& field, std::optional<int>& limit) {
  limit.reset();
  if (!IsChecked(dialog, field.checkId)) return true;
  limit = FigureIn(dialog, field);
  if (limit) return true;
  MessageBeep(MB_ICONWARNING);
  HWND edit = GetDlgItem(dialog, field.fieldId);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  return false;
}

bool ReadChoice(HWND dialog, AlertWatch& watch) {
  AlertWatch chosen;
  if (IsChecked(dialog, kAlertStatusCheckId)) {
    chosen.status = IsChecked(dialog, kAlertBecomesNormalId) ? StatusWatch::kBecomesNormal
                                                             : StatusWatch::kAnyChange;
  }
  if (!ReadLimit(dialog, kLatencyField, chosen.latencyOverMs) ||
      !ReadLimit(dialog, kLossField, chosen.lossOverPercent)) {
    return false;
  }
  watch = chosen;
  return true;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CreateControls(dialog, state->serverName);
      FillIn(dialog, state->watch);
      SizeAndCentre(dialog, {kClientWidth, kClientHeight});
      SetFocus(GetDlgItem(dialog, kAlertStatusCheckId));
      return FALSE;  // the focus is set
    case WM_DPICHANGED:
      LayDialogAtDpi(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (ReadChoice(dialog, state->watch)) EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case kAlertStatusCheckId:
        case kAlertLatencyCheckId:
        case kAlertLossCheckId:
          EnableByChecks(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<AlertWatch> AskAlertWatch(HWND owner, const std::string& serverName,
                                        const AlertWatch& current) {
  const std::vector<WORD> layout = DialogTemplate(kAlertDialogTitle);
  DialogState state{serverName, current};
  const INT_PTR answer = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(layout.data()), owner,
      DialogProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return state.watch;
}

}  // namespace vardelle::win32
