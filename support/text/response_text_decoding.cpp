#include "support/text/response_text_decoding.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/text/ascii_case.h"
#include "support/text/space_trim.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr char kUtf8[] = "UTF-8";
constexpr std::string_view kGbk = "GBK";
constexpr std::string_view kReplacement = "replacement";
constexpr std::string_view kUserDefined = "x-user-defined";
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr char16_t kUserDefinedBase = 0xF700;  // byte 0x80 becomes U+F780

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

// The labels a browser accepts and the encoding each stands for (the WHATWG Encoding
// Standard's table). Only these reach a converter: a converter picked by any other name may
// cost far more than linear time on hostile bytes.
struct EncodingLabel {
  std::string_view label;
  std::string_view encoding;
};

// Grouped by encoding, in the order of the WHATWG table.
// clang-format off
constexpr EncodingLabel kEncodingLabels[] = {
    {"unicode-1-1-utf-8", "UTF-8"}, {"unicode11utf8", "UTF-8"}, {"unicode20utf8", "UTF-8"},
    {"utf-8", "UTF-8"}, {"utf8", "UTF-8"}, {"x-unicode20utf8", "UTF-8"},
    {"866", "IBM866"}, {"cp866", "IBM866"}, {"csibm866", "IBM866"}, {"ibm866", "IBM866"},
    {"csisolatin2", "ISO-8859-2"}, {"iso-8859-2", "ISO-8859-2"}, {"iso-ir-101", "ISO-8859-2"},
    {"iso8859-2", "ISO-8859-2"}, {"iso88592", "ISO-8859-2"}, {"iso_8859-2", "ISO-8859-2"},
    {"iso_8859-2:1987", "ISO-8859-2"}, {"l2", "ISO-8859-2"}, {"latin2", "ISO-8859-2"},
    {"csisolatin3", "ISO-8859-3"}, {"iso-8859-3", "ISO-8859-3"}, {"iso-ir-109", "ISO-8859-3"},
    {"iso8859-3", "ISO-8859-3"}, {"iso88593", "ISO-8859-3"}, {"iso_8859-3", "ISO-8859-3"},
    {"iso_8859-3:1988", "ISO-8859-3"}, {"l3", "ISO-8859-3"}, {"latin3", "ISO-8859-3"},
    {"csisolatin4", "ISO-8859-4"}, {"iso-8859-4", "ISO-8859-4"}, {"iso-ir-110", "ISO-8859-4"},
    {"iso8859-4", "ISO-8859-4"}, {"iso88594", "ISO-8859-4"}, {"iso_8859-4", "ISO-8859-4"},
    {"iso_8859-4:1988", "ISO-8859-4"}, {"l4", "ISO-8859-4"}, {"latin4", "ISO-8859-4"},
    {"csisolatincyrillic", "ISO-8859-5"}, {"cyrillic", "ISO-8859-5"},
    {"iso-8859-5", "ISO-8859-5"}, {"iso-ir-144", "ISO-8859-5"}, {"iso8859-5", "ISO-8859-5"},
    {"iso88595", "ISO-8859-5"}, {"iso_8859-5", "ISO-8859-5"}, {"iso_8859-5:1988", "ISO-8859-5"},
    {"arabic", "ISO-8859-6"}, {"asmo-708", "ISO-8859-6"}, {"csiso88596e", "ISO-8859-6"},
    {"csiso88596i", "ISO-8859-6"}, {"csisolatinarabic", "ISO-8859-6"}, {"ecma-114", "ISO-8859-6"},
    {"iso-8859-6", "ISO-8859-6"}, {"iso-8859-6-e", "ISO-8859-6"}, {"iso-8859-6-i", "ISO-8859-6"},
    {"iso-ir-127", "ISO-8859-6"}, {"iso8859-6", "ISO-8859-6"}, {"iso88596", "ISO-8859-6"},
    {"iso_8859-6", "ISO-8859-6"}, {"iso_8859-6:1987", "ISO-8859-6"},
    {"csisolatingreek", "ISO-8859-7"}, {"ecma-118", "ISO-8859-7"}, {"elot_928", "ISO-8859-7"},
    {"greek", "ISO-8859-7"}, {"greek8", "ISO-8859-7"}, {"iso-8859-7", "ISO-8859-7"},
    {"iso-ir-126", "ISO-8859-7"}, {"iso8859-7", "ISO-8859-7"}, {"iso88597", "ISO-8859-7"},
    {"iso_8859-7", "ISO-8859-7"}, {"iso_8859-7:1987", "ISO-8859-7"}, {"sun_eu_greek", "ISO-8859-7"},
    {"csiso88598e", "ISO-8859-8"}, {"csisolatinhebrew", "ISO-8859-8"}, {"hebrew", "ISO-8859-8"},
    {"iso-8859-8", "ISO-8859-8"}, {"iso-8859-8-e", "ISO-8859-8"}, {"iso-ir-138", "ISO-8859-8"},
    {"iso8859-8", "ISO-8859-8"}, {"iso88598", "ISO-8859-8"}, {"iso_8859-8", "ISO-8859-8"},
    {"iso_8859-8:1988", "ISO-8859-8"}, {"visual", "ISO-8859-8"},
    {"csiso88598i", "ISO-8859-8-I"}, {"iso-8859-8-i", "ISO-8859-8-I"}, {"logical", "ISO-8859-8-I"},
    {"csisolatin6", "ISO-8859-10"}, {"iso-8859-10", "ISO-8859-10"}, {"iso-ir-157", "ISO-8859-10"},
    {"iso8859-10", "ISO-8859-10"}, {"iso885910", "ISO-8859-10"}, {"l6", "ISO-8859-10"},
    {"latin6", "ISO-8859-10"},
    {"iso-8859-13", "ISO-8859-13"}, {"iso8859-13", "ISO-8859-13"}, {"iso885913", "ISO-8859-13"},
    {"iso-8859-14", "ISO-8859-14"}, {"iso8859-14", "ISO-8859-14"}, {"iso885914", "ISO-8859-14"},
    {"csisolatin9", "ISO-8859-15"}, {"iso-8859-15", "ISO-8859-15"}, {"iso8859-15", "ISO-8859-15"},
    {"iso885915", "ISO-8859-15"}, {"iso_8859-15", "ISO-8859-15"}, {"l9", "ISO-8859-15"},
    {"iso-8859-16", "ISO-8859-16"},
    {"cskoi8r", "KOI8-R"}, {"koi", "KOI8-R"}, {"koi8", "KOI8-R"}, {"koi8-r", "KOI8-R"},
    {"koi8_r", "KOI8-R"},
    {"koi8-ru", "KOI8-U"}, {"koi8-u", "KOI8-U"},
    {"csmacintosh", "macintosh"}, {"mac", "macintosh"}, {"macintosh", "macintosh"},
    {"x-mac-roman", "macintosh"},
    {"dos-874", "windows-874"}, {"iso-8859-11", "windows-874"}, {"iso8859-11", "windows-874"},
    {"iso885911", "windows-874"}, {"tis-620", "windows-874"}, {"windows-874", "windows-874"},
    {"cp1250", "windows-1250"}, {"windows-1250", "windows-1250"}, {"x-cp1250", "windows-1250"},
    {"cp1251", "windows-1251"}, {"windows-1251", "windows-1251"}, {"x-cp1251", "windows-1251"},
    {"ansi_x3.4-1968", "windows-1252"}, {"ascii", "windows-1252"}, {"cp1252", "windows-1252"},
    {"cp819", "windows-1252"}, {"csisolatin1", "windows-1252"}, {"ibm819", "windows-1252"},
    {"iso-8859-1", "windows-1252"}, {"iso-ir-100", "windows-1252"}, {"iso8859-1", "windows-1252"},
    {"iso88591", "windows-1252"}, {"iso_8859-1", "windows-1252"},
    {"iso_8859-1:1987", "windows-1252"}, {"l1", "windows-1252"}, {"latin1", "windows-1252"},
    {"us-ascii", "windows-1252"}, {"windows-1252", "windows-1252"}, {"x-cp1252", "windows-1252"},
    {"cp1253", "windows-1253"}, {"windows-1253", "windows-1253"}, {"x-cp1253", "windows-1253"},
    {"cp1254", "windows-1254"}, {"csisolatin5", "windows-1254"}, {"iso-8859-9", "windows-1254"},
    {"iso-ir-148", "windows-1254"}, {"iso8859-9", "windows-1254"}, {"iso88599", "windows-1254"},
    {"iso_8859-9", "windows-1254"}, {"iso_8859-9:1989", "windows-1254"}, {"l5", "windows-1254"},
    {"latin5", "windows-1254"}, {"windows-1254", "windows-1254"}, {"x-cp1254", "windows-1254"},
    {"cp1255", "windows-1255"}, {"windows-1255", "windows-1255"}, {"x-cp1255", "windows-1255"},
    {"cp1256", "windows-1256"}, {"windows-1256", "windows-1256"}, {"x-cp1256", "windows-1256"},
    {"cp1257", "windows-1257"}, {"windows-1257", "windows-1257"}, {"x-cp1257", "windows-1257"},
    {"cp1258", "windows-1258"}, {"windows-1258", "windows-1258"}, {"x-cp1258", "windows-1258"},
    {"x-mac-cyrillic", "x-mac-cyrillic"}, {"x-mac-ukrainian", "x-mac-cyrillic"},
    {"chinese", "GBK"}, {"csgb2312", "GBK"}, {"csiso58gb231280", "GBK"}, {"gb2312", "GBK"},
    {"gb_2312", "GBK"}, {"gb_2312-80", "GBK"}, {"gbk", "GBK"}, {"iso-ir-58", "GBK"},
    {"x-gbk", "GBK"},
    {"gb18030", "gb18030"},
    {"big5", "Big5"}, {"big5-hkscs", "Big5"}, {"cn-big5", "Big5"}, {"csbig5", "Big5"},
    {"x-x-big5", "Big5"},
    {"cseucpkdfmtjapanese", "EUC-JP"}, {"euc-jp", "EUC-JP"}, {"x-euc-jp", "EUC-JP"},
    {"csiso2022jp", "ISO-2022-JP"}, {"iso-2022-jp", "ISO-2022-JP"},
    {"csshiftjis", "Shift_JIS"}, {"ms932", "Shift_JIS"}, {"ms_kanji", "Shift_JIS"},
    {"shift-jis", "Shift_JIS"}, {"shift_jis", "Shift_JIS"}, {"sjis", "Shift_JIS"},
    {"windows-31j", "Shift_JIS"}, {"x-sjis", "Shift_JIS"},
    {"cseuckr", "EUC-KR"}, {"csksc56011987", "EUC-KR"}, {"euc-kr", "EUC-KR"},
    {"iso-ir-149", "EUC-KR"}, {"korean", "EUC-KR"}, {"ks_c_5601-1987", "EUC-KR"},
    {"ks_c_5601-1989", "EUC-KR"}, {"ksc5601", "EUC-KR"}, {"ksc_5601", "EUC-KR"},
    {"windows-949", "EUC-KR"},
    {"csiso2022kr", "replacement"}, {"hz-gb-2312", "replacement"}, {"iso-2022-cn", "replacement"},
    {"iso-2022-cn-ext", "replacement"}, {"iso-2022-kr", "replacement"},
    {"replacement", "replacement"},
    {"unicodefffe", "UTF-16BE"}, {"utf-16be", "UTF-16BE"},
    {"csunicode", "UTF-16LE"}, {"iso-10646-ucs-2", "UTF-16LE"}, {"ucs-2", "UTF-16LE"},
    {"unicode", "UTF-16LE"}, {"unicodefeff", "UTF-16LE"}, {"utf-16", "UTF-16LE"},
    {"utf-16le", "UTF-16LE"},
    {"x-user-defined", "x-user-defined"},
};
// clang-format on

