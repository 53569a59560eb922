// The name of the temporary file that a whole-file replacement writes beside its file before
// renaming it into place: "<file>.tmp<process id>-<count>". Both platforms write it, and the
// start-up clean-up knows an interrupted one by it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelle {

std::string ReplacementName(std::string_view file, unsigned long process, unsigned count);

// The process that wrote candidate as a replacement of file (both as names in one folder);
// nothing when candidate is any other name.
std::optional<unsigned long> ReplacementWriter(std::string_view candidate, std::string_view file);

}  // namespace vardelle
