// Runs a console program of the package the way a script does, and records
// what it said, how it ended and whether it showed a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "wine/e2e_support.h"

namespace kelvra::e2e {

struct ConsoleRun {
    bool ended = false;  // within the time; a program still running is ended
    DWORD code = 0;
    std::string out, err;  // the bytes written to standard output and error
    // "class: title" of every top-level window of the process that showed.
    std::vector<std::string> windows;
};

enum class StdHandles {
    Pipes,  // output and error to pipes, input from NUL, no console
    None,   // detached: no console and no standard handles at all
    // On a console (a hidden one of the caller's) as typed at a prompt; the
    // text is read back from the console's cells.
    Console,
};

// `arguments` in UTF-8, quoted as on a command line.
ConsoleRun RunConsole(const std::string& exe, const std::string& arguments,
                      StdHandles handles = StdHandles::Pipes, DWORD milliseconds = kStateTimeout);

// Everything about a run, for a failure's message.
std::ostream& operator<<(std::ostream& os, const ConsoleRun& run);

}  // namespace kelvra::e2e
