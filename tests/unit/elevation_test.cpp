// An administrator's elevated run: seen in the title, the status bar and a
// hint; its drive changes made in the normal session too; and the logon task
// that restores the drives for elevated programs.
#include "cli_machine.h"
#include "config/elevated_restore.h"
#include "config_machine.h"
#include "mainwindow/main_window.h"
#include "shell/normal_session.h"
#include "startup/startup.h"

namespace kelvra::test {
namespace {

using Launch = sim::SimulatedWindows::Launch;

TEST(Elevation, OnlyAFullTokenInASessionOfItsOwnCountsAsElevated) {
    const struct {
        uint32_t type;
        bool otherSession;
        bool elevated;
    } cases[] = {
        {kElevationDefault, false, false},
        {kElevationLimited, true, false},
        {kElevationFull, true, true},
        // A full token sharing the desktop's logon session (no split token
        // between them) sees the same letters as every other program.
        {kElevationFull, false, false},
    };
    for (const auto& c : cases) {
        TestMachine m;
        m.sim.SetElevation(c.type, c.otherSession);
        ASSERT_TRUE(StartupFolders(m.program));
        EXPECT_EQ(m.program.startup.Elevated, c.elevated) << c.type << c.otherSession;
    }
}

TEST(Elevation, TitleStatusAndStartHintSayIt) {
    for (const bool elevated : {false, true}) {
        TestMachine m;
        m.Started().startup.ApplicationVersion = "1.0.1";
        m.program.startup.Local = true;
        m.program.startup.Elevated = elevated;
        m.program.settings.ShowHints = "111";
        m.ui.QueueHintTick(true);
        ShowStartHints(m.program);
        ShowStartHints(m.program);  // ticked: not again

        EXPECT_EQ(MainWindowTitle(m.program),
                  elevated ? L"Kelvra V1.0.1 (Administrator)" : L"Kelvra V1.0.1");
        EXPECT_EQ(ComputeStatus(m.program).panels[4],
                  elevated ? L"Bereit (als Administrator):" : L"Bereit:");
        ASSERT_EQ(m.ui.Boxes().size(), elevated ? 1u : 0u);
        EXPECT_EQ(m.program.settings.ShowHints, elevated ? "110" : "111");
        if (elevated) {
            EXPECT_EQ(m.ui.Boxes()[0].text, Text(m.program.language, TextKey::hint_3));
        }
    }
}

TEST(Elevation, WithoutADesktopShellTheStatusBarSaysSo) {
    TestMachine m;
    m.Started().startup.Elevated = true;
    m.program.startup.Local = true;
    m.sim.desktopShell = false;
    MirrorToNormalSession(m.program, DriveIndexOf('X'), DriveChange::Added, "C:\\Other");
    EXPECT_TRUE(m.sim.launches.empty());
    EXPECT_EQ(ComputeStatus(m.program).panels[4],
              L"Normale Sitzung nicht erreicht: keine Desktop-Shell");
    // A later start that reaches it clears the notice.
    m.sim.desktopShell = true;
    MirrorToNormalSession(m.program, DriveIndexOf('X'), DriveChange::Removed, "");
    EXPECT_EQ(m.sim.launches.size(), 1u);
    EXPECT_EQ(ComputeStatus(m.program).panels[4], L"Bereit (als Administrator):");
}

TEST(SessionOnly, MakesAndRemovesTheMappingHereAndLeavesTheSettingsAlone) {
    struct Case {
        std::vector<std::wstring> args;
        int exit;
        char letter;
        std::string target;  // the letter's mapping afterwards; "" for none
    };
    const Case cases[] = {
        {{L"new", L"X:", L"C:\\Other", L"--session-only"}, cli::kExitDone, 'X', "C:\\Other"},
        // The stored entry says what the letter is now: a mapping there goes.
        {{L"new", L"T:", L"C:\\Data", L"--session-only"}, cli::kExitDone, 'T', "C:\\Data"},
        {{L"new", L"D:", L"C:\\Other", L"--session-only"}, cli::kExitRefused, 'D', ""},
        {{L"disconnect", L"T:", L"--session-only"}, cli::kExitDone, 'T', ""},
        {{L"disconnect", L"X:", L"--session-only"}, cli::kExitDone, 'X', ""},
        {{L"new", L"X:", L"C:\\Other", L"--session-only", L"--permanent"},
         cli::kExitUsage,
         'X',
         ""},
        {{L"move", L"S:", L"X:", L"--session-only"}, cli::kExitUsage, 'S', "C:\\Data"},
    };
    for (const Case& c : cases) {
        CliMachine m;
        const std::string before = m.sim.FileContents(TestMachine::kUserIni);
        EXPECT_EQ(m.Run(c.args), c.exit) << c.args[0] << " " << c.letter;
        EXPECT_EQ(m.Target(c.letter), c.target.empty() ? "" : "\\??\\" + c.target)
            << c.args[0] << " " << c.letter;
        EXPECT_EQ(m.sim.FileContents(TestMachine::kUserIni), before) << c.args[0];
    }

    // A network drive goes from this session; the profile, which the other
    // session shares, still remembers it.
    CliMachine m;
    m.sim.SetRegistryString(kHkeyCurrentUser, "Network\\N", "RemotePath", "\\\\srv\\share");
    EXPECT_EQ(m.Run({L"disconnect", L"N:", L"--session-only"}), cli::kExitDone);
    EXPECT_FALSE(m.sim.IsConnected('N'));
    EXPECT_TRUE(m.sim.RegistryKeyExists(kHkeyCurrentUser, "Network\\N"));
}

TEST(ElevatedRestore, TheBoxCreatesAndRemovesTheLogonTaskAndShowsWhatCameOfIt) {
    struct Case {
        const char* what;
        uint32_t token;
        bool decline, fail;
        bool on;           // the box afterwards
        int elevatedRuns;  // prompts
        TextKey message;   // shown when not done; hint_title for none
        // Kelvra elsewhere than below Program Files, where the user's own
        // programs could replace what the task runs with full rights.
        bool userFolder = false;
    };
    const Case cases[] = {
        {"elevated", kElevationFull, false, false, true, 0, TextKey::hint_title},
        {"prompt accepted", kElevationLimited, false, false, true, 1, TextKey::hint_title},
        {"prompt declined", kElevationLimited, true, false, false, 0,
         TextKey::config_msgadmintask_declined},
        {"scheduler fails", kElevationFull, false, true, false, 0,
         TextKey::config_msgadmintask_failed},
        {"fails elevated", kElevationLimited, false, true, false, 1,
         TextKey::config_msgadmintask_failed},
        {"user's folder", kElevationLimited, false, false, false, 0,
         TextKey::config_msgadmintask_folder, true},
        {"user's folder, elevated", kElevationFull, false, false, false, 0,
         TextKey::config_msgadmintask_folder, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigMachine cm;
        sim::SimulatedWindows& sim = cm.m.sim;
        sim.SetElevation(c.token, true);
        sim.declineElevation = c.decline;
        if (c.userFolder) sim.programFiles = {"D:\\Programme\\"};
        if (c.fail) sim.Fail("CreateLogonTask");
        // The prompt's program is the console program's hidden command.
        sim.elevatedRun = [&sim](const Launch& launch) {
            CliMachine cli;
            EXPECT_EQ(launch.parameters.rfind("elevated-restore ", 0), 0u);
            std::vector<std::wstring> args =
                cli::SplitCommandLine(L"kelvractl " + sim.AnsiToWide(launch.parameters));
            args.erase(args.begin());
            return static_cast<uint32_t>(cli::RunCli(sim, args, cli));
        };
        cm.settings().PermAutostart = true;
        cm.form.Load();
        cm.form.CheckBoxClick(CheckBox::PermautostartAdmin, kChecked);

        EXPECT_EQ(cm.settings().PermAutostartAdmin, c.on);
        EXPECT_EQ(cm.view[CheckBox::PermautostartAdmin].value, c.on ? kChecked : kUnchecked);
        EXPECT_EQ(sim.LogonTaskExists(kElevatedRestoreTask), c.on);
        if (c.on) {
            EXPECT_EQ(sim.logonTasks[kElevatedRestoreTask].program,
                      "C:\\Program Files\\Kelvra\\kelvractl.exe");
            EXPECT_EQ(sim.logonTasks[kElevatedRestoreTask].arguments, "restore");
        }
        EXPECT_EQ(static_cast<int>(sim.launches.size()), c.elevatedRuns);
        const auto& boxes = cm.m.ui.Boxes();
        ASSERT_EQ(boxes.size(), c.message == TextKey::hint_title ? 0u : 1u);
        if (!boxes.empty()) {
            EXPECT_EQ(boxes[0].text.substr(0, 20),
                      Text(cm.program().language, c.message).substr(0, 20));
        }
        if (!c.on) continue;

        // And off again: the task goes.
        cm.form.CheckBoxClick(CheckBox::PermautostartAdmin, kUnchecked);
        EXPECT_FALSE(cm.settings().PermAutostartAdmin);
        EXPECT_FALSE(sim.LogonTaskExists(kElevatedRestoreTask));
    }
}

}  // namespace
}  // namespace kelvra::test
