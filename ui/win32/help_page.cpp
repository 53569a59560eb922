#include "ui/win32/help_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/win32/controls.h"
#include "ui/win32/pictures.h"

namespace vardelle::win32 {
namespace {

// The font's pixel size plus one, the line pitch of the 宋体 face the layout was sized for;
// fallback faces carry taller line boxes that would push the last lines out of the box.
int LinePitch(HDC dc) {
  LOGFONTW font{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
  return std::abs(font.lfHeight) + 1;
}

bool IsLatinLetterOrDigit(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The last place at or before fit where a line may end; fit itself when a word fills the line.
std::size_t LineBreakBefore(std::wstring_view text, std::size_t fit) {
  for (std::size_t at = fit; at > 0; --at) {
    if (!IsLatinLetterOrDigit(text[at - 1]) || !IsLatinLetterOrDigit(text[at])) return at;
  }
  return fit;
}

// A paragraph's lines within width pixels in the font selected into dc: broken between
// Chinese characters or at spaces, never inside a Latin word that fits on a line.
std::vector<std::wstring_view> WrapParagraph(HDC dc, std::wstring_view paragraph, int width) {
  std::vector<std::wstring_view> lines;
  do {
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, paragraph.data(), static_cast<int>(paragraph.size()), width, &fit,
                          nullptr, &size);
    std::size_t end = paragraph.size();
    if (static_cast<std::size_t>(fit) < paragraph.size()) {
      end = LineBreakBefore(paragraph, static_cast<std::size_t>(std::max(fit, 1)));
    }
    lines.push_back(paragraph.substr(0, end));
    paragraph.remove_prefix(end);
    // A space that ended a line does not start the next.
    while (!paragraph.empty() && paragraph.front() == L' ') paragraph.remove_prefix(1);
  } while (!paragraph.empty());
  return lines;
}

std::vector<std::wstring_view> Paragraphs(std::wstring_view text) {
  std::vector<std::wstring_view> paragraphs;
  for (;;) {
    const std::size_t end = text.find(L"\r\n");
    paragraphs.push_back(text.substr(0, end));
    if (end == std::wstring_view::npos) return paragraphs;
    text.remove_prefix(end + 2);
  }
}

void PaintParagraphs(HDC dc, const RECT& client, const std::wstring& text) {
  const int linePitch = LinePitch(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  int y = client.top;
  for (const std::wstring_view paragraph : Paragraphs(text)) {
    for (const std::wstring_view line : WrapParagraph(dc, paragraph, client.right - client.left)) {
      TextOutW(dc, client.left, y, line.data(), static_cast<int>(line.size()));
      y += linePitch;
    }
  }
}

void OpenLink(const NMLINK& link) {
  ShellExecuteW(nullptr, L"open", link.item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

HelpPage::HelpPage(HWND tabs, MainWindowEvents& events) : events_(events) {
  const auto picture = [tabs](ControlId id, const HBITMAP& bitmap) {
    return CreatePaintedControl(tabs, LayoutOf(id), [&bitmap](HDC dc, const RECT& client) {
      DrawPicture(dc, bitmap, client);
    });
  };
  const auto label = [tabs](ControlId id) { return CreateLabel(tabs, LayoutOf(id)); };
  const std::wstring helpText = LayoutOf(kHelpTextId).caption;
  controls_ = {
      picture(kLogoPictureId, logo_),
      CreatePaintedControl(
          tabs, LayoutOf(kHelpTextId),
          [helpText](HDC dc, const RECT& client) { PaintParagraphs(dc, client, helpText); }),
      CreateControl(tabs, WC_LINK, LayoutOf(kDonationLinkId), WS_TABSTOP,
                    LayoutOf(kDonationLinkId).caption),
      picture(kDonationPictureId, donationQr_),
      label(kDonationHintId),
      label(kUpdateLabelId),
      label(kCopyrightLabelId),
  };
}

void HelpPage::ShowPictures(HBITMAP logo, HBITMAP donationQr) {
  logo_ = logo;
  donationQr_ = donationQr;
  for (HWND control : controls_) InvalidateRect(control, nullptr, TRUE);
}

void HelpPage::OnCommand(int id, int code) {
  if (id == kUpdateLabelId && code == STN_CLICKED) events_.OnUpdateLabelPressed();
}

void HelpPage::OnNotify(const NMHDR& header) {
  if (header.idFrom == kDonationLinkId && (header.code == NM_CLICK || header.code == NM_RETURN)) {
    OpenLink(reinterpret_cast<const NMLINK&>(header));
  }
}

}  // namespace vardelle::win32
