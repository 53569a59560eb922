// What the mini view (小窗) shows: a small window over the game listing the servers the
// player chose, each with its latency in its row's colour. The application computes it
// whole; the window only draws it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/view/colour.h"

namespace vardelle {

// The menu items' captions: 小窗 in the row menu and the tray's, 移出小窗 in the row menu
// (in place of 小窗 for a listed server) and the mini view's own, 点击穿透 in the mini view's
// own menu and the tray's.
inline constexpr char kMiniViewMenuText[] = "小窗";
inline constexpr char kRemoveFromMiniViewMenuText[] = "移出小窗";
inline constexpr char kClickThroughMenuText[] = "点击穿透";

// A place on the screen: a window's top-left corner in pixels.
struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// One chosen server: its name, its latency cell's text and the colours its table row has.
struct MiniViewRow {
  std::string name{};
  std::string latency{};
  Colour textColour = kDefaultColour;
  Colour backColour = kDefaultColour;
  friend bool operator==(const MiniViewRow&, const MiniViewRow&) = default;
};

struct MiniViewState {
  bool shown = false;
  // Clicks pass through it to the game below.
  bool clickThrough = false;
  // Where the player last put it; none: the window's own choice.
  std::optional<ScreenPoint> place{};
  std::vector<MiniViewRow> rows{};
  friend bool operator==(const MiniViewState&, const MiniViewState&) = default;
};

}  // namespace vardelle
