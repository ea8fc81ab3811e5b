// Program-wide state filled by the start-up procedure.
#pragma once

#include <cstdint>
#include <string>

#include "auxwindows/os_version.h"
#include "platform/os.h"

namespace kelvra {

struct StartupState {
    OsVersion Version;               // as GetVersionEx reported it
    OsVersionRecord WindowsVersion;  // named and described, for the debug window
    std::string ApplicationVersion;  // "major.minor.revision" of the running file
    std::string User;                // Windows user name, or the global-profile text
    std::string ApplicationPath;     // program folder, ends in "\"
    std::string AppDataPath;         // application-data folder, ends in "\"
    std::string IniFilePath;         // settings file in use
    bool GlobalINI = false;          // the settings file is the program-folder one
    bool GlobalProfile = false;      // settings live in section "GLOBAL"
    bool NoINIAtStart = false;       // first run: no settings file at start
    bool IsWin9x = false;
    bool IsNT = false;
    std::string NetworkKeyPrefix;  // "Network\Persistent\" (9x) or "Network\" (NT)
    bool Stay = false;
    bool Develop = false;
    bool Local = false;  // program folder lies on a fixed local disk
    int HintCount = 0;
    int32_t LastStatus = 0;  // status of the last settings-file or registry call
    std::string CommandLine;
    std::string CommandLineUpper;
};

}  // namespace kelvra
