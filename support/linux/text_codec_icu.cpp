// GBK <-> UTF-16 through ICU's "windows-936" converter, the table that Windows uses for
// code page 936. Every byte string round-trips: bytes the table cannot decode are escaped
// as lone surrogates by the callbacks below and turned back into bytes on the way out.
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "support/linux/linux_engines.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr char kConverterName[] = "windows-936";
constexpr char16_t kEscapeBase = 0xDC00;
constexpr UChar32 kFirstEscape = 0xDC80;
constexpr UChar32 kLastEscape = 0xDCFF;
// Input is fed in pieces so that ICU's per-call span limit never applies, whatever the size.
constexpr std::size_t kPieceSize = 1 << 16;
constexpr std::size_t kIcuMaxSpan = 0x3fffffff;

bool IsCallbackForData(UConverterCallbackReason reason) { return reason <= UCNV_IRREGULAR; }

// ASCII bytes always decode to themselves, so only bytes from 0x80 up need an escape.
void EscapeUndecodableBytes(const void*, UConverterToUnicodeArgs* args, const char* codeUnits,
                            int32_t length, UConverterCallbackReason reason, UErrorCode* error) {
  if (!IsCallbackForData(reason)) return;
  *error = U_ZERO_ERROR;
  for (int32_t i = 0; i < length && U_SUCCESS(*error); ++i) {
    const auto byte = static_cast<unsigned char>(codeUnits[i]);
    const UChar unit = byte < 0x80 ? char16_t{byte} : static_cast<char16_t>(kEscapeBase + byte);
    ucnv_cbToUWriteUChars(args, &unit, 1, 0, error);
  }
}

void UnescapeOrSubstitute(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                          UChar32 codePoint, UConverterCallbackReason reason, UErrorCode* error) {
  if (!IsCallbackForData(reason)) return;
  const bool escaped = codePoint >= kFirstEscape && codePoint <= kLastEscape;
  const char byte = escaped ? static_cast<char>(codePoint - kEscapeBase) : '?';
  *error = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, &byte, 1, 0, error);
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter() {
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(kConverterName, &error));
  ucnv_setToUCallBack(converter.get(), EscapeUndecodableBytes, nullptr, nullptr, nullptr, &error);
  ucnv_setFromUCallBack(converter.get(), UnescapeOrSubstitute, nullptr, nullptr, nullptr, &error);
  if (U_FAILURE(error)) throw std::runtime_error("ICU converter windows-936 is unavailable");
  return converter;
}

// A UConverter keeps conversion state and must not be shared between threads.
UConverter* ThreadConverter() {
  thread_local const ConverterPtr converter = OpenConverter();
  return converter.get();
}

// Runs one ICU conversion direction over the whole input; returns how much of target it filled.
template <class Source, class Target, class Convert>
std::size_t ConvertInPieces(Convert convert, const Source* source, std::size_t sourceSize,
                            Target* target, std::size_t targetSize) {
  const Source* const sourceEnd = source + sourceSize;
  Target* const targetBegin = target;
  Target* const targetEnd = target + targetSize;
  UErrorCode error = U_ZERO_ERROR;
  do {
    const Source* pieceEnd = source + std::min<std::size_t>(sourceEnd - source, kPieceSize);
    Target* targetLimit = target + std::min<std::size_t>(targetEnd - target, kIcuMaxSpan);
    convert(&target, targetLimit, &source, pieceEnd, pieceEnd == sourceEnd, &error);
  } while (U_SUCCESS(error) && source != sourceEnd);
  return static_cast<std::size_t>(target - targetBegin);
}

// The encodings whose ICU converter goes by another name; the others are found by theirs.
std::string ConverterNameFor(const std::string& encoding) {
  static constexpr std::pair<std::string_view, const char*> kRenamed[] = {
      {"Big5", "Big5-HKSCS"},
      {"EUC-KR", "windows-949"},
      {"ISO-8859-8-I", "ISO-8859-8"},
      {"Shift_JIS", "windows-31j"},
  };
  for (const auto& [name, converter] : kRenamed) {
    if (encoding == name) return converter;
  }
  return encoding;
}

class IcuTextCodec final : public TextCodec {
 public:
  std::u16string GbkToUtf16(std::string_view gbk) const override {
    // One UTF-16 unit per byte at most: a pair decodes to one unit, an escape to one per byte.
    std::u16string text(gbk.size(), u'\0');
    UConverter* converter = ThreadConverter();
    ucnv_resetToUnicode(converter);
    auto convert = [converter](UChar** target, const UChar* targetLimit, const char** source,
                               const char* sourceLimit, bool flush, UErrorCode* error) {
      ucnv_toUnicode(converter, target, targetLimit, source, sourceLimit, nullptr, flush, error);
    };
    text.resize(ConvertInPieces(convert, gbk.data(), gbk.size(), text.data(), text.size()));
    return text;
  }

  std::string Utf16ToGbk(std::u16string_view text) const override {
    // Two bytes per UTF-16 unit at most; a surrogate pair becomes a single '?'.
    std::string gbk(text.size() * 2, '\0');
    UConverter* converter = ThreadConverter();
    ucnv_resetFromUnicode(converter);
    auto convert = [converter](char** target, const char* targetLimit, const UChar** source,
                               const UChar* sourceLimit, bool flush, UErrorCode* error) {
      ucnv_fromUnicode(converter, target, targetLimit, source, sourceLimit, nullptr, flush, error);
    };
    gbk.resize(ConvertInPieces(convert, text.data(), text.size(), gbk.data(), gbk.size()));
    return gbk;
  }

  std::optional<std::u16string> DecodeCharset(std::string_view bytes,
                                              const std::string& encoding) const override {
    if (bytes.size() > INT32_MAX) return std::nullopt;
    UErrorCode error = U_ZERO_ERROR;
    const ConverterPtr converter(ucnv_open(ConverterNameFor(encoding).c_str(), &error));
    if (U_FAILURE(error)) return std::nullopt;
    const auto length = static_cast<int32_t>(bytes.size());
    const int32_t needed =
        ucnv_toUChars(converter.get(), nullptr, 0, bytes.data(), length, &error);
    if (error != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(error)) return std::nullopt;
    std::u16string text(static_cast<std::size_t>(needed), u'\0');
    error = U_ZERO_ERROR;
    ucnv_toUChars(converter.get(), text.data(), needed, bytes.data(), length, &error);
    if (U_FAILURE(error)) return std::nullopt;
    return text;
  }

  bool IsValidUtf8(std::string_view bytes) const override {
    if (bytes.size() > INT32_MAX) return false;
    UErrorCode error = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &error);
    return error != U_INVALID_CHAR_FOUND;
  }

  std::string Utf16ToUtf8(std::u16string_view text) const override {
    constexpr UChar32 kReplacementCodePoint = 0xFFFD;
    if (text.size() > INT32_MAX / 3) return {};
    std::string utf8(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), kReplacementCodePoint, nullptr, &error);
    if (U_FAILURE(error)) return {};
    utf8.resize(static_cast<std::size_t>(length));
    return utf8;
  }
};

}  // namespace

std::unique_ptr<TextCodec> CreateIcuTextCodec() { return std::make_unique<IcuTextCodec>(); }

}  // namespace vardelle
