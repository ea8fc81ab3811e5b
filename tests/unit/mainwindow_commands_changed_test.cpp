// Drives that change while a command waits for the user: a stick plugged in,
// another program mapping or removing a letter, a menu chosen after the poll
// changed its row.
#include <functional>

#include "commands_machine.h"
#include "mainwindow/main_window.h"
#include "startup/context.h"

namespace kelvra::test {
namespace {

using Action = std::function<void(CommandMachine&)>;

int DriveChanges(CommandMachine& m) {
    return m.sim.Calls("DefineDosDevice") + m.sim.Calls("WNetAddConnection2") +
           m.sim.Calls("WNetCancelConnection");
}

TEST(CommandStale, ACommandNoLongerAllowedForItsRowDoesNothing) {
    struct Case {
        const char* name;
        Action start, change;  // X before the menu opens; X while it is open
        Command command;
        void (*click)(Program&);
    };
    const Action entry = [](CommandMachine& m) {
        StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder, "Daten");
    };
    const Action stick = [](CommandMachine& m) { m.sim.AddDrive('X', kDriveRemovable); };
    const Action tempSubst = [](CommandMachine& m) { Subst(m.sim, 'X', CommandMachine::kFolder); };
    const Action removed = [](CommandMachine& m) {
        m.sim.DefineDosDevice(kDddRemoveDefinition, "X:", nullptr);
    };
    const Case cases[] = {
        {"disconnect", entry, stick, Command::Kill, cmdKill_Click},
        {"change", entry, stick, Command::New, cmdNew_Click},
        {"activate", entry, stick, Command::Deactivate, cmdDeactivate_Click},
        {"deactivate permanently", entry, stick, Command::DeactivatePerm, cmdDeactivateperm_Click},
        {"rename", entry, stick, Command::Rename, cmdRename_Click},
        {"move", entry, stick, Command::Move, cmdMove_Click},
        {"make permanent", tempSubst, removed, Command::Fix, cmdFix_Click},
        {"desktop shortcut", tempSubst, removed, Command::Link, cmdLink_Click},
    };
    for (const Case& c : cases) {
        // Whether the poll showed the change before the choice or not.
        for (bool polled : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (polled ? ", polled" : ""));
            CommandMachine m;
            c.start(m);
            m.Select('X');
            DisplayRefresh(m.program);
            ASSERT_TRUE(m.program.main.CanDo(c.command));
            c.change(m);
            if (polled) PollTick(m.program, true);
            m.ui.QueueFolder(L"C:\\Other");
            m.sim.ResetCalls();
            c.click(m.program);
            EXPECT_EQ(DriveChanges(m) + m.sim.Calls("WritePrivateProfileString"), 0);
            EXPECT_TRUE(m.ui.Boxes().empty());
            const bool stored = c.command != Command::Fix && c.command != Command::Link;
            EXPECT_EQ(m.Entry('X'), stored ? CommandMachine::kFolder : "-");
            EXPECT_EQ(m.LabelEntry('X'), stored ? "Daten" : "-");
            EXPECT_FALSE(m.program.main.MoveMode);
            EXPECT_FALSE(m.program.main.Busy);
            // The list shows the row as it is now.
            EXPECT_FALSE(m.program.main.CanDo(c.command));
        }
    }
}

}  // namespace
}  // namespace kelvra::test
