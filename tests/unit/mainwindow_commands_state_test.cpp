#include "commands_machine.h"

namespace kelvra::test {
namespace {

using Command = void (*)(Program&);

// The drives a lifecycle case starts from, on letter X.
enum class Start {
    TempSubst,
    PermSubst,
    InactiveSubst,
    DisabledSubst,
    TempNet,
    PermNet,
    DisabledNet
};

void Build(CommandMachine& m, Start start) {
    const std::string folder = CommandMachine::kFolder, share = CommandMachine::kShare;
    switch (start) {
        case Start::TempSubst:
            Subst(m.sim, 'X', folder);
            break;
        case Start::PermSubst:
            Subst(m.sim, 'X', folder);
            StoreDriveEntry(m.sim, 'X', folder, "Daten");
            break;
        case Start::InactiveSubst:
            StoreDriveEntry(m.sim, 'X', folder, "Daten");
            break;
        case Start::DisabledSubst:
            StoreDriveEntry(m.sim, 'X', "!" + folder, "Daten");
            break;
        case Start::TempNet:
            Connect(m.sim, 'X', share);
            break;
        case Start::PermNet:
            Connect(m.sim, 'X', share, true);
            break;
        case Start::DisabledNet:
            StoreDriveEntry(m.sim, 'X', "!" + share, "Daten");
            break;
    }
}

TEST(CommandState, RowsAndSettingsFileAfterEachCommand) {
    struct Case {
        const char* name;
        Start start;
        Command command;
        std::vector<TextKey> asked;
        const char* type;  // after the refresh
        const char* permanent;
        const char* state;
        const char* entry;
        bool mapped;  // a subst mapping or a connection at X
    };
    const std::string folder = CommandMachine::kFolder;
    const Case cases[] = {
        {"fix temporary subst",
         Start::TempSubst,
         cmdFix_Click,
         {},
         "SUBST (FIXED)",
         "YES",
         "",
         CommandMachine::kFolder,
         true},
        {"fix permanent subst",
         Start::PermSubst,
         cmdFix_Click,
         {},
         "SUBST (FIXED)",
         "",
         "",
         "-",
         true},
        {"fix temporary network",
         Start::TempNet,
         cmdFix_Click,
         {TextKey::main_reqfix},
         "REMOTE",
         "YES",
         "",
         "-",
         true},
        {"deactivate subst",
         Start::PermSubst,
         cmdDeactivate_Click,
         {TextKey::main_reqactivate_kill},
         "SUBST (INACTIVE)",
         "YES",
         "",
         CommandMachine::kFolder,
         false},
        {"activate subst",
         Start::DisabledSubst,
         cmdDeactivate_Click,
         {},
         "SUBST (FIXED)",
         "YES",
         "",
         CommandMachine::kFolder,
         true},
        {"activate network",
         Start::DisabledNet,
         cmdDeactivate_Click,
         {},
         "REMOTE",
         "YES",
         "",
         "-",
         true},
        {"perm. deactivate subst",
         Start::PermSubst,
         cmdDeactivateperm_Click,
         {TextKey::main_reqdeactivateperm},
         "SUBST (INACTIVE)",
         "YES",
         "DISABLED",
         "!C:\\Data\\Long Folder",
         false},
        {"perm. deactivate network",
         Start::PermNet,
         cmdDeactivateperm_Click,
         {TextKey::main_reqdeactivateperm},
         "REMOTE (INACTIVE)",
         "YES",
         "DISABLED",
         "!\\\\srv\\share",
         false},
        {"perm. deactivate inactive",
         Start::InactiveSubst,
         cmdDeactivateperm_Click,
         {},
         "SUBST (INACTIVE)",
         "YES",
         "DISABLED",
         "!C:\\Data\\Long Folder",
         false},
        {"kill subst",
         Start::PermSubst,
         cmdKill_Click,
         {TextKey::main_reqdeldrive},
         "FREE",
         "",
         "",
         "-",
         false},
        {"kill network",
         Start::TempNet,
         cmdKill_Click,
         {TextKey::main_reqdeldrive},
         "FREE",
         "",
         "",
         "-",
         false},
        {"kill inactive", Start::InactiveSubst, cmdKill_Click, {}, "FREE", "", "", "-", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        Build(m, c.start);
        m.Scan();
        m.Select('X');
        std::vector<std::wstring> asked;  // filled while the row is still there
        for (TextKey key : c.asked) asked.push_back(m.Texts({key}, 'X')[0]);
        m.sim.ResetCalls();
        c.command(m.program);
        EXPECT_EQ(m.Shown(), asked);
        const DriveRecord& row = m.Row('X');
        EXPECT_EQ(row.Type, c.type);
        EXPECT_EQ(row.Permanent, c.permanent);
        EXPECT_EQ(row.State, c.state);
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(!m.sim.DosDeviceTargets('X').empty() || m.sim.IsConnected('X'), c.mapped);
        if (c.start == Start::InactiveSubst && c.command == cmdDeactivateperm_Click) {
            EXPECT_EQ(m.sim.Calls("DefineDosDevice") + m.sim.Calls("WNetCancelConnection"), 0);
        }
        // A drive that is remembered keeps its label; a killed one loses it.
        if (c.start != Start::TempSubst && c.start != Start::TempNet && c.start != Start::PermNet) {
            EXPECT_EQ(m.LabelEntry('X'), c.command == cmdKill_Click ? "-" : "Daten");
        }
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandState, ActivatedNetworkDriveIsRemembered) {
    CommandMachine m;
    Build(m, Start::DisabledNet);
    m.Scan();
    m.Select('X');
    cmdDeactivate_Click(m.program);
    EXPECT_TRUE(m.Remembered('X'));
}

TEST(CommandState, ActivateThatFailsLeavesTheRowAndSaysSo) {
    for (Start start : {Start::DisabledSubst, Start::DisabledNet}) {
        CommandMachine m;
        Build(m, start);
        m.sim.RemovePath(CommandMachine::kFolder);
        m.sim.Fail("WNetAddConnection2");
        m.Scan();
        m.Select('X');
        cmdDeactivate_Click(m.program);
        const bool subst = start == Start::DisabledSubst;
        EXPECT_EQ(m.Shown(), m.Texts({subst ? TextKey::main_msgactivate_errorsubst
                                            : TextKey::main_msgactivate_errornet}));
        EXPECT_EQ(m.Entry('X')[0], '!');
        EXPECT_EQ(m.Row('X').State, "DISABLED");
    }
}

// Which questions are asked: ExpertMode silences all; the main-window
// commands follow ShowWarnings, a context command's disconnect ShowWarningsSCE.
TEST(CommandState, QuestionsFollowTheWarningSettings) {
    struct Case {
        bool expert, warnings, warningsSce, context;
        bool asked;
    };
    const Case cases[] = {
        {true, true, true, false, false},   {true, true, true, true, false},
        {false, false, true, false, false}, {false, false, true, true, true},
        {false, true, false, true, false},  {false, true, false, false, true},
    };
    const Command questions[] = {cmdFix_Click, cmdDeactivate_Click, cmdDeactivateperm_Click,
                                 cmdKill_Click};
    for (const Case& c : cases) {
        for (Command command : questions) {
            CommandMachine m;
            Build(m, command == cmdFix_Click ? Start::TempNet : Start::PermSubst);
            m.Scan();
            Settings& s = m.program.settings;
            s.ExpertMode = c.expert;
            s.ShowWarnings = c.warnings;
            s.ShowWarningsSCE = c.warningsSce;
            if (c.context) m.program.context.ContextPath = "X:\\";
            m.Select('X');
            command(m.program);
            // Only the disconnect switches to the context setting.
            const bool expected = command == cmdKill_Click ? c.asked : !c.expert && c.warnings;
            EXPECT_EQ(m.Shown().size(), expected ? 1u : 0u)
                << c.expert << c.warnings << c.warningsSce << c.context;
        }
    }
}

TEST(CommandState, NoAnswerChangesNothing) {
    const Command questions[] = {cmdFix_Click, cmdDeactivate_Click, cmdDeactivateperm_Click,
                                 cmdKill_Click};
    for (Command command : questions) {
        CommandMachine m;
        Build(m, command == cmdFix_Click ? Start::PermNet : Start::PermSubst);
        m.Scan();
        m.Select('X');
        m.ui.QueueAnswer(mb::kIdNo);
        m.sim.ResetCalls();
        command(m.program);
        EXPECT_EQ(m.sim.Calls("DefineDosDevice") + m.sim.Calls("WNetCancelConnection") +
                      m.sim.Calls("WritePrivateProfileString"),
                  0);
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandState, DisconnectThatFailsKeepsADriveThatIsStillThere) {
    for (Start start : {Start::PermSubst, Start::PermNet}) {
        CommandMachine m;
        Build(m, start);
        StoreLabel(m.sim, 'X', "Daten");
        m.Scan();
        const std::string entry = m.Entry('X');
        m.sim.Fail("DefineDosDevice");
        m.sim.Fail("WNetCancelConnection");
        EXPECT_FALSE(DisconnectDrive(m.program, DriveIndexOf('X')));
        EXPECT_EQ(m.Row('X').Permanent, "YES");
        EXPECT_EQ(m.Row('X').Label, "Daten");
        EXPECT_EQ(m.Entry('X'), entry);
        EXPECT_EQ(m.LabelEntry('X'), "Daten");
    }
}

}  // namespace
}  // namespace kelvra::test
