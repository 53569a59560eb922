// SIGTERM and SIGINT (a session ending, Ctrl+C in the terminal that started the program)
// close the window as its close button does, so the program ends its own way: work stopped,
// cookies saved. A second signal while closing ends the process at once.
#pragma once

namespace vardelle::ui {

// Call once, on the window's thread, after the QApplication exists.
void CloseWindowsOnTerminationSignals();

}  // namespace vardelle::ui
