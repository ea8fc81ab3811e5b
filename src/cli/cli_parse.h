// The command line of kelvractl as a plain request, checked for usage
// before anything touches the system.
#pragma once

#include <string>
#include <vector>

#include "drives/drive_tables.h"

namespace kelvra::cli {

enum class Verb {
    Help,
    Version,
    List,
    New,
    Change,
    Permanent,
    Deactivate,
    Activate,
    Disconnect,
    Move,
    Label,
    Shortcut,
    Restore,
    // Not in the usage: the configuration window runs it elevated.
    ElevatedRestore
};

// Why a command line is bad usage.
enum class UsageError {
    None,
    MissingCommand,
    UnknownCommand,
    UnknownSwitch,
    SwitchNotTaken,  // a switch this command does not take
    MissingArgument,
    ExtraArgument,
    BadLetter,
    BadOnOff,
    PermanentAndTemporary,
    SameLetter
};

enum class PermanenceChoice { FromSettings, Permanent, Temporary };

struct Request {
    Verb verb = Verb::Help;
    DriveIndex letter = 0;  // the drive the command works on
    DriveIndex target = 0;  // move: the letter it goes to
    std::wstring path;      // new, change: as typed
    // label: the new label; shortcut: the link's name; new: --label.
    std::wstring text;
    bool hasText = false;
    bool all = false;   // list --all
    bool json = false;  // list --json
    PermanenceChoice permanence = PermanenceChoice::FromSettings;
    bool on = false;  // permanent on|off
    // new, disconnect: the mapping in this logon session only, the settings
    // file untouched (an elevated window mirrors its changes so).
    bool sessionOnly = false;
};

struct ParseResult {
    Request request;
    UsageError error = UsageError::None;
    std::wstring culprit;  // the argument the error is about, when there is one
    bool ok() const { return error == UsageError::None; }
};

// args without the program name.
ParseResult ParseArguments(const std::vector<std::wstring>& args);

// A letter as typed: one ASCII letter with or without a colon, any case; 0 otherwise.
DriveIndex ParseLetter(const std::wstring& arg);

}  // namespace kelvra::cli
