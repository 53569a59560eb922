// The code page 936 codec built from the system's tables: every GBK character there and
// back, every undecodable byte kept, and the same reading as the Linux build's ICU codec.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/text/text_codec.h"

namespace vardelle {
namespace {

std::string Bytes2(int lead, int trail) {
  return {static_cast<char>(lead), static_cast<char>(trail)};
}

bool IsTrail(int byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

std::u16string Units(std::initializer_list<char16_t> units) { return std::u16string(units); }

TEST(WindowsGbkTable, EveryCharacterComesBackAsItsBytes) {
  int failures = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (!IsTrail(trail)) continue;
      const std::string gbk = Bytes2(lead, trail);
      const std::u16string text = ToUtf16(gbk);
      const bool whole = text.size() == 1 && (text[0] < 0xDC80 || text[0] > 0xDCFF);
      if ((!whole || ToGbk(text) != gbk) && ++failures <= 5) {
        ADD_FAILURE() << std::hex << lead << ' ' << trail << " -> " << (text.empty() ? 0 : text[0]);
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

// A lead byte that no trail byte follows stands alone as an escape; the byte after it is
// read afresh, whatever it is.
TEST(WindowsGbkTable, EveryUndecodableByteIsEscapedAndComesBack) {
  int failures = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    const std::u16string alone = ToUtf16(std::string(1, static_cast<char>(lead)));
    if (alone != Units({static_cast<char16_t>(0xDC00 + lead)}) && ++failures <= 5) {
      ADD_FAILURE() << "lead " << std::hex << lead << " alone";
    }
    for (int next = 0; next <= 0xFF; ++next) {
      if (IsTrail(next)) continue;
      const std::string gbk = Bytes2(lead, next);
      const std::u16string text = ToUtf16(gbk);
      const bool escaped = text.size() == 2 && text[0] == 0xDC00 + lead &&
                           text.substr(1) == ToUtf16(std::string(1, static_cast<char>(next)));
      if ((!escaped || ToGbk(text) != gbk) && ++failures <= 5) {
        ADD_FAILURE() << std::hex << lead << ' ' << next;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

// FNV-1a over the UTF-16 units (low byte first) of every two-byte character, lead 0x81 to
// 0xFE, trail 0x40 to 0xFE without 0x7F: the value the Linux build's codec gives.
TEST(WindowsGbkTable, AgreesWithTheLinuxCodecEverywhere) {
  constexpr std::uint32_t kLinuxTableDigest = 0xAA3C9BE9;
  std::uint32_t digest = 0x811C9DC5;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (!IsTrail(trail)) continue;
      const std::u16string text = ToUtf16(Bytes2(lead, trail));
      const std::uint32_t unit = text.size() == 1 ? text[0] : 0;
      for (const std::uint32_t byte : {unit & 0xFFu, unit >> 8u}) {
        digest = (digest ^ byte) * 0x01000193u;
      }
    }
  }
  EXPECT_EQ(digest, kLinuxTableDigest);
}

TEST(WindowsGbkTable, AgreesWithTheLinuxCodecOnSamples) {
  const struct {
    std::string gbk;
    std::u16string utf16;
  } cases[] = {
      {"\x80", u"\u20AC"},
      {"\xFF", u"\uF8F5"},  // Windows and Wine leave 0xFF undecoded; ICU's table does not
      {"\x81\x40", u"\u4E02"},
      {"\xA1\xA1", u"\u3000"},
      {"\xA1\xA4", u"\u00B7"},
      {"\xA1\x40", u"\uE4C6"},
      {"\xA2\xE3", u"\uE76C"},
      {"\xA6\xD9", u"\uE78D"},
      {"\xA8\xBF", u"\uE7C8"},
      {"\xAA\xA1", u"\uE000"},
      {"\xD7\xFA", u"\uE810"},
      {"\xFE\x50", u"\uE815"},
      {"\xFE\xFE", u"\uE4C5"},
      {"\xA3\xA4", u"\uFFE5"},
      {"\x81\xFF", Units({0xDC81, 0xF8F5})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.gbk));
    EXPECT_EQ(ToUtf16(c.gbk), c.utf16);
    EXPECT_EQ(ToGbk(c.utf16), c.gbk);
  }
}

// The system's UTF-8 decoder (Wine's) gives fewer U+FFFD for broken sequences than ICU and
// the WHATWG standard; the codec decodes UTF-8 itself, one U+FFFD per maximal broken part.
TEST(WindowsCharsets, Utf8AsTheWhatwgDecoderReadsIt) {
  const char16_t r = 0xFFFD;
  const struct {
    std::string bytes;
    std::u16string text;
    bool valid;
  } cases[] = {
      {"a\xE4\xB8\xAD", u"a\u4E2D", true},
      {"\xF0\x9F\x98\x80", u"\U0001F600", true},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
      {"\xC0\x80", Units({r, r}), false},
      {"\xE0\x80\x80", Units({r, r, r}), false},
      {"\xED\xA0\x80", Units({r, r, r}), false},
      {"\xF4\x90\x80\x80", Units({r, r, r, r}), false},
      {"\xE4\xB8z", Units({r, u'z'}), false},
      {"\xF0\x9F\x98", Units({r}), false},
      {"\xF1\x80\x80\xE1\x80\xC0\xC3\xA9", Units({r, r, r, 0xE9}), false},
      {"\xFF", Units({r}), false},
  };
  const TextCodec& codec = SystemTextCodec();
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(codec.DecodeCharset(c.bytes, "UTF-8"), c.text);
    EXPECT_EQ(codec.IsValidUtf8(c.bytes), c.valid);
  }
}

TEST(WindowsCharsets, OtherEncodingsByName) {
  const char16_t r = 0xFFFD;
  const struct {
    const char* encoding;
    std::string bytes;
    std::optional<std::u16string> text;
  } cases[] = {
      {"UTF-16LE",
       std::string("-N\x00\xD8"
                   "A\x00",
                   6),
       Units({0x4E2D, r, u'A'})},
      {"UTF-16LE", "a", Units({r})},
      {"UTF-16BE", std::string("\xD8\x3D\xDE\x00", 4), u"\U0001F600"},
      {"windows-1251", "\xC0\xFF", u"\u0410\u044F"},
      {"Shift_JIS", "\x82\xA0\x81", Units({0x3042, r})},
      {"GBK",
       "\xD6\xD0\x81"
       "1",
       Units({0x4E2D, r, u'1'})},
      {"x-no-such", "a", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.encoding);
    EXPECT_EQ(SystemTextCodec().DecodeCharset(c.bytes, c.encoding), c.text);
  }
}

TEST(WindowsCharsets, Utf16ToUtf8ReplacesLoneSurrogates) {
  const struct {
    std::u16string text;
    std::string utf8;
  } cases[] = {
      {u"\u4E2D\u0080", "\xE4\xB8\xAD\xC2\x80"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {Units({0xD800, u'a'}),
       "\xEF\xBF\xBD"
       "a"},
      {Units({0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemTextCodec().Utf16ToUtf8(c.text), c.utf8);
}

}  // namespace
}  // namespace vardelle
