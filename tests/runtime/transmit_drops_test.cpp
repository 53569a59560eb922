#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/linux/icmp_engine_linux.h"

namespace vardelle {
namespace {

TEST(SumTransmitDropsTest, AddsEveryInterfacesTwelfthFigure) {
  const std::string heading =
      "Inter-|   Receive                                                |  Transmit\n"
      " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs "
      "drop fifo colls carrier compressed\n";
  const struct {
    std::string name;
    std::string text;
    std::optional<std::uint64_t> sum;
  } cases[] = {
      {"two interfaces",
       heading + "    lo: 1000 10 0 7 0 0 0 0 1000 10 0 0 0 0 0 0\n"
                 " vtun0: 0 0 0 0 0 0 0 0 14020 500 0 501 0 0 0 0\n"
                 "  eth0:123456789012 3 0 0 0 0 0 0 5 5 0 4294967296 0 0 0 0\n",
       501 + 4294967296ull},
      {"no interface", heading, std::nullopt},
      {"a line cut short", heading + "    lo: 1000 10 0 7 0 0 0 0 1000 10 0\n", std::nullopt},
      {"not a number", heading + "    lo: 1000 10 0 7 0 0 0 0 1000 10 0 x 0 0 0 0\n", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SumTransmitDrops(c.text), c.sum) << c.name;
  }
}

}  // namespace
}  // namespace vardelle
