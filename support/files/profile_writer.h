// Writes keys of INI-style profile files the way the system's private profile writer does:
// section and key names match without regard to ASCII case or surrounding spaces; an
// existing key is rewritten in place, a new key goes after the last non-blank line of its
// section, a new section goes at the end of the file, and a missing file is created. New
// lines end in CR LF; every other line, comments included, is kept byte for byte. The file
// is replaced whole, so a crash leaves either the old or the new file.
//
// An entry that would not read back as one line of its own section is refused: any name or
// value holding a line end (CR, LF, a zero byte or byte 26), a key holding "=" or a key that
// would read as a section line.
#pragma once

#include <vector>

#include "support/text/text.h"

namespace vardelle {

struct ProfileEntry {
  Text section;
  Text key;
  Text value;
  // The key's line taken out instead, as the system's writer does for a null value; nothing
  // is written where the key is missing.
  bool remove = false;
};

// False, with the file unchanged, when the entry is refused or the file cannot be read or
// written.
bool WriteProfileString(const Text& section, const Text& key, const Text& value, const Text& path);

// The entries in order, as that many WriteProfileString calls would write them, with one
// replacement of the file. Refused entries are left out and make the result false, as does
// a file that cannot be read or written.
bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, const Text& path);

}  // namespace vardelle
