// Whole-file reads and crash-safe whole-file replacement. Paths are the program's texts,
// handed to the file system byte for byte.
//
// The files written here are the user's settings and cookies, the Globalping token among
// them, so what this writes is the user's alone: on Linux folders 0700 and files 0600,
// whatever the umask. On Windows they live in the user's application data folder, whose
// permissions are the user's already.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// The folder part of a path, at its last separator of either kind (Windows takes both); ""
// when the path names no folder or the root's.
inline std::string_view ContainingFolder(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator);
}

// The file's bytes, read with other readers and writers allowed; nullopt when it cannot be
// opened or read. A missing file reads as empty when missingIsEmpty is set.
std::optional<std::string> ReadWholeFile(const Text& path, bool missingIsEmpty = false);

// Writes contents to a new file beside path and renames it over path, so path holds either
// its old or its new bytes, never a part. A new file is the user's alone; an existing one
// keeps its owner's permissions and loses any it gave to others. A symbolic link stays a
// link and its target gets the new bytes. False when any step fails; the file is then
// untouched and no temporary file is left behind.
bool ReplaceWholeFile(const Text& path, std::string_view contents);

// Creates the folder and every missing parent, each the user's alone; true when the folder
// exists afterwards. Folders that exist are left as they are.
bool CreateDirectories(const Text& path);

// Takes from the folder, and from each file directly in it, any permission it gives to
// others, for a folder made by an older version or a file copied in (a folder 0755 becomes
// 0700, a file 0644 becomes 0600). Symbolic links and what they point to are left alone.
void KeepFolderPrivate(const Text& folder);

// Removes the temporary files that a ReplaceWholeFile of path left beside it when its
// process ended between writing and renaming: each holds a whole copy of the contents.
// Those of a process that still runs, and every other file, are kept. Meant for the
// program's start, before this process replaces path itself.
void RemoveInterruptedReplacements(const Text& path);

}  // namespace vardelle
