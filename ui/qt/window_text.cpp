#include "ui/qt/window_text.h"

#include "support/text/text_codec.h"

namespace vardelle::ui {

QString FromGbk(const std::string& text) {
  const std::u16string wide = ToUtf16(text);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToGbkText(const QString& text) {
  return ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<size_t>(text.size())));
}

}  // namespace vardelle::ui
