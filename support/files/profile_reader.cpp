#include "support/files/profile_reader.h"

#include "support/text/space_trim.h"

namespace vardelle {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return LowerText(TrimAsciiBlanks(a)) == LowerText(TrimAsciiBlanks(b));
}

// Takes the first line off contents, without its line end.
std::string_view TakeLine(std::string_view& contents) {
  const std::size_t feed = contents.find('\n');
  std::string_view line = contents.substr(0, feed);
  contents.remove_prefix(feed == contents.npos ? contents.size() : feed + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::optional<std::string_view> ProfileSectionName(std::string_view line) {
  line = TrimAsciiBlanks(line);
  if (!line.starts_with('[')) return std::nullopt;
  const std::size_t close = line.rfind(']');
  return line.substr(1, close == line.npos ? line.npos : close - 1);
}

bool IsProfileSectionOf(std::string_view line, std::string_view section) {
  const std::optional<std::string_view> name = ProfileSectionName(line);
  return name && SameName(*name, section);
}

bool IsProfileKeyLine(std::string_view line, std::string_view key) {
  const std::size_t equals = line.find('=');
  return equals != line.npos && !ProfileSectionName(line) &&
         SameName(line.substr(0, equals), key);
}

std::optional<Text> FindProfileString(std::string_view contents, std::string_view section,
                                      std::string_view key) {
  bool inSection = false;
  bool sectionSeen = false;
  while (!contents.empty()) {
    const std::string_view line = TakeLine(contents);
    if (ProfileSectionName(line)) {
      // Only the first section of the name counts, as the writer only writes there.
      if (inSection) return std::nullopt;
      inSection = !sectionSeen && IsProfileSectionOf(line, section);
      sectionSeen = sectionSeen || inSection;
    } else if (inSection && IsProfileKeyLine(line, key)) {
      return Text(TrimAsciiBlanks(line.substr(line.find('=') + 1)));
    }
  }
  return std::nullopt;
}

}  // namespace vardelle
