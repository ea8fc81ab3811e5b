#include "commands_machine.h"

namespace kelvra::test {
namespace {

using Command = void (*)(Program&);

// The drive a case starts from, on letter X: a subst mapping, a connection,
// a stored entry (with the label "Daten").
struct Start {
    bool subst, net, persistent;
    const char* entry;
};
constexpr Start kTempSubst{true, false, false, nullptr};
constexpr Start kPermSubst{true, false, false, CommandMachine::kFolder};
constexpr Start kInactiveSubst{false, false, false, CommandMachine::kFolder};
constexpr Start kDisabledSubst{false, false, false, "!C:\\Data\\Long Folder"};
constexpr Start kTempNet{false, true, false, nullptr};
constexpr Start kPermNet{false, true, true, nullptr};
constexpr Start kDisabledNet{false, false, false, "!\\\\srv\\share"};

void Build(CommandMachine& m, const Start& start) {
    if (start.subst) Subst(m.sim, 'X', CommandMachine::kFolder);
    if (start.net) Connect(m.sim, 'X', CommandMachine::kShare, start.persistent);
    if (start.entry) StoreDriveEntry(m.sim, 'X', start.entry, "Daten");
}

TEST(CommandState, RowsAndSettingsFileAfterEachCommand) {
    struct Case {
        const char* name;
        Start start;
        Command command;
        std::vector<TextKey> asked;
        const char *type, *permanent, *state, *entry;  // row after the refresh; stored entry
        bool mapped;                                   // a subst mapping or a connection at X
    };
    const char* folder = CommandMachine::kFolder;
    // clang-format off
    const Case cases[] = {
        {"fix temp subst", kTempSubst, cmdFix_Click, {}, "SUBST (FIXED)", "YES", "", folder, true},
        {"fix perm subst", kPermSubst, cmdFix_Click, {}, "SUBST (FIXED)", "", "", "-", true},
        {"fix temp net", kTempNet, cmdFix_Click, {TextKey::main_reqfix}, "REMOTE", "YES", "", "-", true},
        {"deactivate", kPermSubst, cmdDeactivate_Click, {TextKey::main_reqactivate_kill},
         "SUBST (INACTIVE)", "YES", "", folder, false},
        {"activate subst", kDisabledSubst, cmdDeactivate_Click, {}, "SUBST (FIXED)", "YES", "", folder, true},
        {"activate net", kDisabledNet, cmdDeactivate_Click, {}, "REMOTE", "YES", "", "-", true},
        {"perm. deactivate subst", kPermSubst, cmdDeactivateperm_Click, {TextKey::main_reqdeactivateperm},
         "SUBST (INACTIVE)", "YES", "DISABLED", "!C:\\Data\\Long Folder", false},
        {"perm. deactivate net", kPermNet, cmdDeactivateperm_Click, {TextKey::main_reqdeactivateperm},
         "REMOTE (INACTIVE)", "YES", "DISABLED", "!\\\\srv\\share", false},
        {"perm. deactivate inactive", kInactiveSubst, cmdDeactivateperm_Click, {},
         "SUBST (INACTIVE)", "YES", "DISABLED", "!C:\\Data\\Long Folder", false},
        {"kill subst", kPermSubst, cmdKill_Click, {TextKey::main_reqdeldrive}, "FREE", "", "", "-", false},
        {"kill net", kTempNet, cmdKill_Click, {TextKey::main_reqdeldrive}, "FREE", "", "", "-", false},
        {"kill inactive", kInactiveSubst, cmdKill_Click, {}, "FREE", "", "", "-", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        Build(m, c.start);
        m.Scan();
        m.Select('X');
        const std::vector<std::wstring> asked = m.Texts(c.asked, 'X');  // while the row is there
        m.sim.ResetCalls();
        c.command(m.program);
        EXPECT_EQ(m.Shown(), asked);
        const DriveRecord& row = m.Row('X');
        EXPECT_EQ(row.Type, c.type);
        EXPECT_EQ(row.Permanent, c.permanent);
        EXPECT_EQ(row.State, c.state);
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(!m.sim.DosDeviceTargets('X').empty() || m.sim.IsConnected('X'), c.mapped);
        // An inactive drive has nothing to remove.
        if (!c.start.subst && !c.start.net && c.command == cmdDeactivateperm_Click) {
            EXPECT_EQ(m.sim.Calls("DefineDosDevice") + m.sim.Calls("WNetCancelConnection"), 0);
        }
        // A drive that stays remembered keeps its label; a killed one loses it.
        if (c.start.entry) {
            EXPECT_EQ(m.LabelEntry('X'), c.command == cmdKill_Click ? "-" : "Daten");
        }
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandState, ActivatedNetworkDriveIsRemembered) {
    CommandMachine m;
    Build(m, kDisabledNet);
    m.Scan();
    m.Select('X');
    cmdDeactivate_Click(m.program);
    EXPECT_TRUE(m.Remembered('X'));
}

TEST(CommandState, ActivateThatFailsLeavesTheRowAndSaysSo) {
    for (const Start& start : {kDisabledSubst, kDisabledNet}) {
        CommandMachine m;
        Build(m, start);
        m.sim.RemovePath(CommandMachine::kFolder);
        m.sim.Fail("WNetAddConnection2");
        m.Scan();
        m.Select('X');
        cmdDeactivate_Click(m.program);
        const bool subst = start.entry[1] != '\\';
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
            Build(m, command == cmdFix_Click ? kTempNet : kPermSubst);
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
        Build(m, command == cmdFix_Click ? kPermNet : kPermSubst);
        m.Scan();
        m.Select('X');
        m.ui.QueueAnswer(mb::kIdNo);
        m.sim.ResetCalls();
        command(m.program);
        EXPECT_EQ(m.sim.Calls("DefineDosDevice") + m.sim.Calls("WNetCancelConnection") +
                      m.sim.Calls("ReplaceFileContents"),
                  0);
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandState, DisconnectThatFailsKeepsADriveThatIsStillThere) {
    for (const Start& start : {kPermSubst, kPermNet}) {
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
