#include "support/response_text_decoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "support/ascii_case.h"
#include "support/text_codec.h"

namespace vardelle {
namespace {

constexpr char kCodePage936[] = "windows-936";
constexpr char kUtf8[] = "UTF-8";
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr UChar32 kReplacement = 0xFFFD;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The charset parameter of a Content-Type value, lower-cased; empty when there is none.
std::string CharsetOf(std::string_view contentType) {
  std::size_t next = contentType.find(';');
  while (next != std::string_view::npos) {
    const std::size_t start = next + 1;
    next = contentType.find(';', start);
    const std::string_view parameter = Trim(contentType.substr(start, next - start));
    const std::size_t equals = parameter.find('=');
    if (equals == std::string_view::npos) continue;
    if (!EqualsIgnoringAsciiCase(Trim(parameter.substr(0, equals)), "charset")) continue;
    std::string_view value = Trim(parameter.substr(equals + 1));
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

bool IsValidUtf8(const Bytes& body) {
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, reinterpret_cast<const char*>(body.data()),
                static_cast<int32_t>(body.size()), &error);
  return error != U_INVALID_CHAR_FOUND;
}

// Undecodable input becomes a substitute; nullopt when ICU knows no such charset.
std::optional<std::u16string> Decode(const Bytes& body, const std::string& converterName) {
  UErrorCode error = U_ZERO_ERROR;
  const ConverterPtr converter(ucnv_open(converterName.c_str(), &error));
  if (U_FAILURE(error)) return std::nullopt;
  const auto* source = reinterpret_cast<const char*>(body.data());
  const auto sourceLength = static_cast<int32_t>(body.size());
  const int32_t length = ucnv_toUChars(converter.get(), nullptr, 0, source, sourceLength, &error);
  if (error != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(error)) return std::nullopt;
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  error = U_ZERO_ERROR;
  ucnv_toUChars(converter.get(), text.data(), length, source, sourceLength, &error);
  if (U_FAILURE(error)) return std::nullopt;
  return text;
}

std::u16string DecodeBody(const Bytes& body, std::string_view contentType) {
  const std::string charset = CharsetOf(contentType);
  if (IsCharsetName(charset)) {
    if (auto text = Decode(body, ConverterNameFor(charset))) return *std::move(text);
  }
  return Decode(body, IsValidUtf8(body) ? kUtf8 : kCodePage936).value_or(std::u16string());
}

// A lone surrogate would come out of the GBK codec as a raw byte; it is not a character.
void ReplaceStraySurrogates(std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pairStart = U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]);
    if (pairStart) {
      ++i;
    } else if (U16_IS_SURROGATE(text[i])) {
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
  const std::u16string wide = ToUtf16(text);
  if (wide.size() > INT32_MAX / 3) return {};
  std::string utf8(wide.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &length, wide.data(),
                     static_cast<int32_t>(wide.size()), kReplacement, nullptr, &error);
  if (U_FAILURE(error)) return {};
  return Bytes(utf8.begin(), utf8.begin() + length);
}

}  // namespace vardelle
