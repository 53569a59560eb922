// The standard streams of a window program. The program is linked for the GUI subsystem,
// so double-clicked it opens no console window; started from a console it is given none
// either, and its standard streams lead nowhere unless the caller redirected them.
#pragma once

namespace vardelle::win32 {

// Joins each standard stream that leads nowhere to the console of the process that started
// the program, when it has one, so that headless runs, --help and errors print where the
// command was typed. Redirected streams stay as they are. Call before the first write.
void ConnectStandardStreams();

// Leaves that console again, before the window runs: a console's Ctrl+C or closing must not
// end the window's program.
void ReleaseParentConsole();

}  // namespace vardelle::win32
