// Text from the network kept inert in the reports that scripts and terminals read: a server
// name or a status word holding an escape sequence must not drive the terminal, and a CSV
// cell must not become a spreadsheet formula.
#pragma once

#include <string>
#include <string_view>

namespace vardelle {

// GBK text with every control byte shown as "\xHH" (lower-case hex): C0 but tab, DEL, and a
// byte of 0x81 to 0x9F that is no part of a double-byte character (in GBK those bytes lead
// characters, and 0x80 is the euro sign). Double-byte characters pass intact.
std::string VisibleControls(std::string_view gbk);

// The same for UTF-8 text, where the C1 controls are U+0080 to U+009F, shown by their code
// ("\x9b"), as is a byte of 0x80 to 0x9F that stands in no valid sequence.
std::string VisibleUtf8Controls(std::string_view utf8);

// One CSV cell (RFC 4180): quoted when it holds a comma, quote or line end. A cell that a
// spreadsheet would take as a formula (starting with "=", "+", "-", "@", tab or CR) gets a
// leading "'", except a plain number such as "-1", which it takes as the number it is.
std::string CsvCell(std::string_view text);

// JSON text (UTF-8) with DEL and the C1 controls, which JSON lets strings hold as they are,
// written as \u escapes too; outside strings JSON has no such byte, so the text stays valid.
std::string EscapeJsonControls(std::string_view json);

}  // namespace vardelle
