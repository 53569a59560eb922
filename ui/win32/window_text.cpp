#include "ui/win32/window_text.h"

#include "support/text/text_codec.h"

namespace vardelle::win32 {

// wchar_t is UTF-16 here, so the codec's char16_t text is the same code units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring ToWindowText(std::string_view gbk) {
  const std::u16string text = ToUtf16(gbk);
  return std::wstring(text.begin(), text.end());
}

std::string FromWindowText(std::wstring_view text) {
  return ToGbk(std::u16string(text.begin(), text.end()));
}

std::wstring WindowCaption(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace vardelle::win32
