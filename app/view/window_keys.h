// What the main window's keys do, the same in both windows: each window turns its key events
// into a KeyPress and carries out the command answered.
#pragma once

#include <optional>
#include <vector>

#include "app/view/window_layout.h"

namespace vardelle {

enum class Key { kTab, kEnter, kSpace, kF5, kOther };

struct KeyPress {
  Key key;
  bool shift = false;
  bool control = false;
};

enum class KeyCommand {
  kNone,
  kFocusNext,
  kFocusPrevious,
  kNextPage,
  kPreviousPage,
  kPressFocused,  // the focused button, as a click would
  kStartTestRun
};

// focused: the layout's control with the keyboard focus, none for any other window.
KeyCommand MainWindowKeyCommand(KeyPress press, std::optional<Control> focused);

// The controls of a page that the keyboard reaches, in the layout table's order.
std::vector<Control> FocusOrder(int page);

// The control after (or before, backwards) focused in order, round the end; the first (last)
// when focused is none of them.
std::optional<Control> NextInFocusOrder(const std::vector<Control>& order,
                                        std::optional<Control> focused, bool backwards);

}  // namespace vardelle
