// The judgement of answers that cannot be the servers': fake-IP ranges, nearby networks, and
// which rows of a tick a proxy answered for.
#include "app/test_run/honest_answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vardelle {
namespace {

TEST(HonestAnswersTest, RangesAndNearbyAddresses) {
  const AddressRange fake = ProxyFakeAddresses();
  struct Case {
    const char* address;
    bool fake;
    bool nearby;
  };
  for (const Case& c : std::vector<Case>{{"198.18.0.7", true, false},
                                         {"198.19.255.255", true, false},
                                         {"198.20.0.1", false, false},
                                         {"198.17.255.255", false, false},
                                         {"127.0.0.2", false, true},
                                         {"10.1.2.3", false, true},
                                         {"172.16.0.1", false, true},
                                         {"172.32.0.1", false, false},
                                         {"192.168.1.1", false, true},
                                         {"169.254.0.5", false, true},
                                         {"100.64.0.1", false, true},
                                         {"61.151.1.2", false, false},
                                         {"::1", false, true},
                                         {"fe80::1", false, true},
                                         {"FD00::2", false, true},
                                         {"2408:8000::1", false, false},
                                         {"", false, false},
                                         {"example.com", false, false}}) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(IsInRange(c.address, fake), c.fake);
    EXPECT_EQ(IsNearbyAddress(c.address), c.nearby);
  }
  EXPECT_EQ(ParseAddressRange("10.9.8.7/8"), (AddressRange{0x0A000000, 8}));
  EXPECT_EQ(ParseAddressRange("0.0.0.0/0"), (AddressRange{0, 0}));
  for (const char* bad : {"198.18.0.0", "198.18.0.0/33", "198.18.0.0/", "198.18/15", "x/15",
                          "198.18.0.0/1a", "198.18.0.0/-1"}) {
    EXPECT_FALSE(ParseAddressRange(bad)) << bad;
  }
}

TEST(HonestAnswersTest, InterceptedRowsOfATick) {
  struct Case {
    const char* name;
    std::vector<AnsweredRow> answered;
    std::vector<std::uint64_t> intercepted;
  };
  const std::vector<Case> cases{
      {"the demo world: loopback within a millisecond",
       {{{1}, "127.0.0.2", 0}, {{2}, "127.0.0.3", 0}, {{3}, "127.0.0.4", 0}, {{4}, "127.0.0.5", 0}},
       {}},
      {"a LAN server answering at once", {{{1}, "192.168.1.20", 0}, {{2}, "61.151.1.2", 31}}, {}},
      {"a remote server answering within a millisecond",
       {{{1}, "61.151.1.2", 0}, {{2}, "183.60.3.4", 28}},
       {1}},
      {"a fake address is told on its own", {{{1}, "198.18.0.7", 0}, {{2}, "183.60.3.4", 28}}, {}},
      {"every remote row alike: a TUN-mode accelerator",
       {{{1}, "61.151.1.2", 35},
        {{2}, "183.60.3.4", 36},
        {{3}, "125.88.1.1", 35},
        {{4}, "220.181.5.6", 36},
        {{5}, "127.0.0.2", 0}},
       {1, 2, 3, 4}},
      {"real servers across the country",
       {{{1}, "61.151.1.2", 31},
        {{2}, "183.60.3.4", 8},
        {{3}, "125.88.1.1", 19},
        {{4}, "220.181.5.6", 44}},
       {}},
      {"alike, but three rows only",
       {{{1}, "61.151.1.2", 35}, {{2}, "183.60.3.4", 35}, {{3}, "125.88.1.1", 35}},
       {}},
      {"alike, but all in one /16: one machine room",
       {{{1}, "61.151.1.2", 30},
        {{2}, "61.151.2.2", 30},
        {{3}, "61.151.3.2", 31},
        {{4}, "61.151.4.2", 30}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint64_t> rows;
    for (const RowId row : InterceptedRows(c.answered, ProxyFakeAddresses())) {
      rows.push_back(row.value);
    }
    EXPECT_EQ(rows, c.intercepted);
  }
}

}  // namespace
}  // namespace vardelle
