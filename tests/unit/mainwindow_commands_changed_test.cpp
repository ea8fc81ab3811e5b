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

TEST(CommandRace, ALetterTakenWhileTheUserAnswersIsNeverMappedOver) {
    struct Intruder {
        const char* name;
        Action take;  // what takes Y
        std::vector<std::string> targets;
        bool connected;
    };
    const Intruder intruders[] = {
        {"stick", [](CommandMachine& m) { m.sim.AddDrive('Y', kDriveRemovable); }, {}, false},
        {"subst of another program",
         [](CommandMachine& m) { Subst(m.sim, 'Y', "C:\\Other"); },
         {"\\??\\C:\\Other"},
         false},
        {"connection of another program",
         [](CommandMachine& m) { Connect(m.sim, 'Y', "\\\\srv\\other"); },
         {},
         true},
    };
    struct Path {
        const char* name;
        Action run;  // picks Y; the intruder comes while its first box is open
        std::vector<std::pair<TextKey, char>> shown;
    };
    const TextKey taken = TextKey::main_msgadddrive_errortaken;
    const Path paths[] = {
        {"new subst drive",
         [](CommandMachine& m) {
             m.Select('Y');
             m.ui.QueueFolder(L"C:\\Data\\Long Folder");
             cmdNew_Click(m.program);
         },
         {{taken, 'Y'}}},
        {"new network drive",
         [](CommandMachine& m) {
             m.Select('Y');
             m.ui.QueueFolder(L"\\\\srv\\share");
             cmdNew_Click(m.program);
         },
         {{taken, 'Y'}}},
        {"Explorer connect",
         [](CommandMachine& m) {
             m.program.context = {true, CommandMachine::kFolder};
             m.ui.QueueLetter(DriveIndexOf('Y'));
             ContextCommand(m.program);
         },
         {{taken, 'Y'}}},
        {"move asked about",
         [](CommandMachine& m) {
             m.Select('X');
             cmdMove_Click(m.program);
             m.Select('Y');
             cmdMove_Click(m.program);
         },
         {{TextKey::main_reqdeldrive, 'X'}, {taken, 'Y'}}},
    };
    for (const Path& path : paths) {
        for (const Intruder& intruder : intruders) {
            SCOPED_TRACE(std::string(path.name) + ", " + intruder.name);
            CommandMachine m;
            // The drive a move starts from: permanent, labelled.
            Subst(m.sim, 'X', CommandMachine::kFolder);
            StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder, "Daten");
            m.Scan();
            std::vector<std::wstring> expected;
            for (const auto& [key, letter] : path.shown)
                expected.push_back(FilledMessage(m.program, key, DriveIndexOf(letter)));
            m.ui.WhileNextBoxIsOpen([&] { intruder.take(m); });
            path.run(m);
            EXPECT_EQ(m.Shown(), expected);
            EXPECT_EQ(m.sim.DosDeviceTargets('Y'), intruder.targets);
            EXPECT_EQ(m.sim.IsConnected('Y'), intruder.connected);
            EXPECT_EQ(m.Entry('Y'), "-");
            EXPECT_EQ(m.LabelEntry('Y'), "-");
            // A moved drive is back where it was, as it was.
            EXPECT_FALSE(m.sim.DosDeviceTargets('X').empty());
            EXPECT_EQ(m.Entry('X'), CommandMachine::kFolder);
            EXPECT_EQ(m.LabelEntry('X'), "Daten");
            EXPECT_FALSE(m.program.main.Busy);
        }
    }
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

// A stored entry on a letter a disk has taken since makes a conflict row;
// the disk's folders are still folders of a disk.
TEST(CommandNew, FolderRefusalsGoByWhatTheLetterIsNow) {
    struct Case {
        const char* name;
        Action setup;  // builds the machine and scans it
        std::wstring folder;
        bool refused;
    };
    const Case cases[] = {
        {"stick on a letter with a subst entry",
         [](CommandMachine& m) {
             StoreDriveEntry(m.sim, 'E', "C:\\Other", "Alt");
             m.sim.AddDrive('E', kDriveRemovable);
             m.sim.AddFolder("E:\\Photos");
             m.Scan();
         },
         L"E:\\Photos", false},
        {"stick on a letter with a deactivated network entry",
         [](CommandMachine& m) {
             StoreDriveEntry(m.sim, 'E', "!\\\\srv\\share");
             m.sim.AddDrive('E', kDriveRemovable);
             m.sim.AddFolder("E:\\Photos");
             m.Scan();
         },
         L"E:\\Photos", false},
        {"subst made since the last scan",
         [](CommandMachine& m) {
             m.Scan();
             m.sim.AddFolder("C:\\Other\\Sub");
             Subst(m.sim, 'T', "C:\\Other");
         },
         L"T:\\Sub", true},
        {"subst drive removed while the chooser is open",
         [](CommandMachine& m) {
             Subst(m.sim, 'T', "C:\\Other");
             m.Scan();
             m.ui.WhileNextBoxIsOpen(
                 [&m] { m.sim.DefineDosDevice(kDddRemoveDefinition, "T:", nullptr); });
         },
         L"T:\\", true},
        {"network drive connected since the last scan",
         [](CommandMachine& m) {
             m.Scan();
             m.sim.AddFolder("\\\\srv\\share\\Sub");
             Connect(m.sim, 'M', CommandMachine::kShare);
         },
         L"M:\\Sub", true},
    };
    for (const Case& c : cases) {
        for (bool explorer : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (explorer ? ", Explorer" : ", New"));
            CommandMachine m;
            c.setup(m);
            const std::string folder(c.folder.begin(), c.folder.end());
            if (explorer) {
                m.program.context = {true, folder};
                m.ui.QueueLetter(DriveIndexOf('X'));
                ContextCommand(m.program);
            } else {
                m.Select('X');
                m.ui.QueueFolder(c.folder);
                cmdNew_Click(m.program);
            }
            const TextKey refusal =
                explorer ? TextKey::main_msgshell_errornew : TextKey::main_msgnew_error;
            EXPECT_EQ(m.Shown(), c.refused ? m.Texts({refusal}) : std::vector<std::wstring>());
            EXPECT_EQ(m.sim.DosDeviceTargets('X').empty(), c.refused);
        }
    }
}

