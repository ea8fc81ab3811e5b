// kelvractl: every drive command of the main window from a console or a
// script, through the same core procedures the buttons run.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace kelvra::cli {

// Exit codes.
constexpr int kExitDone = 0;  // done (also: nothing to do, the drive is already so)
constexpr int kExitRefused =
    1;  // refused by a rule, or failed in the system; the message says which
constexpr int kExitUsage =
    2;  // bad usage: unknown command or switch, missing or extra argument, bad letter

// Where the program's lines go, one call per line, without the line end.
// The Windows side writes wide text to a console and UTF-8 to a file or pipe.
class Output {
  public:
    virtual ~Output() = default;
    virtual void Out(const std::wstring& line) = 0;  // standard output
    virtual void Err(const std::wstring& line) = 0;  // standard error
};

// A whole Windows command line split into arguments by the C runtime's rules
// (blanks separate; "..." groups; \" is a quote; 2n backslashes before a quote
// are n backslashes; "" inside quotes is a quote). The first element is the
// program name (which has its own, simpler rule: up to the next blank, or in quotes).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// Runs one command (args without the program name) and returns the exit code.
// Never shows a window or asks: the command line is the user's consent.
int RunCli(Os& os, const std::vector<std::wstring>& args, Output& output);

}  // namespace kelvra::cli
