// GBK <-> UTF-16 through tables read once from the system's code page 936, and the charsets
// of HTTP answers through the system's other code pages.
//
// The tables are the system's own mapping, walked by our rules: a lead byte whose next byte
// does not complete a character stands alone and the next byte is read afresh, and a byte
// that decodes to nothing becomes the lone surrogate U+DC00 + byte (in a GBK text) or U+FFFD
// (in an answer's charset). That is what ICU's windows-936 converter does on Linux, so both
// builds read every byte string alike. UTF-8 and UTF-16 are decoded here rather than by the
// system, whose count of U+FFFD for a broken UTF-8 sequence differs between Windows and Wine.
#include <windows.h>

#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/text/text_codec.h"
#include "support/windows/windows_engines.h"

namespace vardelle {
namespace {

constexpr UINT kGbkCodePage = 936;
constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;
// Byte 0xFF is no character of code page 936 to the system's strict conversion; ICU's
// windows-936 reads it as U+F8F5, and so the Linux build does. Pinned to that here.
constexpr std::uint8_t kLastByte = 0xFF;
constexpr char16_t kLastByteCharacter = 0xF8F5;

bool IsLeadSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One code unit for the bytes, or nothing when the code page does not decode them.
std::optional<char16_t> DecodeExactly(UINT codePage, std::string_view bytes) {
  wchar_t unit = 0;
  const int made = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                       static_cast<int>(bytes.size()), &unit, 1);
  if (made != 1) return std::nullopt;
  return static_cast<char16_t>(unit);
}

// What a code page of one- and two-byte characters makes of each byte and each pair.
class ByteTable {
 public:
  static constexpr char16_t kNothing = 0xFFFF;  // a noncharacter that no code page yields

  explicit ByteTable(UINT codePage) {
    for (int byte = 0; byte < 256; ++byte) {
      const char single = static_cast<char>(byte);
      lead_[byte] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != 0;
      singles_[byte] =
          lead_[byte] ? kNothing
                      : DecodeExactly(codePage, std::string_view(&single, 1)).value_or(kNothing);
      if (lead_[byte]) ReadPairs(codePage, byte);
    }
  }

  void SetSingle(std::uint8_t byte, char16_t unit) { singles_[byte] = unit; }

  // The unit that bytes[at] starts, and how many bytes it takes; kNothing (one byte) when
  // that byte starts no character.
  std::pair<char16_t, std::size_t> Read(std::string_view bytes, std::size_t at) const {
    const auto byte = static_cast<std::uint8_t>(bytes[at]);
    if (lead_[byte] && at + 1 < bytes.size()) {
      const char16_t unit = pairs_[PairIndex(byte, static_cast<std::uint8_t>(bytes[at + 1]))];
      if (unit != kNothing) return {unit, 2};
    }
    return {singles_[byte], 1};
  }

  // Calls visit(unit, byteCount, code) for every character the table decodes, code holding
  // the bytes big-end first; in byte order, so a unit reached twice meets its first bytes first.
  template <class Visit>
  void ForEachCharacter(Visit visit) const {
    for (int byte = 0; byte < 256; ++byte) {
      if (singles_[byte] != kNothing) visit(singles_[byte], 1, static_cast<std::uint16_t>(byte));
    }
    for (std::size_t index = 0; index < pairs_.size(); ++index) {
      if (pairs_[index] != kNothing) visit(pairs_[index], 2, static_cast<std::uint16_t>(index));
    }
  }

 private:
  static std::size_t PairIndex(std::uint8_t lead, std::uint8_t trail) {
    return std::size_t{lead} << 8 | trail;
  }

  void ReadPairs(UINT codePage, int lead) {
    if (pairs_.empty()) pairs_.assign(std::size_t{1} << 16, kNothing);
    for (int trail = 0; trail < 256; ++trail) {
      const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
      pairs_[PairIndex(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail))] =
          DecodeExactly(codePage, std::string_view(pair, 2)).value_or(kNothing);
    }
  }

  std::array<bool, 256> lead_{};
  std::array<char16_t, 256> singles_{};
  std::vector<char16_t> pairs_;  // by lead << 8 | trail; empty for a single-byte code page
};

// Decodes by the table; each byte that starts no character becomes undecodable(byte).
template <class Undecodable>
std::u16string DecodeByTable(const ByteTable& table, std::string_view bytes,
                             Undecodable undecodable) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const auto [unit, length] = table.Read(bytes, at);
    text += unit != ByteTable::kNothing ? unit : undecodable(static_cast<std::uint8_t>(bytes[at]));
    at += length;
  }
  return text;
}

char16_t EscapeByte(std::uint8_t byte) { return static_cast<char16_t>(kEscapeBase + byte); }
char16_t ReplaceByte(std::uint8_t) { return kReplacement; }

ByteTable GbkTable() {
  ByteTable table(kGbkCodePage);
  table.SetSingle(kLastByte, kLastByteCharacter);
  return table;
}

