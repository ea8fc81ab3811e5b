#include "shell/drive_changes.h"

#include "drives/network.h"
#include "drives/subst.h"
#include "program.h"
#include "shell/explorer_labels.h"
#include "shell/normal_session.h"

namespace kelvra {

namespace {

int32_t ShellEvent(DriveChange change) {
    switch (change) {
        case DriveChange::Added:
            return kShcneDriveAdd;
        case DriveChange::Removed:
            return kShcneDriveRemoved;
        case DriveChange::Relabelled:
            break;
    }
    return kShcneUpdateItem;
}

}  // namespace

bool MapFolderDrive(Program& program, DriveIndex index, const std::string& folder) {
    if (!DefineSubst(program.os, Device(index), folder)) return false;
    AfterDriveChange(program, index, DriveChange::Added, folder);
    return true;
}

bool UnmapFolderDrive(Program& program, DriveIndex index) {
    if (!RemoveSubst(program.os, Device(index))) return false;
    AfterDriveChange(program, index, DriveChange::Removed);
    return true;
}

bool ConnectShareDrive(Program& program, DriveIndex index, const std::string& share,
                       bool persistent) {
    if (!ConnectNetworkDrive(program.os, share, Device(index), nullptr, nullptr, persistent))
        return false;
    AfterDriveChange(program, index, DriveChange::Added, share);
    return true;
}

uint32_t DisconnectShareDrive(Program& program, DriveIndex index) {
    const uint32_t result = DisconnectNetworkDrive(program.os, Device(index));
    if (result == oserr::kSuccess) AfterDriveChange(program, index, DriveChange::Removed);
    return result;
}

void AfterDriveChange(Program& program, DriveIndex index, DriveChange change,
                      const std::string& target) {
    if (index < 1 || index > kDriveCount) return;
    KeepExplorerLabel(program, index, change, target);
    program.os.ShellChangeNotify(ShellEvent(change), Device(index) + "\\");
    MirrorToNormalSession(program, index, change, target);
}

}  // namespace kelvra
