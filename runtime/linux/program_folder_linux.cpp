#include <limits.h>
#include <unistd.h>

#include <array>
#include <string_view>

#include "runtime/platform.h"

namespace vardelle {

std::string ProgramFolder() {
  std::array<char, PATH_MAX> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) == path.size()) return "";
  const std::string_view text(path.data(), static_cast<std::size_t>(length));
  const std::size_t slash = text.rfind('/');
  return slash == std::string_view::npos ? "" : std::string(text.substr(0, slash));
}

}  // namespace vardelle
