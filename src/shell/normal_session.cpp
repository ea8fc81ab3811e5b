#include "shell/normal_session.h"

#include <algorithm>

#include "mainwindow/main_window.h"
#include "program.h"

namespace kelvra {

namespace {

// One argument as the C runtime splits it: in quotes, with the backslashes
// before the closing quote doubled ("C:\" would otherwise escape it).
std::string Quoted(const std::string& argument) {
    std::string out = "\"" + argument;
    std::size_t trailing = 0;
    while (trailing < argument.size() && argument[argument.size() - 1 - trailing] == '\\')
        ++trailing;
    out.append(trailing, '\\');
    return out + "\"";
}

std::string Parameters(const MainState::MirrorStep& step) {
    const std::string letter = Device(step.index);
    if (step.added) return "new " + letter + " " + Quoted(step.target) + " --session-only";
    return "disconnect " + letter + " --session-only";
}

}  // namespace

std::string ConsoleProgramPath(const Program& program) {
    return program.startup.ApplicationPath + "kelvractl.exe";
}

void MirrorToNormalSession(Program& program, DriveIndex index, DriveChange change,
                           const std::string& target) {
    const StartupState& startup = program.startup;
    if (!startup.Elevated || startup.SessionOnly || change == DriveChange::Relabelled) return;
    auto& pending = program.main.MirrorPending;
    const auto same = std::find_if(pending.begin(), pending.end(),
                                   [index](const auto& step) { return step.index == index; });
    const bool added = change == DriveChange::Added;
    bool keep = true;
    if (same != pending.end()) {
        // Made and removed again within the command: the normal session
        // keeps what it had.
        keep = !(same->added && !added);
        pending.erase(same);
    }
    if (keep) pending.push_back({index, added, added ? target : std::string()});
    if (program.main.Busy == 0) FlushNormalSession(program);
}

void FlushNormalSession(Program& program) {
    auto pending = std::move(program.main.MirrorPending);
    program.main.MirrorPending.clear();
    if (pending.empty()) return;
    const std::string console = ConsoleProgramPath(program);
    LaunchResult result = LaunchResult::Started;
    for (const auto& step : pending) {
        const LaunchResult one = program.os.ShellExecuteAsDesktop(console, Parameters(step));
        if (one != LaunchResult::Started) result = one;
        // Without a shell the next would fail the same way.
        if (one == LaunchResult::NoShell) break;
    }
    const bool changed = result != program.main.MirrorResult;
    program.main.MirrorResult = result;
    if (changed) DisplayStatus(program);
}

SessionOnlyScope::SessionOnlyScope(Program& program)
    : program_(program), before_(program.startup.SessionOnly) {
    program.startup.SessionOnly = true;
}

SessionOnlyScope::~SessionOnlyScope() {
    program_.startup.SessionOnly = before_;
}

}  // namespace kelvra
