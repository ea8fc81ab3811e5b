// The logon task that restores the permanent drives for programs run as
// administrator: Windows keeps their drive letters apart, so the logon's
// restore in the normal session does not reach them.
#pragma once

#include <cstdint>

namespace kelvra {

struct Program;

constexpr char kElevatedRestoreTask[] = "Kelvra - restore drives for administrators";
// The console program's command that creates ("on") or removes ("off") the
// task; the window runs it elevated when its own token lacks the rights.
constexpr char kElevatedRestoreCommand[] = "elevated-restore";

// The task runs kelvractl.exe with administrator rights at every logon:
// only from a folder that only administrators can change, or any program
// of the user's could put itself in its place and gain those rights.
bool InAdminOnlyFolder(Program& program);
// Creates or removes the task with this process's rights: 0 or the error
// (kAccessDenied for a program outside the folders InAdminOnlyFolder knows).
int32_t ApplyElevatedRestoreTask(Program& program, bool on);
// Creates or removes the task, through the system's prompt when this
// process runs with an administrator's filtered token, and stores the
// setting. False, after saying why, when it was not done.
bool SetElevatedRestore(Program& program, bool on);

}  // namespace kelvra
