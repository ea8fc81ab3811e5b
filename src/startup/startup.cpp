#include "startup/startup.h"

#include "language/language.h"
#include "language/messages.h"
#include "platform/inireg.h"
#include "platform/os_version.h"
#include "program.h"
#include "startup/permanent.h"
#include "util/text.h"

namespace kelvra {

static constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
static constexpr const char* kIniName = "kelvra.ini";
static constexpr const char* kMainWindowTitleFragment = "Kelvra V";

WindowSearchResult SearchWindows(Os& os, const std::string& fragment) {
    WindowSearchResult result;
    for (const TopWindow& window : os.TopLevelWindows()) {
        if (window.handle == 0 || window.title.find(fragment) == std::string::npos) continue;
        result.found = true;
        result.titles.push_back(window.title);
        result.handles.push_back(std::to_string(window.handle));
        result.processIds.push_back(std::to_string(window.processId));
        result.exeNames.push_back(os.ProcessExeName(window.processId));
        result.rawHandles.push_back(window.handle);
    }
    return result;
}

std::string UnsupportedVersionName(const OsVersion& v) {
    if (v.platformId == kPlatformWindows && v.minorVersion == 0) return "95";
    if (v.platformId == kPlatformNt && (v.majorVersion == 3 || v.majorVersion == 4))
        return "NT " + std::to_string(v.majorVersion) + "." + std::to_string(v.minorVersion);
    return {};
}

std::string VersionText(const FileVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.revision);
}

std::string FolderOf(const std::string& exePath) {
    std::size_t slash = exePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
    return text::WithBackslash(folder);
}

// Finds the settings file: the program folder's when it has one, else the
// per-user one in the application-data folder, whose folders are made here.
static void ChooseSettingsFile(Program& program) {
    StartupState& s = program.startup;
    Os& os = program.os;
    const std::string shared = s.ApplicationPath + kIniName;
    if (FileExists(os, shared)) {
        s.IniFilePath = shared;
        s.GlobalINI = true;
        return;
    }
    // A folder that cannot be made is no reason to stop: the run goes on
    // with the defaults, and the user is told once where saving fails.
    for (const char* folder : {"Brannock", "Brannock\\Kelvra"}) {
        const std::string path = s.AppDataPath + folder;
        if (!DirExists(os, path) && !os.CreateDirectory(path) && !DirExists(os, path)) {
            s.SettingsFolderMissing = path;
            break;
        }
    }
    s.IniFilePath = s.AppDataPath + "Brannock\\Kelvra\\" + kIniName;
}

bool StartupFolders(Program& program) {
    StartupState& s = program.startup;
    Os& os = program.os;

    // Refuse the Windows versions the program does not run on.
    if (!os.GetVersionEx(s.Version)) s.Version = OsVersion{};
    s.WindowsVersion = GetOSVersion(os);
    const std::string unsupported = UnsupportedVersionName(s.Version);
    if (!unsupported.empty()) {
        program.ui.MessageBox(os.AnsiToWide("Windows " + unsupported + " is not supported!"),
                              L"Kelvra", mb::kIconCritical);
        return false;
    }

    // Program version, command line, user name, program and AppData folders.
    FileVersion fileVersion;
    if (!os.GetFileVersion(os.ModuleFileName(), fileVersion)) fileVersion = FileVersion{};
    s.ApplicationVersion = VersionText(fileVersion);
    s.CommandLine = os.CommandLineArguments();
    s.CommandLineUpper = text::Upper(s.CommandLine);
    std::string user;
    s.User = os.GetUserName(user, 256) ? text::CutAtNul(user) : std::string();
    s.HintCount = 3;
    s.Elevated = os.TokenElevationType() == kElevationFull && os.LinkedTokenInOtherSession();
    s.ApplicationPath = FolderOf(os.ModuleFileName());
    std::string appData;
    std::string typeName;
    s.LastStatus =
        RegGetValue(os, kHkeyCurrentUser, kShellFoldersKey, "AppData", appData, typeName);
    s.AppDataPath = text::WithBackslash(appData);

    // Which settings file. Whether a global profile replaces the personal
    // one is read with the settings (LoadSettings), from the one read of the file.
    ChooseSettingsFile(program);
    s.NoINIAtStart = !FileExists(os, s.IniFilePath);
    return true;
}

bool StartupSettings(Program& program) {
    StartupState& s = program.startup;
    // Windows 9x or NT.
    s.IsWin9x = s.Version.platformId == kPlatformWindows;
    s.IsNT = !s.IsWin9x;
    s.NetworkKeyPrefix = s.IsWin9x ? "Network\\Persistent\\" : "Network\\";
    // Settings, then the language they name.
    LoadSettings(program);
    const bool languageUsable = LoadLanguage(program);
    if (s.GlobalProfile)
        s.User = program.os.WideToAnsi(Text(program.language, TextKey::main_stbuserglobal));
    return languageUsable;
}

Dispatch RunStartup(Program& program) {
    StartupState& s = program.startup;
    Os& os = program.os;
    if (!StartupFolders(program)) return Dispatch::End;

    // One instance: a second start brings the first to the front. Context
    // commands always run in a process of their own.
    const bool context = s.CommandLineUpper.find("/SET=") != std::string::npos ||
                         s.CommandLineUpper.find("/CUT=") != std::string::npos;
    WindowSearchResult running = SearchWindows(os, kMainWindowTitleFragment);
    if (running.found && !context) {
        os.ActivateWindow(running.rawHandles.front());
        return Dispatch::End;
    }

    // The command-line switches.
    auto has = [&](const char* sw) { return s.CommandLineUpper.find(sw) != std::string::npos; };
    if (has("/STAY")) s.Stay = true;
    if (has("/DEVELOP")) s.Develop = true;
    if (has("/LOCAL")) s.Local = true;

    const bool languageUsable = StartupSettings(program);
    // Told once; a restore at logon without a window stays silent.
    if (!has("/AUTOSTART") || s.Stay) {
        if (!s.SettingsFolderMissing.empty())
            ShowFileNotice(program, TextKey::main_msgini_errorfolder, s.SettingsFolderMissing);
        else if (s.SettingsUnread)
            ShowFileNotice(program, TextKey::main_msgini_errorread, s.IniFilePath);
        if (!languageUsable) ShowLanguageNotice(program);
    }

    // What the run does: restore at logon, a context command, or the main window.
    if (has("/AUTOSTART")) {
        RestorePermanentDrives(program, 0);
        if (!s.Stay) return Dispatch::End;
        return program.settings.MinimizeToSystray ? Dispatch::AutostartTray
                                                  : Dispatch::AutostartWindow;
    }
    if (has("/SET=") || has("/CUT=")) return Dispatch::ContextCommand;
    return Dispatch::MainWindow;
}

}  // namespace kelvra
