#include "support/files/replacement_names.h"

#include <charconv>

namespace vardelle {
namespace {

constexpr std::string_view kInfix = ".tmp";

// The decimal number at the start of text, moving text past it; nothing when text starts
// with no digit or the number does not fit.
std::optional<unsigned long> TakeNumber(std::string_view& text) {
  unsigned long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return number;
}

}  // namespace

std::string ReplacementName(std::string_view file, unsigned long process, unsigned count) {
  return std::string(file) + std::string(kInfix) + std::to_string(process) + "-" +
         std::to_string(count);
}

std::optional<unsigned long> ReplacementWriter(std::string_view candidate, std::string_view file) {
  if (!candidate.starts_with(file)) return std::nullopt;
  candidate.remove_prefix(file.size());
  if (!candidate.starts_with(kInfix)) return std::nullopt;
  candidate.remove_prefix(kInfix.size());
  const std::optional<unsigned long> process = TakeNumber(candidate);
  if (!process || !candidate.starts_with('-')) return std::nullopt;
  candidate.remove_prefix(1);
  if (!TakeNumber(candidate) || !candidate.empty()) return std::nullopt;
  return process;
}

}  // namespace vardelle
