// A one-line label that shortens a text too long for it with "…" instead of wrapping; the
// whole text stays readable in its tooltip.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/layout.h"

namespace vardelle::win32 {

class StatusLabel {
 public:
  StatusLabel(HWND parent, ControlId id);
  ~StatusLabel();
  StatusLabel(const StatusLabel&) = delete;
  StatusLabel& operator=(const StatusLabel&) = delete;

  HWND Handle() const { return label_; }
  void SetFullText(const std::wstring& text);
  const std::wstring& FullText() const { return fullText_; }
  // The tooltip's text: the whole text when the label shows it shortened, else "".
  std::wstring ToolTipText() const;

 private:
  bool Fits(const std::wstring& line) const;

  HWND label_ = nullptr;
  HWND toolTip_ = nullptr;
  std::wstring fullText_;
};

}  // namespace vardelle::win32
