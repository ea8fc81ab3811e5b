// Which command buttons the selected row allows, how four of them are
// captioned, and which are painted red because they would cut a live drive
// without a question.
#include "drives/keywords.h"
#include "drives/scan.h"
#include "mainwindow/main_window.h"
#include "mainwindow/row_facts.h"
#include "platform/error_mode.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

CommandView ComputeCommands(Program& program, DriveIndex index) {
    const DriveRecord& row = RowOf(program, index);
    const LanguageState& language = program.language;
    const MainState& main = program.main;
    const std::string& path = row.Path;
    const std::string& perm = row.Permanent;

    const bool free = row.Type == kw::kFree;
    const bool vm = IsVirtualMachineShare(row);
    const bool inactive = text::ContainsNoCase(row.Type, kw::kInactive);
    const bool disabled = text::ContainsNoCase(row.State, kw::kDisabled);
    const bool subst = IsSubst(program.drives, index);
    const bool remote = IsRemote(program.drives, index);
    const bool managed = subst || remote;
    const bool conflict = LetterConflict(program, index);
    const bool move = main.MoveMode;
    const bool local = program.startup.Local;
    const bool source = index == main.MoveSource;
    // Permanence of subst drives lives in the program's autostart entry,
    // which only a program on a local hard disk can keep.
    const bool permanenceChangeable = remote || (subst && local);

    CommandView view;
    auto set = [&view](Command c, bool enabled) { view.enabled[static_cast<int>(c)] = enabled; };
    set(Command::New, !move && (free || (managed && !vm && !conflict)));
    set(Command::Move,
        (!move && managed && !vm && !free && !conflict) || (move && (free || source)));
    set(Command::Kill, !vm && (managed || (!path.empty() && !free)) && !move && !conflict);
    set(Command::Fix, !free && !vm && permanenceChangeable && !move && !inactive);
    set(Command::Deactivate, !perm.empty() && !path.empty() && (subst || (remote && inactive)) &&
                                 !free && !move && !conflict);
    set(Command::DeactivatePerm, !disabled && !free && !perm.empty() && !path.empty() && !vm &&
                                     permanenceChangeable && !move && !conflict);
    set(Command::Rename, !vm && managed && perm == kw::kYes && !free && !move && !conflict);
    set(Command::Link, ((!free && !inactive) || conflict) && !move);

    auto caption = [&view, &language](Command c, TextKey key) {
        view.captions[static_cast<int>(c)] = Text(language, key);
    };
    caption(Command::New, free || !managed ? TextKey::main_cmdnew : TextKey::main_cmdchange);
    caption(Command::Move, free && move     ? TextKey::main_cmdmoveinsert
                           : move && source ? TextKey::main_cmdmovecancel
                                            : TextKey::main_cmdmove);
    caption(Command::Kill, TextKey::main_cmdkill);
    caption(Command::Fix, perm != kw::kYes ? TextKey::main_cmdfix : TextKey::main_cmdtemp);
    caption(Command::Deactivate,
            inactive ? TextKey::main_cmdactivate : TextKey::main_cmddeactivate);
    caption(Command::DeactivatePerm, TextKey::main_cmddeactivateperm);
    caption(Command::Rename, TextKey::main_cmdrename);
    caption(Command::Link, TextKey::main_cmdlink);

    // Without warning questions, red marks the buttons that cut a live drive
    // at once; rename and link never do.
    const Settings& settings = program.settings;
    if (!settings.ShowWarnings && !settings.ExpertMode && !path.empty()) {
        auto warn = [&view](Command c, bool red) {
            view.faces[static_cast<int>(c)] = red ? colour::kRed : kButtonFace;
        };
        for (Command c :
             {Command::New, Command::Kill, Command::Deactivate, Command::DeactivatePerm})
            warn(c, view.enabled[static_cast<int>(c)] && !inactive);
        // Changing the permanence of a network drive reconnects it.
        warn(Command::Fix, IsSharePath(path) && view.enabled[static_cast<int>(Command::Fix)]);
        warn(Command::Move, view.enabled[static_cast<int>(Command::Move)] && !inactive && !source);
    }
    return view;
}

void UpdateCommands(Program& program) {
    MainState& main = program.main;
    main.SelectedDrive = program.view->SelectedRow();
    if (main.SelectedDrive < 1 || main.SelectedDrive > kDriveCount) return;
    CommandView commands;
    {
        QuietDriveErrors quiet(program.os);
        commands = ComputeCommands(program, main.SelectedDrive);
    }
    main.Can = commands.enabled;
    program.view->ShowCommands(commands);
}

void lsvView_ItemClick(Program& program) {
    UpdateCommands(program);
}

bool CommandAllowedNow(Program& program, Command command, DriveIndex index) {
    if (index < 1 || index > kDriveCount) return false;
    bool changed;
    {
        QuietDriveErrors quiet(program.os);
        changed = NetworkCheck(program);
    }
    if (changed) DisplayRefresh(program);
    QuietDriveErrors quiet(program.os);
    return ComputeCommands(program, index).enabled[static_cast<int>(command)];
}

}  // namespace kelvra
