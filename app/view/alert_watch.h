// What a player watches on one row of the server table.
#pragma once

#include <optional>

namespace vardelle {

// Thresholds of a watch without settings: a round trip a player notices in a fight, and a
// loss that shows as rubber-banding.
inline constexpr int kDefaultWatchLatencyOverMs = 150;
inline constexpr int kDefaultWatchLossOverPercent = 10;

enum class StatusWatch {
  kAnyChange,      // every confirmed change of the word
  kBecomesNormal,  // only a change to 正常: a region back from 维护 or 停机
};

// What is watched on one row; nothing set watches nothing.
struct AlertWatch {
  std::optional<StatusWatch> status{};
  std::optional<int> latencyOverMs{};
  std::optional<int> lossOverPercent{};
  bool IsEmpty() const { return !status && !latencyOverMs && !lossOverPercent; }
  friend bool operator==(const AlertWatch&, const AlertWatch&) = default;
};

}  // namespace vardelle
