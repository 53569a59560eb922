// Conversion between the program's GBK text and UTF-16, the form that the window layer and
// the regular-expression engine work in.
//
// Bytes that are not valid GBK are not dropped: each one becomes the lone surrogate
// U+DC00 + byte (as Python's surrogateescape does) and turns back into the same byte, so a
// text survives GBK -> UTF-16 -> GBK unchanged whatever it holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelle {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::u16string GbkToUtf16(std::string_view gbk) const = 0;
  // Characters that GBK cannot hold become '?'; escaped bytes come back as themselves.
  virtual std::string Utf16ToGbk(std::u16string_view text) const = 0;

  // Bytes in an encoding of the WHATWG Encoding Standard, named as that standard names it
  // ("UTF-8", "Shift_JIS", …); undecodable bytes become U+FFFD. Nothing when the platform
  // lacks the encoding.
  virtual std::optional<std::u16string> DecodeCharset(std::string_view bytes,
                                                      const std::string& encoding) const = 0;
  virtual bool IsValidUtf8(std::string_view bytes) const = 0;
  // Unpaired surrogates become U+FFFD.
  virtual std::string Utf16ToUtf8(std::u16string_view text) const = 0;
};

// The platform's codec (chosen by the platform's composition root); thread-safe, lives for
// the whole process.
const TextCodec& SystemTextCodec();

inline std::u16string ToUtf16(std::string_view gbk) { return SystemTextCodec().GbkToUtf16(gbk); }
inline std::string ToGbk(std::u16string_view text) { return SystemTextCodec().Utf16ToGbk(text); }
// For the program's UTF-8 edges (reports, request bodies, the Globalping API).
inline std::string GbkToUtf8(std::string_view gbk) {
  return SystemTextCodec().Utf16ToUtf8(ToUtf16(gbk));
}

}  // namespace vardelle
