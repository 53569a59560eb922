#include "ui/win32/dialog_template.h"

#include <windows.h>

#include <cstring>

#include "ui/win32/window_text.h"

namespace vardelle::win32 {

std::vector<unsigned short> DialogTemplate(const std::string& title) {
  DLGTEMPLATE head{};
  head.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  std::vector<WORD> words(sizeof head / sizeof(WORD));
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (const wchar_t c : ToWindowText(title)) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

}  // namespace vardelle::win32
