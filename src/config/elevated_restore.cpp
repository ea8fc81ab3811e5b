#include "config/elevated_restore.h"

#include <cwchar>
#include <string>

#include "language/messages.h"
#include "program.h"
#include "shell/normal_session.h"
#include "util/text.h"

namespace kelvra {

namespace {

// A system error as a number, a COM one (negative) as its usual hex form.
std::wstring ErrorText(int32_t error) {
    if (error >= 0) return std::to_wstring(error);
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08X", static_cast<uint32_t>(error));
    return hex;
}

// A folder below one of the protected ones (not one of them itself).
bool Below(const std::string& folder, const std::vector<std::string>& protectedFolders) {
    for (const std::string& protectedFolder : protectedFolders)
        if (folder.size() > protectedFolder.size() &&
            text::StartsWithNoCase(folder, protectedFolder))
            return true;
    return false;
}

}  // namespace

bool InAdminOnlyFolder(Program& program) {
    return Below(program.startup.ApplicationPath, program.os.ProgramFilesFolders());
}

int32_t ApplyElevatedRestoreTask(Program& program, bool on) {
    Os& os = program.os;
    if (!on) return os.DeleteLogonTask(kElevatedRestoreTask);
    if (!InAdminOnlyFolder(program)) return oserr::kAccessDenied;
    return os.CreateLogonTask(kElevatedRestoreTask, ConsoleProgramPath(program), "restore");
}

bool SetElevatedRestore(Program& program, bool on) {
    Os& os = program.os;
    const std::vector<std::string> folders =
        on ? os.ProgramFilesFolders() : std::vector<std::string>{};
    if (on && !Below(program.startup.ApplicationPath, folders)) {
        const std::string example = folders.empty() ? "C:\\Program Files\\" : folders.front();
        const TextKey key = TextKey::config_msgadmintask_folder;
        program.ui.MessageBox(
            ReplaceAll(TextPart(Text(program.language, key), 0), L"$PATH$", os.AnsiToWide(example)),
            MessageCaption(program, key), mb::kOk | mb::kIconExclamation);
        return false;
    }
    int32_t error = oserr::kSuccess;
    if (os.TokenElevationType() == kElevationLimited) {
        uint32_t exitCode = 0;
        const std::string parameters = std::string(kElevatedRestoreCommand) + (on ? " on" : " off");
        const LaunchResult run =
            os.RunElevatedAndWait(ConsoleProgramPath(program), parameters, exitCode);
        if (run == LaunchResult::Declined) {
            ShowError(program, TextKey::config_msgadmintask_declined);
            return false;
        }
        error =
            run == LaunchResult::Started ? static_cast<int32_t>(exitCode) : oserr::kAccessDenied;
    } else {
        error = ApplyElevatedRestoreTask(program, on);
    }
    if (error != oserr::kSuccess) {
        const TextKey key = TextKey::config_msgadmintask_failed;
        const std::wstring text =
            ReplaceAll(TextPart(Text(program.language, key), 0), L"$TEXT$", ErrorText(error));
        program.ui.MessageBox(text, MessageCaption(program, key), mb::kOk | mb::kIconExclamation);
        return false;
    }
    program.settings.PermAutostartAdmin = on;
    return true;
}

}  // namespace kelvra
