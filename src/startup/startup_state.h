// Program-wide state filled by the start-up procedure.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"
#include "platform/os_version.h"
#include "startup/ini_text.h"

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
    // The settings folder that could not be made; empty when it is there.
    std::string SettingsFolderMissing;
    // The settings file as last read. A file there but unreadable for a
    // moment (held by a scanner or sync client) must not read as a file
    // without entries: a save would then delete every stored drive.
    IniText Stored;
    std::string StoredBytes;        // ... and its bytes as read
    bool StoredRead = false;        // Stored holds a read that succeeded
    bool StoredFileExists = false;  // ... and the file was there then
    bool IniUnreadable = false;     // the latest read of the file failed
    // The file could not be read at start: the settings are the defaults
    // and must never be saved over the user's.
    bool SettingsUnread = false;
    // The latest scan had no read of the file to take the stored entries from.
    bool EntriesUnread = false;
    bool IsWin9x = false;
    bool IsNT = false;
    std::string NetworkKeyPrefix;  // "Network\Persistent\" (9x) or "Network\" (NT)
    bool Stay = false;
    bool Develop = false;
    bool Local = false;  // program folder lies on a fixed local disk
    // An administrator's elevated token in a logon session of its own: the
    // drive letters made here are not those the desktop's programs see.
    bool Elevated = false;
    // Drives are made and removed in this logon session only: a console
    // run for the normal session, or a restore (each session restores its
    // own at logon). Nothing is mirrored.
    bool SessionOnly = false;
    int HintCount = 0;
    int32_t LastStatus = 0;  // status of the last settings-file or registry call
    std::string CommandLine;
    std::string CommandLineUpper;
};

}  // namespace kelvra