// The bytes of each UTF-16 unit that GBK holds, the table read backwards.
class GbkEncoder {
 public:
  explicit GbkEncoder(const ByteTable& table) {
    codes_.fill(kUnmapped);
    table.ForEachCharacter([this](char16_t unit, std::size_t length, std::uint16_t code) {
      if (codes_[unit] == kUnmapped) codes_[unit] = length == 1 ? code : code | kPairFlag;
    });
  }

  std::string Encode(std::u16string_view text) const {
    std::string gbk;
    gbk.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size(); ++at) {
      const char16_t unit = text[at];
      const std::uint32_t code = codes_[unit];
      if (IsLeadSurrogate(unit) && at + 1 < text.size() && IsTrailSurrogate(text[at + 1])) {
        gbk += '?';  // a character beyond U+FFFF, which GBK lacks
        ++at;
      } else if (code & kPairFlag) {
        gbk += static_cast<char>(code >> 8 & 0xFF);
        gbk += static_cast<char>(code & 0xFF);
      } else if (code != kUnmapped) {
        gbk += static_cast<char>(code);
      } else {
        gbk += IsEscape(unit) ? static_cast<char>(unit - kEscapeBase) : '?';
      }
    }
    return gbk;
  }

 private:
  static constexpr std::uint32_t kUnmapped = 0x20000;
  static constexpr std::uint32_t kPairFlag = 0x10000;

  // Only bytes from 0x80 up are ever escaped: ASCII always decodes to itself.
  static bool IsEscape(char16_t unit) { return unit >= kEscapeBase + 0x80 && unit <= 0xDCFF; }

  std::array<std::uint32_t, 1 << 16> codes_;
};

void AppendCodePoint(std::u16string& text, std::uint32_t codePoint) {
  if (codePoint < 0x10000) {
    text += static_cast<char16_t>(codePoint);
    return;
  }
  codePoint -= 0x10000;
  text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
  text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

// Walks UTF-8 as the WHATWG decoder does: a broken sequence gives one U+FFFD for its longest
// valid beginning, and the byte that broke it is read afresh. Answers whether all was valid.
template <class Sink>
bool ScanUtf8(std::string_view bytes, Sink sink) {
  bool valid = true;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto first = static_cast<std::uint8_t>(bytes[at++]);
    if (first < 0x80) {
      sink(first);
      continue;
    }
    int needed = 0;
    std::uint32_t codePoint = 0;
    std::uint8_t lower = 0x80;
    std::uint8_t upper = 0xBF;
    if (first >= 0xC2 && first <= 0xDF) {
      needed = 1;
      codePoint = first & 0x1Fu;
    } else if (first >= 0xE0 && first <= 0xEF) {
      needed = 2;
      codePoint = first & 0x0Fu;
      if (first == 0xE0) lower = 0xA0;  // no overlong forms
      if (first == 0xED) upper = 0x9F;  // no surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
      needed = 3;
      codePoint = first & 0x07u;
      if (first == 0xF0) lower = 0x90;
      if (first == 0xF4) upper = 0x8F;  // nothing past U+10FFFF
    } else {
      valid = false;
      sink(kReplacement);
      continue;
    }
    for (; needed > 0 && at < bytes.size(); --needed, ++at) {
      const auto next = static_cast<std::uint8_t>(bytes[at]);
      if (next < lower || next > upper) break;
      codePoint = codePoint << 6 | (next & 0x3Fu);
      lower = 0x80;
      upper = 0xBF;
    }
    if (needed > 0) valid = false;
    sink(needed > 0 ? std::uint32_t{kReplacement} : codePoint);
  }
  return valid;
}

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  ScanUtf8(bytes, [&text](std::uint32_t codePoint) { AppendCodePoint(text, codePoint); });
  return text;
}

// Unpaired surrogates and a last odd byte become U+FFFD.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2 + 1);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<std::uint8_t>(bytes[at]);
    const auto second = static_cast<std::uint8_t>(bytes[at + 1]);
    units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  std::u16string text;
  text.reserve(units.size() + 1);
  for (std::size_t at = 0; at < units.size(); ++at) {
    const bool pair =
        IsLeadSurrogate(units[at]) && at + 1 < units.size() && IsTrailSurrogate(units[at + 1]);
    if (pair) {
      text.append(units, at++, 2);
    } else {
      text += IsLeadSurrogate(units[at]) || IsTrailSurrogate(units[at]) ? kReplacement : units[at];
    }
  }
  if (bytes.size() % 2 != 0) text += kReplacement;
  return text;
}

// For code pages that no byte table can hold (more than two bytes a character, or shifting
// state): the system's own conversion and its own stand-in for what it cannot decode.
std::optional<std::u16string> DecodeBySystem(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::u16string text(static_cast<std::size_t>(needed), u'\0');
  const int made = MultiByteToWideChar(codePage, 0, bytes.data(), size,
                                       reinterpret_cast<wchar_t*>(text.data()), needed);
  if (made <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(made));
  return text;
}

