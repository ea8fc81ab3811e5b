#include <functional>

#include "commands_machine.h"

namespace kelvra::test {
namespace {

// Moves X to Y with two clicks of cmdMove.
void MoveByButton(CommandMachine& m) {
    m.Select('X');
    cmdMove_Click(m.program);
    m.Select('Y');
    cmdMove_Click(m.program);
}

bool Mapped(CommandMachine& m, char letter) {
    return !m.sim.DosDeviceTargets(letter).empty() || m.sim.IsConnected(letter);
}

TEST(CommandMove, EntriesAndLabelsGoWhereTheDriveIs) {
    using Setup = std::function<void(CommandMachine&)>;
    const std::string folder = CommandMachine::kFolder, share = CommandMachine::kShare;
    struct Case {
        const char* name;
        Setup before, afterScan;
        std::vector<TextKey> shown;
        const char *entryX, *entryY;  // stored entries after the move; "-" none
        bool mappedX, mappedY, labelOnY;
        char about = 'X';  // the drive the messages name
    };
    const Setup none;
    // clang-format off
    const Case cases[] = {
        {"active permanent subst",
         [&](CommandMachine& m) { Subst(m.sim, 'X', folder); StoreDriveEntry(m.sim, 'X', folder, "Daten"); },
         none, {TextKey::main_reqdeldrive}, "-", CommandMachine::kFolder, false, true, true},
        {"deactivated network drive",
         [&](CommandMachine& m) { StoreDriveEntry(m.sim, 'X', "!" + share, "Daten"); },
         none, {}, "-", "!\\\\srv\\share", false, false, true},
        {"inactive subst entry",
         [&](CommandMachine& m) { StoreDriveEntry(m.sim, 'X', folder, "Daten"); },
         none, {}, "-", CommandMachine::kFolder, false, false, true},
        {"inactive network drive that cannot reconnect",
         [&](CommandMachine& m) { RememberConnection(m.sim, 'X', "\\\\gone\\share"); StoreLabel(m.sim, 'X', "Daten"); },
         none, {}, "-", "-", false, false, false},
        {"target taken since the last refresh: nothing moves",
         [&](CommandMachine& m) { Connect(m.sim, 'X', share); StoreLabel(m.sim, 'X', "Daten"); },
         [](CommandMachine& m) { m.sim.AddDrive('Y', kDriveRemovable); },
         {TextKey::main_msgadddrive_errortaken}, "-", "-", true, false, false, 'Y'},
        {"folder gone meanwhile: remembered at the source",
         [&](CommandMachine& m) { Subst(m.sim, 'X', folder); StoreDriveEntry(m.sim, 'X', folder, "Daten"); },
         [&](CommandMachine& m) { m.sim.RemovePath(folder); },
         {TextKey::main_reqdeldrive, TextKey::main_msgadddrive_errorsubst,
          TextKey::main_msgadddrive_errorsubst}, CommandMachine::kFolder, "-", false, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        c.before(m);
        m.Scan();
        const std::vector<std::wstring> shown = m.Texts(c.shown, c.about);
        if (c.afterScan) {
            // The change comes between the last refresh and the move.
            c.afterScan(m);
            m.Select('Y');
            m.program.main.SelectedDrive = DriveIndexOf('X');
            m.program.main.MoveTarget = DriveIndexOf('Y');
            ExecuteMove(m.program, true);
        } else {
            MoveByButton(m);
        }
        EXPECT_EQ(m.Shown(), shown);
        EXPECT_EQ(m.Entry('X'), c.entryX);
        EXPECT_EQ(m.Entry('Y'), c.entryY);
        EXPECT_EQ(Mapped(m, 'X'), c.mappedX);
        EXPECT_EQ(Mapped(m, 'Y'), c.mappedY);
        EXPECT_EQ(m.LabelEntry('Y'), c.labelOnY ? "Daten" : "-");
        EXPECT_EQ(m.LabelEntry('X') == "Daten" || m.Row('X').Label == "Daten", !c.labelOnY);
        if (c.labelOnY || c.afterScan) {
            EXPECT_EQ(m.view.selected, DriveIndexOf(c.labelOnY ? 'Y' : 'X'));
        }
        EXPECT_FALSE(m.program.main.MoveMode);
        EXPECT_TRUE(m.view.menusEnabled);
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandMove, SecondClickOnTheSourceCancels) {
    CommandMachine m;
    Subst(m.sim, 'X', CommandMachine::kFolder);
    m.Scan();
    m.Select('X');
    cmdMove_Click(m.program);
    EXPECT_TRUE(m.program.main.MoveMode);
    EXPECT_FALSE(m.view.menusEnabled);
    const int shows = m.view.showRowsCalls;
    cmdMove_Click(m.program);
    EXPECT_FALSE(m.program.main.MoveMode);
    EXPECT_EQ(m.program.main.MoveSource, -1);
    EXPECT_TRUE(m.view.menusEnabled);
    EXPECT_EQ(m.view.showRowsCalls, shows + 1);
    EXPECT_EQ(m.Target('X'), "\\??\\C:\\Data\\Long Folder");
    EXPECT_TRUE(m.Shown().empty());
}

TEST(CommandMove, SecondClickOnARowInUseMovesNothing) {
    CommandMachine m;
    Subst(m.sim, 'X', CommandMachine::kFolder);
    Subst(m.sim, 'S', "C:\\Other");
    m.Scan();
    for (char used : {'C', 'S'}) {
        m.Select('X');
        cmdMove_Click(m.program);
        m.Select(used);
        cmdMove_Click(m.program);
        EXPECT_EQ(m.Target('X'), "\\??\\C:\\Data\\Long Folder");
        EXPECT_EQ(m.Target('S'), "\\??\\C:\\Other");
        EXPECT_TRUE(m.Shown().empty());
        EXPECT_FALSE(m.program.main.MoveMode);
    }
}

TEST(CommandMove, DragStartsOnSubstAndNetworkDrivesOnly) {
    CommandMachine m;
    m.sim.AddDrive('D', kDriveCdrom);
    m.sim.AddShare("\\\\vboxsvr\\x", "\\Device\\VBoxMiniRdr");
    Connect(m.sim, 'V', "\\\\vboxsvr\\x");
    Subst(m.sim, 'S', CommandMachine::kFolder);
    Connect(m.sim, 'N', CommandMachine::kShare);
    StoreDriveEntry(m.sim, 'R', CommandMachine::kFolder);
    m.sim.AddDrive('R', kDriveRemovable);  // the entry's letter is taken by a stick
    m.Scan();
    const std::pair<char, bool> rows[] = {{'X', false}, {'C', false}, {'D', false}, {'V', false},
                                          {'S', true},  {'N', true},  {'R', false}};
    for (const auto& [letter, may] : rows) {
        EXPECT_EQ(lsvView_MouseDown(m.program, DriveIndexOf(letter)), may) << letter;
        EXPECT_EQ(m.program.main.SelectedDrive, DriveIndexOf(letter));
    }
    EXPECT_FALSE(lsvView_MouseDown(m.program, 0));
}

TEST(CommandMove, DropOnlyOnAFreeRow) {
    CommandMachine m;
    Subst(m.sim, 'S', CommandMachine::kFolder);
    m.Scan();
    m.Select('S');
    ASSERT_TRUE(lsvView_MouseDown(m.program, DriveIndexOf('S')));
    EXPECT_EQ(lsvView_DragOver(m.program, DriveIndexOf('Y')), DriveIndexOf('Y'));
    for (char used : {'C', 'S'}) {  // passing over used rows clears the target
        EXPECT_EQ(lsvView_DragOver(m.program, DriveIndexOf(used)), 0);
        EXPECT_EQ(m.program.main.MoveTarget, -1);
    }
    lsvView_DragComplete(m.program);
    EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data\\Long Folder");
    EXPECT_TRUE(m.sim.DosDeviceTargets('Y').empty());

    lsvView_DragOver(m.program, DriveIndexOf('Y'));
    lsvView_DragComplete(m.program);
    EXPECT_TRUE(m.sim.DosDeviceTargets('S').empty());
    EXPECT_EQ(m.Target('Y'), "\\??\\C:\\Data\\LONGFO~1");
    EXPECT_EQ(m.view.selected, DriveIndexOf('Y'));
}

// Esc or a lost capture: the row passed over last is no target, neither now
// nor for a drag that ends later without passing over a row.
TEST(CommandMove, ACancelledDragMovesNothingThenOrLater) {
    CommandMachine m;
    Subst(m.sim, 'S', CommandMachine::kFolder);
    m.Scan();
    m.Select('S');
    ASSERT_TRUE(lsvView_MouseDown(m.program, DriveIndexOf('S')));
    ASSERT_EQ(lsvView_DragOver(m.program, DriveIndexOf('Y')), DriveIndexOf('Y'));
    lsvView_DragCancel(m.program);
    EXPECT_EQ(m.program.main.MoveTarget, -1);
    lsvView_DragComplete(m.program);
    EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data\\Long Folder");
    EXPECT_TRUE(m.sim.DosDeviceTargets('Y').empty());
    EXPECT_TRUE(m.Shown().empty());
}

}  // namespace
}  // namespace kelvra::test