// The encoding a charset label stands for; empty for a label no browser knows.
std::string_view EncodingFor(std::string_view label) {
  for (const EncodingLabel& entry : kEncodingLabels) {
    if (entry.label == label) return entry.encoding;
  }
  return {};
}

std::string_view AsChars(const Bytes& body) {
  return {reinterpret_cast<const char*>(body.data()), body.size()};
}

// x-user-defined keeps ASCII and maps every other byte into a private-use block.
std::u16string DecodeUserDefined(const Bytes& body) {
  std::u16string text(body.size(), u'\0');
  std::transform(body.begin(), body.end(), text.begin(), [](std::uint8_t byte) {
    return static_cast<char16_t>(byte < 0x80 ? byte : kUserDefinedBase + byte);
  });
  return text;
}

// Without a charset to go by: UTF-8 when the body is valid UTF-8, else code page 936.
std::u16string DecodeUndeclared(const Bytes& body) {
  const TextCodec& codec = SystemTextCodec();
  if (codec.IsValidUtf8(AsChars(body))) {
    return codec.DecodeCharset(AsChars(body), kUtf8).value_or(std::u16string());
  }
  return codec.GbkToUtf16(AsChars(body));
}

std::u16string DecodeBody(const Bytes& body, std::string_view contentType) {
  const TextCodec& codec = SystemTextCodec();
  const std::string_view encoding = EncodingFor(CharsetOf(contentType));
  // Servers that say gb2312 routinely send GBK, so the whole family is read as code page 936.
  if (encoding == kGbk) return codec.GbkToUtf16(AsChars(body));
  // Browsers refuse to decode these charsets at all: the body stands as one unknown character.
  if (encoding == kReplacement) return std::u16string(1, kReplacementCharacter);
  if (encoding == kUserDefined) return DecodeUserDefined(body);
  if (!encoding.empty()) {
    if (auto text = codec.DecodeCharset(AsChars(body), std::string(encoding))) {
      return *std::move(text);
    }
  }
  return DecodeUndeclared(body);
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
  const std::string utf8 = GbkToUtf8(text);
  return BytesOf(utf8);
}

}  // namespace vardelle
