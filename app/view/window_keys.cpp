#include "app/view/window_keys.h"

#include <algorithm>

namespace vardelle {
namespace {

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::kReport || kind == ControlKind::kDropDown ||
         kind == ControlKind::kButton || kind == ControlKind::kLink;
}

KeyCommand TabCommand(KeyPress press) {
  if (press.control) return press.shift ? KeyCommand::kPreviousPage : KeyCommand::kNextPage;
  return press.shift ? KeyCommand::kFocusPrevious : KeyCommand::kFocusNext;
}

}  // namespace

KeyCommand MainWindowKeyCommand(KeyPress press, std::optional<Control> focused) {
  switch (press.key) {
    case Key::kTab:
      return TabCommand(press);
    case Key::kF5:
      return KeyCommand::kStartTestRun;
    case Key::kEnter:
    case Key::kSpace:
      return focused && LayoutOf(*focused).kind == ControlKind::kButton ? KeyCommand::kPressFocused
                                                                        : KeyCommand::kNone;
    case Key::kOther:
      return KeyCommand::kNone;
  }
  return KeyCommand::kNone;
}

std::vector<Control> FocusOrder(int page) {
  std::vector<Control> order;
  for (const ControlLayout& layout : ControlLayouts()) {
    if (layout.page == page && TakesFocus(layout.kind)) order.push_back(layout.control);
  }
  return order;
}

std::optional<Control> NextInFocusOrder(const std::vector<Control>& order,
                                        std::optional<Control> focused, bool backwards) {
  if (order.empty()) return std::nullopt;
  const auto found = std::find(order.begin(), order.end(), focused);
  if (found == order.end()) return backwards ? order.back() : order.front();
  const auto index = static_cast<std::size_t>(found - order.begin());
  const std::size_t step = backwards ? order.size() - 1 : 1;
  return order[(index + step) % order.size()];
}

}  // namespace vardelle
