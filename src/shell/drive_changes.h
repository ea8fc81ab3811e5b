// What the world outside this process learns of the drives this program
// makes, removes and relabels. Every command, context command, restore and
// console command maps and unmaps letters through the four functions here,
// so no change can bypass what follows it.
#pragma once

#include <cstdint>
#include <string>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;

enum class DriveChange { Added, Removed, Relabelled };

// The drive layer's calls (DefineSubst, RemoveSubst, ConnectNetworkDrive,
// DisconnectNetworkDrive) with their results, followed on success by
// AfterDriveChange.
bool MapFolderDrive(Program& program, DriveIndex index, const std::string& folder);
bool UnmapFolderDrive(Program& program, DriveIndex index);
bool ConnectShareDrive(Program& program, DriveIndex index, const std::string& share,
                       bool persistent);
uint32_t DisconnectShareDrive(Program& program, DriveIndex index);

// After a letter was mapped (Added, `target` the folder or share it now
// stands for), unmapped (Removed) or given or stripped of its own label
// (Relabelled): keeps the letter's label in Explorer in step and tells
// Explorer, so its windows and file dialogs show the change without a manual
// refresh.
void AfterDriveChange(Program& program, DriveIndex index, DriveChange change,
                      const std::string& target = {});

}  // namespace kelvra
