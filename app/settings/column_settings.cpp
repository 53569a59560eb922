#include "app/settings/column_settings.h"

#include <charconv>

#include "support/files/file_access.h"
#include "support/files/profile_reader.h"

namespace vardelle {
namespace {

constexpr char kColumnSection[] = "table";
constexpr char kShownColumnsKey[] = "shownColumns";

}  // namespace

BackgroundProfileWriter& SettingsWriter() {
  static BackgroundProfileWriter* const writer = new BackgroundProfileWriter;
  return *writer;
}

std::optional<Text> ReadSettingsValue(const Text& path, const char* section, const char* key) {
  SettingsWriter().Flush();
  const std::optional<std::string> contents = ReadWholeFile(path, true);
  return contents ? FindProfileString(*contents, section, key) : std::nullopt;
}

void SaveSettingsValue(const Text& path, const char* section, const char* key, const Text& value) {
  if (!path.empty()) SettingsWriter().Write(path, {{section, key, value}});
}

std::vector<int> ReadShownColumns(const Text& path) {
  const std::optional<Text> value = ReadSettingsValue(path, kColumnSection, kShownColumnsKey);
  std::vector<int> columns;
  if (!value) return columns;
  const char* next = value->data();
  const char* const end = value->data() + value->size();
  while (next < end) {
    int column = 0;
    const auto [after, error] = std::from_chars(next, end, column);
    if (error != std::errc()) break;
    columns.push_back(column);
    next = after + 1;  // past the ","
  }
  return columns;
}

void SaveShownColumns(const Text& path, const std::vector<int>& columns) {
  Text value;
  for (const int column : columns) value += (value.empty() ? "" : ",") + std::to_string(column);
  SaveSettingsValue(path, kColumnSection, kShownColumnsKey, value);
}

}  // namespace vardelle
