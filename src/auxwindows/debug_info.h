// The debug information: a plain-text dump of the program's state that a user
// can copy into a support request. The debug window only shows it.
#pragma once

#include <array>
#include <string>

#include "platform/os.h"

namespace kelvra {

struct Program;

// Interval (ms) and running state of one of the main window's timers.
struct TimerState {
    unsigned Interval = 0;
    bool Enabled = false;
};
// Timer1, Timer2 and Timer3, in this order.
using TimerStates = std::array<TimerState, 3>;

// The system folder, ending in "\"; just "\" when the system does not say.
std::string SystemFolder(Os& os);
// "major.minor.build.revision" of a file's version resource; empty when the
// file has none.
std::string FileVersionText(Os& os, const std::string& path);

// The whole dump, each line ending in CR LF, in the system code page.
std::string DebugDump(Program& program, const TimerStates& timers);

}  // namespace kelvra
