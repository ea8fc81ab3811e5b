#include "drives/drive_tables.h"

#include "drives/keywords.h"
#include "util/text.h"

namespace kelvra {

char DriveLetter(DriveIndex index) {
    return index >= 1 && index <= kDriveCount ? static_cast<char>('A' + index - 1) : '\0';
}

DriveIndex DriveIndexOf(char letter) {
    char upper = text::UpperAscii(letter);
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' + 1 : 0;
}

bool ValidDriveIndex(DriveIndex index) {
    return index >= 0 && index <= kDriveCount;
}

std::string Device(DriveIndex index) {
    return std::string(1, DriveLetter(index)) + ":";
}

bool IsSharePath(std::string_view path) {
    return text::StartsWith(path, "\\\\");
}

bool IsVirtualMachineShare(const DriveRecord& row) {
    return text::StartsWith(row.Type, "REMOTEV");
}

static bool TypeContains(const DriveTables& tables, DriveIndex index, const char* keyword) {
    if (index < 1 || index > kDriveCount) return false;
    return text::ContainsNoCase(tables.main[index].Type, keyword);
}

// Case-insensitive because the New and Change commands leave the interim
// keyword "Subst" in the table until the next scan.
bool IsSubst(const DriveTables& tables, DriveIndex index) {
    return TypeContains(tables, index, kw::kSubst);
}

bool IsRemote(const DriveTables& tables, DriveIndex index) {
    return TypeContains(tables, index, kw::kRemote);
}

bool IsManagedDrive(const DriveTables& tables, DriveIndex index) {
    return (IsSubst(tables, index) || IsRemote(tables, index)) &&
           !IsVirtualMachineShare(tables.main[index]);
}

bool HasActivePermanentSubst(const DriveTables& tables) {
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& row = tables.main[i];
        if (IsSubst(tables, i) && row.Permanent == kw::kYes && row.State != kw::kDisabled)
            return true;
    }
    return false;
}

}  // namespace kelvra
