#include "support/text/response_text_decoding.h"

#include <gtest/gtest.h>

#include <string>

namespace vardelle {
namespace {

struct ResponseDecodeCase {
  const char* name;
  std::string contentType;
  std::string body;
  Text expected;
};

template <std::size_t N>
void ExpectDecodings(const ResponseDecodeCase (&cases)[N]) {
  for (const ResponseDecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeResponseText(BytesOf(c.body), c.contentType), c.expected);
  }
}

TEST(ResponseTextDecodingTest, DecodesByCharsetOrByContent) {
  const ResponseDecodeCase cases[] = {
      {"utf-8 declared", "text/html; charset=utf-8", "\xE4\xB8\xAD\xE6\x96\x87", "中文"},
      {"gb2312 declared, gbk sent", "text/html;charset=GB2312", "\xD6\xD0\x81\x40", "中\x81\x40"},
      {"quoted, upper case name", "text/plain; format=x; CHARSET=\"GBK\"", "\xD6\xD0", "中"},
      {"latin-1 declared", "text/plain; charset=iso-8859-1", "caf\xE9", "caf\xA8\xA6"},
      {"utf-8 sniffed", "text/plain", "\xE4\xB8\xAD", "中"},
      {"gbk sniffed", "", "\xD6\xD0\xCE\xC4", "中文"},
      {"unknown charset falls back", "text/plain; charset=x-no-such", "\xD6\xD0", "中"},
      {"empty charset falls back", "text/plain; charset=", "\xE4\xB8\xAD", "中"},
      {"converter options are no charset", "text/plain; charset=utf-8,swaplfnl", "\xD6\xD0", "中"},
      {"paths are no charset", "text/plain; charset=/tmp/x", "\xD6\xD0", "中"},
      {"no browser label falls back", "text/plain; charset=ibm-1386", "\xD6\xD0", "中"},
      {"shift_jis as windows-31j", "text/plain; charset=sjis", "\x82\xA0", "あ"},
      {"big5 label", "text/plain; charset=big5-hkscs", "\xA4\xA4", "中"},
      {"decoding refused", "text/plain; charset=ISO-2022-KR", "\x1B$)C\x0E!!", "?"},
      {"x-user-defined", "text/plain; charset=x-user-defined", "a\x80", "a?"},
      {"ascii", "application/json", "{\"a\":1}", "{\"a\":1}"},
      {"utf-8 byte order mark dropped", "", "\xEF\xBB\xBFok", "ok"},
      {"utf-16 with its mark", "text/plain; charset=utf-16", std::string("\xFF\xFE\x2D\x4E", 4),
       "中"},
      {"empty body", "text/plain; charset=utf-8", "", ""},
  };
  ExpectDecodings(cases);
}

// ICU's ISO-2022-KR converter took quadratic time on runs of high bytes (12 s for these).
TEST(ResponseTextDecodingTest, ConvertersOutsideTheBrowserLabelsAreNeverAsked) {
  const Bytes highBytes(150000, 0xFF);
  const Text decoded = DecodeResponseText(highBytes, "text/html; charset=ibm-25546");
  EXPECT_TRUE(decoded == DecodeResponseText(highBytes, "text/html")) << "not read as code page 936";
}

// Whatever arrives, the text holds only whole GBK characters: no lone lead byte that could
// swallow the character after it.
TEST(ResponseTextDecodingTest, WhatGbkCannotHoldBecomesQuestionMarks) {
  const ResponseDecodeCase cases[] = {
      {"emoji", "text/plain; charset=utf-8", "a\xF0\x9F\x98\x80z", "a?z"},
      {"broken utf-8 declared", "text/plain; charset=utf-8", "a\xC3z", "a?z"},
      {"lone surrogate in utf-16", "text/plain; charset=utf-16le", std::string("a\0\xC1\xDCz\0", 6),
       "a?z"},
      {"cut gbk character at the end", "text/plain; charset=gbk", "ab\xD6", "ab?"},
  };
  ExpectDecodings(cases);
}

TEST(ResponseTextDecodingTest, TextBodiesGoOutAsUtf8) {
  const struct {
    Text text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"plain ascii", "plain ascii"},
      {"中文", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"a\x81", "a\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EncodeRequestText(c.text), BytesOf(c.expected));
  }
}

}  // namespace
}  // namespace vardelle
