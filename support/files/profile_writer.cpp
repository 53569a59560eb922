#include "support/files/profile_writer.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <string_view>

#include "support/files/file_access.h"
#include "support/files/profile_reader.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

constexpr std::string_view kNewLineEnd = "\r\n";

// Writers of this process take turns, so two writes to one file never drop each other's
// keys.
std::mutex writeMutex;

// One line of the file: its bytes without the line end, and the line end as found ("" on a
// last line that has none).
struct ProfileLine {
  std::string content;
  std::string ending;
};

std::vector<ProfileLine> SplitLines(std::string_view file) {
  std::vector<ProfileLine> lines;
  while (!file.empty()) {
    const std::size_t feed = file.find('\n');
    const std::size_t taken = feed == file.npos ? file.size() : feed + 1;
    std::string_view content = file.substr(0, feed);
    if (feed != file.npos && content.ends_with('\r')) content.remove_suffix(1);
    lines.push_back(
        {std::string(content), std::string(file.substr(content.size(), taken - content.size()))});
    file.remove_prefix(taken);
  }
  return lines;
}

std::string JoinLines(const std::vector<ProfileLine>& lines) {
  std::string file;
  for (const ProfileLine& line : lines) file.append(line.content).append(line.ending);
  return file;
}

// Readers trim the full-width space as well, so it must not hide a leading "[".
bool ReadsAsSection(std::string_view key) {
  constexpr std::string_view kFullWidthSpace = "　";
  for (;;) {
    if (key.starts_with(' ') || key.starts_with('\t')) {
      key.remove_prefix(1);
    } else if (key.starts_with(kFullWidthSpace)) {
      key.remove_prefix(kFullWidthSpace.size());
    } else {
      return key.starts_with('[');
    }
  }
}

bool IsSafe(const ProfileEntry& entry) {
  constexpr std::string_view kLineEnds("\r\n\0\x1a", 4);
  for (const Text* text : {&entry.section, &entry.key, &entry.value}) {
    if (text->find_first_of(kLineEnds) != Text::npos) return false;
  }
  return entry.key.find('=') == Text::npos && !ReadsAsSection(entry.key);
}

// Puts a new line after index `after`, giving the line before it a line end if it had none.
void InsertLine(std::vector<ProfileLine>& lines, std::size_t after, std::string content) {
  if (lines[after].ending.empty()) lines[after].ending = kNewLineEnd;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1,
               {std::move(content), std::string(kNewLineEnd)});
}

void AppendSection(std::vector<ProfileLine>& lines, const ProfileEntry& entry) {
  if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kNewLineEnd;
  lines.push_back({"[" + entry.section + "]", std::string(kNewLineEnd)});
  lines.push_back({entry.key + "=" + entry.value, std::string(kNewLineEnd)});
}

void ApplyEntry(std::vector<ProfileLine>& lines, const ProfileEntry& entry) {
  std::size_t i = 0;
  while (i < lines.size() && !IsProfileSectionOf(lines[i].content, entry.section)) ++i;
  if (i == lines.size()) {
    if (!entry.remove) AppendSection(lines, entry);
    return;
  }
  std::size_t lastFilled = i;
  for (std::size_t j = i + 1; j < lines.size() && !ProfileSectionName(lines[j].content); ++j) {
    if (IsProfileKeyLine(lines[j].content, entry.key)) {
      if (entry.remove) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
      } else {
        lines[j].content = entry.key + "=" + entry.value;
      }
      return;
    }
    if (!TrimAsciiBlanks(lines[j].content).empty()) lastFilled = j;
  }
  if (!entry.remove) InsertLine(lines, lastFilled, entry.key + "=" + entry.value);
}

}  // namespace

bool WriteProfileString(const Text& section, const Text& key, const Text& value, const Text& path) {
  return WriteProfileStrings({{section, key, value}}, path);
}

bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, const Text& path) {
  std::vector<const ProfileEntry*> safe;
  for (const ProfileEntry& entry : entries) {
    if (IsSafe(entry)) safe.push_back(&entry);
  }
  const bool allSafe = safe.size() == entries.size();
  if (safe.empty()) return allSafe;
  std::lock_guard guard(writeMutex);
  const std::optional<std::string> file = ReadWholeFile(path, true);
  if (!file) return false;
  std::vector<ProfileLine> lines = SplitLines(*file);
  for (const ProfileEntry* entry : safe) ApplyEntry(lines, *entry);
  return ReplaceWholeFile(path, JoinLines(lines)) && allSafe;
}

}  // namespace vardelle
