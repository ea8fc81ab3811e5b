// An elevated run's drives in the user's normal session. Windows keeps the
// drive letters of an administrator's elevated programs apart from those of
// the desktop: every letter made or removed here is made or removed there
// too, by the console program started through the desktop shell.
#pragma once

#include <string>

#include "drives/drive_tables.h"
#include "shell/drive_changes.h"

namespace kelvra {

struct Program;

// The console program beside the running executable.
std::string ConsoleProgramPath(const Program& program);

// Queues the change for the normal session (nothing while not elevated, in a
// session-only run, or for a label). A removal and a making of the same
// letter in one command become one making, which replaces the mapping
// there: two programs started together could run in either order. Sent at
// once outside a command, else when the command ends (FlushNormalSession).
void MirrorToNormalSession(Program& program, DriveIndex index, DriveChange change,
                           const std::string& target);
// Starts what is queued; the status bar tells when the shell could not be asked.
void FlushNormalSession(Program& program);

// Drives made while it lives are made in this session only.
class SessionOnlyScope {
  public:
    explicit SessionOnlyScope(Program& program);
    ~SessionOnlyScope();
    SessionOnlyScope(const SessionOnlyScope&) = delete;
    SessionOnlyScope& operator=(const SessionOnlyScope&) = delete;

  private:
    Program& program_;
    bool before_;
};

}  // namespace kelvra
