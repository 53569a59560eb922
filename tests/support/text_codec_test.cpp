#include "support/text/text_codec.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

struct DecodeCase {
  const char* name;
  std::string gbk;
  std::u16string utf16;
};

class TextCodecDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextCodecDecode, GbkToUtf16) { EXPECT_EQ(ToUtf16(GetParam().gbk), GetParam().utf16); }

TEST_P(TextCodecDecode, Utf16ToGbkGivesTheBytesBack) {
  EXPECT_EQ(ToGbk(GetParam().utf16), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextCodecDecode,
    ::testing::Values(DecodeCase{"empty", "", u""},
                    DecodeCase{"ascii", "Ping 10ms\t\n", u"Ping 10ms\t\n"},
                    DecodeCase{"zeroByte", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    DecodeCase{"chinese", "大区状态", u"大区状态"},
                    DecodeCase{"gbkExtension", "\x81\x40", u"\u4E02"},
                    DecodeCase{"euro", "\x80", u"\u20AC"},
                    DecodeCase{"loneLeadAtEnd", "a\xB0", u"a\xDCB0"},
                    DecodeCase{"leadBeforeAscii",
                               "\xB0"
                               "1",
                               u"\xDCB0"
                               "1"},
                    DecodeCase{"leadBeforeDel", "\x81\x7F", u"\xDC81\x7F"},
                    DecodeCase{"leadBeforeTab", "\xB0\t\xB0\xA1", u"\xDCB0\t\u554A"}),
    CaseName<DecodeCase>);

struct EncodeCase {
  const char* name;
  std::u16string utf16;
  std::string gbk;
};

class TextCodecEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(TextCodecEncode, Utf16ToGbk) { EXPECT_EQ(ToGbk(GetParam().utf16), GetParam().gbk); }

INSTANTIATE_TEST_SUITE_P(Text, TextCodecEncode,
                         ::testing::Values(EncodeCase{"notInGbk", u"a\u0E01b", "a?b"},
                                         EncodeCase{"supplementary", u"\U0001F600x", "?x"},
                                         EncodeCase{"escapedByte", u"\xDC81\xDCFF", "\x81\xFF"},
                                         EncodeCase{"asciiEscapeIsNotAByte", u"\xDC41", "?"},
                                         EncodeCase{"loneHighSurrogate",
                                                    u"\xD800"
                                                    "a",
                                                    "?a"},
                                         EncodeCase{"loneHighSurrogateAtEnd", u"a\xD800", "a?"},
                                         EncodeCase{"otherLowSurrogate", u"\xDE00", "?"}),
                         CaseName<EncodeCase>);

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15], ' '};
  }
  return hex;
}

void ExpectRoundTrip(const std::string& gbk) {
  const std::string back = ToGbk(ToUtf16(gbk));
  EXPECT_TRUE(back == gbk) << Hex(gbk.substr(0, 16)) << "came back as " << Hex(back.substr(0, 16));
}

TEST(TextCodecRoundTrip, EveryByteAlone) {
  for (int b = 0; b < 256; ++b) ExpectRoundTrip(Byte(b));
}

TEST(TextCodecRoundTrip, EveryLeadWithEveryNextByte) {
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int next = 0; next < 256; ++next) {
      ExpectRoundTrip(Byte(lead) + Byte(next));
      ExpectRoundTrip(Byte(lead) + Byte(next) + Byte(lead));
      ExpectRoundTrip("a" + Byte(lead) + Byte(next) + "\xB0");
      if (::testing::Test::HasFailure()) return;
    }
  }
}

// Long enough to be converted in several pieces, so characters are split between pieces.
TEST(TextCodecRoundTrip, RandomBytes) {
  std::mt19937 random(20240501);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t size : {1u, 2u, 3u, 17u, 65535u, 65536u, 65537u, 300001u}) {
    std::string gbk(size, '\0');
    for (char& c : gbk) c = static_cast<char>(byte(random));
    ExpectRoundTrip(gbk);
  }
}

TEST(TextCodecRoundTrip, ChineseAcrossPieceBoundaries) {
  for (std::size_t prefix : {0u, 1u}) {
    std::string gbk(prefix, 'a');
    while (gbk.size() < 200000) gbk += "艾欧尼亚";
    std::u16string expected(prefix, u'a');
    while (expected.size() < prefix + (gbk.size() - prefix) / 2) expected += u"艾欧尼亚";
    EXPECT_EQ(ToUtf16(gbk), expected);
    ExpectRoundTrip(gbk);
  }
}

TEST(TextCodecThreads, ConcurrentConversionsAgree) {
  const std::string gbk = "服务器名称 \x81\xFF 延迟";
  const std::u16string expected = ToUtf16(gbk);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int& count : mismatches) {
    threads.emplace_back([&gbk, &expected, &count] {
      for (int i = 0; i < 2000; ++i) {
        const std::u16string utf16 = ToUtf16(gbk);
        if (utf16 != expected || ToGbk(utf16) != gbk) ++count;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace vardelle
