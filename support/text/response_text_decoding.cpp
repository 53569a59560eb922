#include "support/text/response_text_decoding.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "support/text/ascii_case.h"
#include "support/text/space_trim.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr char kCodePage936[] = "windows-936";
constexpr char kUtf8[] = "UTF-8";
constexpr char16_t kByteOrderMark = 0xFEFF;

// The charset parameter of a Content-Type value, lower-cased; empty when there is none.
std::string CharsetOf(std::string_view contentType) {
  std::size_t next = contentType.find(';');
  while (next != std::string_view::npos) {
    const std::size_t start = next + 1;
    next = contentType.find(';', start);
    const std::string_view parameter = TrimAsciiBlanks(contentType.substr(start, next - start));
    const std::size_t equals = parameter.find('=');
    if (equals == std::string_view::npos) continue;
    if (!EqualsIgnoringAsciiCase(TrimAsciiBlanks(parameter.substr(0, equals)), "charset")) continue;
    std::string_view value = TrimAsciiBlanks(parameter.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    std::string lowered(value);
    for (char& c : lowered) c = AsciiLower(c);
    return lowered;
  }
  return {};
}

// A charset name as registered: letters, digits and a few marks. Anything else (ICU reads
// "," as the start of converter options and "/" as a path) is no charset name.
bool IsCharsetName(const std::string& charset) {
  constexpr std::size_t kLongestName = 40;
  return !charset.empty() && charset.size() <= kLongestName &&
         std::all_of(charset.begin(), charset.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) ||
                  std::string_view("-_.:+").find(c) != std::string_view::npos;
         });
}

// The GB2312 family is read as code page 936, as the platform does: servers that say gb2312
// routinely send GBK.
std::string ConverterNameFor(const std::string& charset) {
  for (const char* alias : {"gb2312", "gbk", "x-gbk", "cp936", "windows-936", "csgb2312"}) {
    if (charset == alias) return kCodePage936;
  }
  return charset;
}

std::string_view AsChars(const Bytes& body) {
  return {reinterpret_cast<const char*>(body.data()), body.size()};
}

std::u16string DecodeBody(const Bytes& body, std::string_view contentType) {
  const TextCodec& codec = SystemTextCodec();
  const std::string charset = CharsetOf(contentType);
  if (IsCharsetName(charset)) {
    const std::string name = ConverterNameFor(charset);
    if (name == kCodePage936) return codec.GbkToUtf16(AsChars(body));
    if (auto text = codec.DecodeCharset(AsChars(body), name)) return *std::move(text);
  }
  if (codec.IsValidUtf8(AsChars(body))) {
    return codec.DecodeCharset(AsChars(body), kUtf8).value_or(std::u16string());
  }
  return codec.GbkToUtf16(AsChars(body));
}

bool IsLeadSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A lone surrogate would come out of the GBK codec as a raw byte; it is not a character.
void ReplaceStraySurrogates(std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pairStart =
        IsLeadSurrogate(text[i]) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1]);
    if (pairStart) {
      ++i;
    } else if (IsLeadSurrogate(text[i]) || IsTrailSurrogate(text[i])) {
      text[i] = u'?';
    }
  }
}

}  // namespace

Text DecodeResponseText(const Bytes& body, std::string_view contentType) {
  if (body.empty() || body.size() > INT32_MAX) return {};
  std::u16string text = DecodeBody(body, contentType);
  if (!text.empty() && text.front() == kByteOrderMark) text.erase(0, 1);
  ReplaceStraySurrogates(text);
  return ToGbk(text);
}

Bytes EncodeRequestText(const Text& text) {
  const std::string utf8 = SystemTextCodec().Utf16ToUtf8(ToUtf16(text));
  return Bytes(utf8.begin(), utf8.end());
}

}  // namespace vardelle
