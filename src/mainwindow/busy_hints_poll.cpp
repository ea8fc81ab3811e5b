// The busy bracket around commands, the numbered hints with their
// "do not show again" flags, and the poll timer's tick.
#include "drives/scan.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "program.h"
#include "shell/normal_session.h"
#include "startup/settings.h"

namespace kelvra {

BusyScope::BusyScope(Program& program) : program_(program) {
    if (program.main.Busy++ > 0) return;
    program.view->EnableButtonBar(false);
    program.view->ShowBusy(BusyMode::On);
}

BusyScope::~BusyScope() {
    // Counted first: whatever fails below, the poll and the keys work again.
    if (--program_.main.Busy > 0) return;
    try {
        FlushNormalSession(program_);
    } catch (...) {
    }
    try {
        program_.view->EnableButtonBar(program_.settings.ShowButtons);
        program_.view->FocusList();
        UpdateCommands(program_);
    } catch (...) {
    }
    try {
        program_.view->ShowBusy(BusyMode::Off);
    } catch (...) {
    }
}

void ShowStartHints(Program& program) {
    if (!program.startup.Local) ShowHint(program, 1);
    if (program.startup.Elevated) ShowHint(program, 3);
}

void ShowHint(Program& program, int number) {
    std::string& flags = program.settings.ShowHints;
    if (number < 1 || static_cast<std::size_t>(number) > flags.size()) return;
    if (flags[number - 1] != '1') return;
    // Only these hints have a text; an empty hint window would tell nothing.
    TextKey textKey;
    if (number == 1)
        textKey = TextKey::hint_1;
    else if (number == 2)
        textKey = TextKey::hint_2;
    else if (number == 3)
        textKey = TextKey::hint_3;
    else
        return;
    const LanguageState& language = program.language;
    const std::wstring caption = L"Kelvra V" +
                                 program.os.AnsiToWide(program.startup.ApplicationVersion) +
                                 L" - " + Text(language, TextKey::hint_title);
    const bool ticked =
        program.ui.HintBox(caption, Text(language, textKey), Text(language, TextKey::hint_chk),
                           Text(language, TextKey::hint_cmdok));
    flags = HintFlagsAfterCheck(flags, number, ticked);
}

std::string HintFlagsAfterCheck(const std::string& showHints, int hintNumber, bool ticked) {
    if (hintNumber < 1) return showHints;
    std::string flags = showHints;
    const std::size_t at = static_cast<std::size_t>(hintNumber) - 1;
    // A hint beyond the text: the flags between are still "to be shown".
    if (flags.size() <= at) flags.resize(at + 1, '1');
    flags[at] = ticked ? '0' : '1';
    return flags;
}

void ScanAndSaveAtUnload(Program& program) {
    {
        // The scan asks the long name of every subst target: one on an empty
        // card reader must not raise the system's "no disk" box at exit.
        QuietDriveErrors quiet(program.os);
        RefreshAll(program);
    }
    SaveSettings(program, program.view->CaptureLayout());
}

void PollTick(Program& program, bool normalState) {
    MainState& main = program.main;
    if (!normalState || main.Busy) return;
    bool changed = main.DrivesAnnounced;
    if (!changed) {
        QuietDriveErrors quiet(program.os);
        changed = PollCheck(program);
    }
    // Every refresh brings the poll's record up to date, so a change seen
    // here is one the list does not show yet, even right after a refresh.
    main.DrivesAnnounced = false;
    if (changed) DisplayRefresh(program);
}

void DriveChangeAnnounced(Program& program, bool normalState) {
    MainState& main = program.main;
    // An announced change may be one no check sees (another medium in a
    // drive): it is kept until the list can follow.
    main.DrivesAnnounced = true;
    if (!normalState || main.Busy) return;
    main.DrivesAnnounced = false;
    DisplayRefresh(program);
}

}  // namespace kelvra
