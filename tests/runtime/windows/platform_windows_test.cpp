// The Windows platform services that convert at the system's edge: addresses, clock, names,
// folders and the console.
#include <windows.h>
#include <io.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "runtime/platform.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

TEST(WindowsPlatformTest, OnlyPlainDottedAddressesParse) {
  const struct {
    const char* text;
    std::optional<Ipv4Address> expected;
  } cases[] = {
      {"127.0.0.1", 0x0100007f},
      {"255.255.255.255", 0xffffffff},
      {"0.0.0.0", 0},
      {"", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"256.0.0.1", std::nullopt},
      {" 1.2.3.4", std::nullopt},
      {"1.2.3.4 ", std::nullopt},
      {"0x7f.0.0.1", std::nullopt},
      {"localhost", std::nullopt},
      {"::1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDottedIpv4(c.text), c.expected) << c.text;
}

TEST(WindowsPlatformTest, ResolverAnswersDottedTextWithoutAskingTheNetwork) {
  const auto resolver = CreateSystemResolver();
  EXPECT_EQ(resolver->FirstIpv4Address("localhost"), "127.0.0.1");
  EXPECT_EQ(resolver->FirstIpv4Address("127.0.0.9"), "127.0.0.9");
  EXPECT_EQ(resolver->FirstIpv4Address(""), "");
  EXPECT_EQ(resolver->FirstIpv4Address(std::string("127.0.0.1\0.evil", 15)), "");
  EXPECT_EQ(resolver->FirstAddress("0:0::1", AddressFamilies::kIpv6First), "::1");
  EXPECT_EQ(resolver->FirstAddress("::1", AddressFamilies::kIpv4Only), "");
  EXPECT_EQ(resolver->FirstAddress("127.0.0.9", AddressFamilies::kIpv6First), "127.0.0.9");
}

// A code-page-936 console reads UTF-8 bytes as other characters ("鐢典俊" for 电信): text for
// a console goes as UTF-16, and reads back right in its cells. Standard error is lent to a
// console of the test's own for the while.
TEST(WindowsPlatformTest, StandardTextReadsRightOnAChineseConsole) {
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  SetConsoleOutputCP(936);
  const HANDLE console =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(console, INVALID_HANDLE_VALUE);
  std::fflush(stderr);
  const int keptError = _dup(2);
  const int consoleFile = _open_osfhandle(reinterpret_cast<intptr_t>(console), 0);
  _dup2(consoleFile, 2);
  // 电信01区 in UTF-8.
  const std::string text = "\xe7\x94\xb5\xe4\xbf\xa1"
                           "01\xe5\x8c\xba\n";
  WriteStandardText(StandardStream::kError, text);
  _dup2(keptError, 2);
  _close(keptError);

  std::wstring cells(16, L' ');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(console, cells.data(), static_cast<DWORD>(cells.size()), {0, 0},
                              &read);
  _close(consoleFile);
  FreeConsole();
  EXPECT_TRUE(cells.starts_with(L"\u7535\u4fe101\u533a")) << read;
}

// The system's own idea of the local time; read again if a minute turned over meanwhile.
TEST(WindowsPlatformTest, LocalClockTimeIsTheSystemsLocalTime) {
  for (int tries = 0; tries < 3; ++tries) {
    SYSTEMTIME before{};
    GetLocalTime(&before);
    const ClockTime clock = LocalClockTime(std::chrono::system_clock::now());
    SYSTEMTIME after{};
    GetLocalTime(&after);
    if (before.wMinute != after.wMinute) continue;
    EXPECT_EQ(clock.hour, before.wHour);
    EXPECT_EQ(clock.minute, before.wMinute);
    return;
  }
  FAIL() << "the minute kept turning over";
}

TEST(WindowsPlatformTest, ApplicationDataIsTheRoamingFolder) {
  const std::optional<std::string> folder = UserApplicationDataFolder();
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder, EnvironmentVariable("APPDATA"));
}

TEST(WideTextTest, GbkAndUtf16MeetWithoutLookAlikes) {
  const struct {
    std::wstring wide;
    std::string gbk;
    bool exact;
  } cases[] = {
      {L"plain", "plain", true},
      {L"中文 路径", "中文 路径", true},
      {L"é", "é", true},  // in GBK, among the pinyin letters
      {L"한", "?", false},
      {L"ŵ", "?", false},  // a best-fit mapping would make it 'w'
      {L"", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbkFromWide(c.wide), c.gbk) << c.gbk;
    EXPECT_EQ(ExactGbkFromWide(c.wide).has_value(), c.exact) << c.gbk;
    if (c.exact) {
      EXPECT_EQ(WideFromGbk(c.gbk), c.wide) << c.gbk;
    }
  }
}

}  // namespace
}  // namespace vardelle
