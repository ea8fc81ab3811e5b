// Small facts about a row of the main drive table that the list and the
// command buttons both need.
#pragma once

#include <string>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;

// The main table's row; row 0 (always empty) for an index outside the table,
// so a stray selection can never read past it.
const DriveRecord& RowOf(const Program& program, DriveIndex index);

// LetterTakenByOtherDevice for the row's letter. Only subst and network rows
// can be taken by another device, so the other letters cost no system call.
bool LetterConflict(Program& program, DriveIndex index);

}  // namespace kelvra