// Permanent/Temporary reconnects a network drive: when that fails the drive
// comes back as it was, or stays stored as a deactivated entry.
TEST(CommandState, PermanenceToggleThatCannotReconnectLosesNoDrive) {
    struct Case {
        bool permanent;
        int failures;  // of the connects that follow the disconnect
        bool connected, remembered;
        const char* entry;
        const char* typeAfter;
    };
    const Case cases[] = {
        {false, 0, true, true, "-", "REMOTE"},
        {true, 0, true, false, "-", "REMOTE"},
        {false, 1, true, false, "-", "REMOTE"},
        {true, 1, true, true, "-", "REMOTE"},
        {false, 2, false, false, "!\\\\srv\\share", "REMOTE (INACTIVE)"},
        {true, 2, false, false, "!\\\\srv\\share", "REMOTE (INACTIVE)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.permanent ? "permanent" : "temporary") + ", " +
                     std::to_string(c.failures) + " failed");
        CommandMachine m;
        ASSERT_TRUE(Connect(m.sim, 'X', CommandMachine::kShare, c.permanent));
        StoreLabel(m.sim, 'X', "Daten");
        m.Scan();
        m.Select('X');
        std::vector<TextKey> shown = {TextKey::main_reqfix};
        if (c.failures) shown.push_back(TextKey::main_msgadddrive_errornet);
        const std::vector<std::wstring> expected = m.Texts(shown, 'X');
        m.sim.FailTimes("WNetAddConnection2", c.failures);
        cmdFix_Click(m.program);
        EXPECT_EQ(m.Shown(), expected);
        EXPECT_EQ(m.sim.IsConnected('X'), c.connected);
        EXPECT_EQ(m.Remembered('X'), c.remembered);
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(m.LabelEntry('X'), "Daten");
        EXPECT_EQ(m.Row('X').Type, c.typeAfter);
        EXPECT_EQ(m.Row('X').Label, "Daten");
    }
}

// A subst drive onto a card reader whose card was taken out: nothing that
// looks at it may raise the system's "no disk" box.
TEST(NoDiskBox, NeitherAtExitNorInTheExplorerCommandsNorAtActivation) {
    struct Case {
        const char* name;
        Action run;
        std::vector<TextKey> shown;
    };
    const Case cases[] = {
        {"closing the window", [](CommandMachine& m) { ScanAndSaveAtUnload(m.program); }, {}},
        {"Explorer connect",
         [](CommandMachine& m) {
             m.program.context = {true, CommandMachine::kFolder};
             m.ui.QueueLetter(DriveIndexOf('Y'));
             ContextCommand(m.program);
         },
         {}},
        {"Explorer disconnect",
         [](CommandMachine& m) {
             m.program.context = {false, "K:\\"};
             ContextCommand(m.program);
         },
         // A subst drive whose folder cannot be reached counts as taken.
         {TextKey::main_msgshell_errorkill}},
        {"activate",
         [](CommandMachine& m) {
             m.Select('J');
             DisplayRefresh(m.program);  // the list, as the window loaded it
             cmdDeactivate_Click(m.program);
         },
         {TextKey::main_msgactivate_errorsubst}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        m.sim.AddDrive('R', kDriveRemovable, "CARD", "FAT");
        m.sim.AddFolder("R:\\Photos");
        Subst(m.sim, 'K', "R:\\Photos");
        StoreDriveEntry(m.sim, 'K', "R:\\Photos");
        StoreDriveEntry(m.sim, 'J', "!R:\\Photos");
        m.sim.AddDrive('R', kDriveRemovable, "", "");  // the card is taken out
        c.run(m);
        EXPECT_EQ(m.sim.NoDiskBoxes(), 0);
        EXPECT_EQ(m.sim.ErrorMode(), 0u);
        EXPECT_EQ(m.Shown(), m.Texts(c.shown));
        EXPECT_EQ(m.Entry('K'), "R:\\Photos");
        EXPECT_EQ(m.Entry('J'), "!R:\\Photos");
    }
    // The simulation counts the box where the query is not quiet.
    CommandMachine m;
    m.sim.AddDrive('R', kDriveRemovable, "", "");
    Subst(m.sim, 'K', "R:\\Photos");
    RefreshAll(m.program);
    EXPECT_GT(m.sim.NoDiskBoxes(), 0);
}

}  // namespace
}  // namespace kelvra::test
