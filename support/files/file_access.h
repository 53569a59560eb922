// Whole-file reads and crash-safe whole-file replacement. Paths are the program's texts,
// handed to the file system byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// The file's bytes, read with other readers and writers allowed; nullopt when it cannot be
// opened or read. A missing file reads as empty when missingIsEmpty is set.
std::optional<std::string> ReadWholeFile(const Text& path, bool missingIsEmpty = false);

// Writes contents to a new file beside path and renames it over path, so path holds either
// its old or its new bytes, never a part. An existing file keeps its permissions; a
// symbolic link stays a link and its target gets the new bytes. False when any step fails;
// the file is then untouched and no temporary file is left behind.
bool ReplaceWholeFile(const Text& path, std::string_view contents);

// Creates the folder and every missing parent; true when the folder exists afterwards.
bool CreateDirectories(const Text& path);

}  // namespace vardelle