// The code page for each encoding the WHATWG standard names that Windows has. UTF-8 and
// UTF-16 are decoded without one.
UINT CodePageFor(std::string_view encoding) {
  static constexpr std::pair<std::string_view, UINT> kCodePages[] = {
      {"IBM866", 866},         {"ISO-8859-2", 28592},
      {"ISO-8859-3", 28593},   {"ISO-8859-4", 28594},
      {"ISO-8859-5", 28595},   {"ISO-8859-6", 28596},
      {"ISO-8859-7", 28597},   {"ISO-8859-8", 28598},
      {"ISO-8859-8-I", 28598}, {"ISO-8859-10", 28600},
      {"ISO-8859-13", 28603},  {"ISO-8859-14", 28604},
      {"ISO-8859-15", 28605},  {"ISO-8859-16", 28606},
      {"KOI8-R", 20866},       {"KOI8-U", 21866},
      {"macintosh", 10000},    {"windows-874", 874},
      {"windows-1250", 1250},  {"windows-1251", 1251},
      {"windows-1252", 1252},  {"windows-1253", 1253},
      {"windows-1254", 1254},  {"windows-1255", 1255},
      {"windows-1256", 1256},  {"windows-1257", 1257},
      {"windows-1258", 1258},  {"x-mac-cyrillic", 10007},
      {"GBK", kGbkCodePage},   {"gb18030", 54936},
      {"Big5", 950},           {"EUC-JP", 20932},
      {"ISO-2022-JP", 50220},  {"Shift_JIS", 932},
      {"EUC-KR", 949},
  };
  for (const auto& [name, codePage] : kCodePages) {
    if (encoding == name) return codePage;
  }
  return 0;
}

bool FitsByteTable(UINT codePage) {
  CPINFO info{};
  return GetCPInfo(codePage, &info) != 0 && info.MaxCharSize <= 2;
}

class WindowsTextCodec final : public TextCodec {
 public:
  WindowsTextCodec() : gbk_(GbkTable()), encoder_(gbk_) {}

  std::u16string GbkToUtf16(std::string_view gbk) const override {
    return DecodeByTable(gbk_, gbk, EscapeByte);
  }

  std::string Utf16ToGbk(std::u16string_view text) const override { return encoder_.Encode(text); }

  std::optional<std::u16string> DecodeCharset(std::string_view bytes,
                                              const std::string& encoding) const override {
    if (encoding == "UTF-8") return DecodeUtf8(bytes);
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE") {
      return DecodeUtf16(bytes, encoding == "UTF-16BE");
    }
    const UINT codePage = CodePageFor(encoding);
    if (codePage == 0 || !IsValidCodePage(codePage)) return std::nullopt;
    if (!FitsByteTable(codePage)) return DecodeBySystem(codePage, bytes);
    return DecodeByTable(TableFor(codePage), bytes, ReplaceByte);
  }

  bool IsValidUtf8(std::string_view bytes) const override {
    return ScanUtf8(bytes, [](std::uint32_t) {});
  }

  std::string Utf16ToUtf8(std::u16string_view text) const override {
    std::string utf8;
    utf8.reserve(text.size() * 3);
    for (std::size_t at = 0; at < text.size(); ++at) {
      std::uint32_t codePoint = text[at];
      if (IsLeadSurrogate(text[at]) && at + 1 < text.size() && IsTrailSurrogate(text[at + 1])) {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[++at] - 0xDC00u);
      } else if (IsLeadSurrogate(text[at]) || IsTrailSurrogate(text[at])) {
        codePoint = kReplacement;
      }
      AppendUtf8(utf8, codePoint);
    }
    return utf8;
  }

 private:
  static void AppendUtf8(std::string& utf8, std::uint32_t codePoint) {
    const auto put = [&utf8](std::uint32_t bits) { utf8 += static_cast<char>(bits); };
    if (codePoint < 0x80) {
      put(codePoint);
    } else if (codePoint < 0x800) {
      put(0xC0 | codePoint >> 6);
      put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      put(0xE0 | codePoint >> 12);
      put(0x80 | (codePoint >> 6 & 0x3F));
      put(0x80 | (codePoint & 0x3F));
    } else {
      put(0xF0 | codePoint >> 18);
      put(0x80 | (codePoint >> 12 & 0x3F));
      put(0x80 | (codePoint >> 6 & 0x3F));
      put(0x80 | (codePoint & 0x3F));
    }
  }

  // Tables are read on first use, once each, and kept: building one asks the system up to
  // 33,000 times, an answer's decoding only looks it up.
  const ByteTable& TableFor(UINT codePage) const {
    if (codePage == kGbkCodePage) return gbk_;
    std::lock_guard guard(tablesMutex_);
    auto& table = tables_[codePage];
    if (!table) table = std::make_unique<const ByteTable>(codePage);
    return *table;
  }

  const ByteTable gbk_;
  const GbkEncoder encoder_;
  mutable std::mutex tablesMutex_;
  mutable std::map<UINT, std::unique_ptr<const ByteTable>> tables_;  // guarded by tablesMutex_
};

}  // namespace

std::unique_ptr<TextCodec> CreateWindowsTextCodec() { return std::make_unique<WindowsTextCodec>(); }

}  // namespace vardelle
