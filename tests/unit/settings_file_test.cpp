// The settings file as a whole: saves replace it in one step from what is on
// disk at that moment, and a file that cannot be read for a while (held by a
// scanner or sync client) costs no stored drive and no setting.
#include <gtest/gtest.h>

#include "drives/drive_entries.h"
#include "language/language.h"
#include "mainwindow/main_window.h"
#include "platform/inireg.h"
#include "startup/ini_text.h"
#include "startup/permanent.h"
#include "startup/settings.h"
#include "startup/startup.h"
#include "unit/commands_machine.h"

namespace kelvra {
namespace {

using test::CommandMachine;
using test::TestMachine;

constexpr const char* kStored =
    "[USER=OTHER]\r\nSubstPath_K=C:\\Theirs\r\n\r\n"
    "[USER=TESTER]\r\nLanguage=English\r\nGridLines=0\r\nSubstPath_P=C:\\Data\\Long Folder\r\n"
    "SubstPathLabel_P=Project\r\nSubstPath_Q=!C:\\Other\r\n";

std::wstring Notice(const Program& program, TextKey key, const std::string& file) {
    return ReplaceAll(TextPart(Text(program.language, key), 0), kPlaceholderFile,
                      std::wstring(file.begin(), file.end()));
}

TEST(IniText, KeepsTodaysFormatAndEveryLineItDoesNotChange) {
    // As the private-profile calls of earlier versions wrote it, with
    // hand-made lines kept as they are.
    const std::string today =
        "; kept\r\n[USER=TESTER]\r\nGridLines=1\r\n  Spaced = x \r\n\r\n[GLOBAL]\r\nA=1\r\n";
    EXPECT_EQ(IniText(today).Serialize(), today);
    EXPECT_EQ(IniText("[S]\nA=1\nB=2").Serialize(), "[S]\r\nA=1\r\nB=2\r\n");

    IniText ini(today);
    ini.Set("user=tester", "gridlines", "0");  // the line keeps its place
    ini.Set("USER=TESTER", "New", "v");        // after the section's last line, before the gap
    ini.Delete("GLOBAL", "A");
    ini.Delete("GLOBAL", "Missing");
    ini.Set("Fresh", "K", "1");
    EXPECT_EQ(ini.Serialize(),
              "; kept\r\n[USER=TESTER]\r\ngridlines=0\r\n  Spaced = x \r\nNew=v\r\n\r\n"
              "[GLOBAL]\r\n[Fresh]\r\nK=1\r\n");
}

TEST(SettingsFile, SaveReplacesTheFileOnceStartingFromItAsItIsNow) {
    CommandMachine m;
    m.sim.AddFile(TestMachine::kUserIni, kStored);
    LoadSettings(m.program);
    m.Scan();
    // Meanwhile another Kelvra and the user change the file.
    m.sim.AddFile(TestMachine::kUserIni,
                  std::string(kStored) + "Custom=by hand\r\n[USER=SECOND]\r\nGridLines=1\r\n");
    m.program.settings.ShowLEDs = false;
    m.sim.ResetCalls();
    SaveSettings(m.program);
    EXPECT_EQ(m.sim.Calls("ReplaceFileContents"), 1);
    EXPECT_EQ(m.sim.Calls("WritePrivateProfileString"), 0);
    EXPECT_EQ(m.program.startup.LastStatus, kIniOk);
    EXPECT_EQ(m.Ini("Custom"), "by hand");
    EXPECT_EQ(m.Ini("ShowLEDs"), "0");
    EXPECT_EQ(m.Ini("Language"), "English");
    EXPECT_EQ(m.Entry('P'), "C:\\Data\\Long Folder");
    EXPECT_EQ(m.LabelEntry('P'), "Project");
    EXPECT_EQ(m.Entry('Q'), "!C:\\Other");
    const std::string contents = m.sim.FileContents(TestMachine::kUserIni);
    EXPECT_NE(contents.find("[USER=OTHER]\r\nSubstPath_K=C:\\Theirs\r\n"), std::string::npos);
    EXPECT_NE(contents.find("[USER=SECOND]\r\nGridLines=1\r\n"), std::string::npos);

    // Nothing changed: nothing is written.
    m.sim.ResetCalls();
    SaveSettings(m.program);
    EXPECT_EQ(m.sim.Calls("ReplaceFileContents"), 0);
}

TEST(SettingsFile, AReplaceThatFailsLeavesTheOldFileWhole) {
    for (const char* how : {"read-only", "disk full"}) {
        CommandMachine m;
        m.sim.AddFile(TestMachine::kUserIni, kStored);
        LoadSettings(m.program);
        m.Scan();
        if (std::string(how) == "read-only")
            m.sim.SetFolderReadOnly(TestMachine::kUserIni);
        else
            m.sim.Fail("ReplaceFileContents");
        m.program.settings.GridLines = true;
        SaveSettings(m.program);
        EXPECT_EQ(m.sim.FileContents(TestMachine::kUserIni), kStored) << how;
    }
}

// Another program holds the file while a drive appears and Kelvra scans;
// every stored drive stays, nothing is written while the file is held, and
// the first save after it is let go keeps every entry.
TEST(SettingsFile, AHeldFileDuringAScanCostsNoStoredDrive) {
    CommandMachine m;
    m.sim.AddFile(TestMachine::kUserIni, kStored);
    LoadSettings(m.program);
    m.Scan();
    ASSERT_EQ(m.Row('P').Permanent, "YES");
    m.sim.HoldFile(TestMachine::kUserIni);
    ASSERT_TRUE(test::Subst(m.sim, 'W', "C:\\Other"));
    m.Scan();
    Display(m.program);
    EXPECT_EQ(m.Row('P').Permanent, "YES");
    EXPECT_EQ(m.Row('P').Label, "Project");
    EXPECT_EQ(m.Row('Q').State, "DISABLED");
    EXPECT_EQ(m.view.status.panels[4], Text(m.program.language, TextKey::main_stbininotread));
    SaveSettings(m.program);
    EXPECT_EQ(m.sim.Calls("ReplaceFileContents"), 0);

    m.sim.HoldFile(TestMachine::kUserIni, false);
    SaveSettings(m.program);
    EXPECT_EQ(m.Entry('P'), "C:\\Data\\Long Folder");
    EXPECT_EQ(m.LabelEntry('P'), "Project");
    EXPECT_EQ(m.Entry('Q'), "!C:\\Other");
    m.Scan();
    Display(m.program);
    EXPECT_EQ(m.view.status.panels[4], Text(m.program.language, TextKey::main_stbready));
    EXPECT_TRUE(m.ui.Messages().empty());
}

// Unreadable at start: the run uses the defaults, says so once, and never
// saves them, nor a drive table scanned before any read succeeded, over the
// user's file.
TEST(SettingsFile, AFileUnreadableAtStartIsNeverOverwrittenWithDefaults) {
    TestMachine m;
    m.sim.AddFolder("C:\\Data\\Long Folder");
    m.sim.AddFile(TestMachine::kUserIni, kStored);
    m.sim.HoldFile(TestMachine::kUserIni);
    EXPECT_EQ(RunStartup(m.program), Dispatch::MainWindow);
    EXPECT_EQ(m.program.settings.Language, "Deutsch");
    ASSERT_EQ(m.ui.Messages().size(), 1u);
    EXPECT_EQ(m.ui.Messages()[0].text,
              Notice(m.program, TextKey::main_msgini_errorread, TestMachine::kUserIni));
    RefreshAll(m.program);
    EXPECT_TRUE(m.program.drives.main[DriveIndexOf('P')].Permanent.empty());

    m.sim.HoldFile(TestMachine::kUserIni, false);
    SaveSettings(m.program);
    EXPECT_EQ(m.sim.FileContents(TestMachine::kUserIni), kStored);

    // Once a scan has read the entries, drives are saved again; the
    // settings of this run still are not.
    RefreshAll(m.program);
    EXPECT_EQ(m.program.drives.main[DriveIndexOf('P')].Permanent, "YES");
    m.program.drives.main[DriveIndexOf('P')].Label = "Renamed";
    SaveSettings(m.program);
    const std::string contents = m.sim.FileContents(TestMachine::kUserIni);
    EXPECT_NE(contents.find("SubstPathLabel_P=Renamed"), std::string::npos);
    EXPECT_NE(contents.find("Language=English"), std::string::npos);
    EXPECT_EQ(contents.find("ShowLEDs"), std::string::npos);
    EXPECT_EQ(m.ui.Messages().size(), 1u);
}

// Versions before the system's capitals wrote "USER=JöRG"; the system finds
// that section for "jörg", and so does every read and save.
TEST(SettingsFile, ASectionWithLowerCaseLettersOfTheCodePageIsTheUsers) {
    TestMachine m;
    m.Started().startup.User = "j\xF6rg";
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=J\xF6RG]\r\nGridLines=0\r\nSubstPath_K=C:\\Data\r\n");
    LoadSettings(m.program);
    EXPECT_FALSE(m.program.settings.GridLines);
    std::string path, label;
    EXPECT_EQ(LoadDriveEntry(m.program, SettingsSection(m.program), 'K', path, label), kIniOk);
    m.program.settings.GridLines = true;
    SaveSettings(m.program);
    const std::string contents = m.sim.FileContents(TestMachine::kUserIni);
    EXPECT_EQ(contents.find("[USER="), 0u);
    EXPECT_EQ(contents.find("[USER=", 1), std::string::npos) << contents;
    EXPECT_NE(contents.find("GridLines=1"), std::string::npos);
}

// A letter with a stored folder that is now a subst onto a share shows as
// the network drive it is, and its entries stay as stored.
TEST(SettingsFile, AStoredFolderUnderASubstOntoAShareStaysAsStored) {
    CommandMachine m;
    m.sim.AddFolder("\\\\srv\\share\\Folder");
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_S=!C:\\Other\r\nSubstPath_T=C:\\Other\r\n"
                  "SubstPathLabel_T=Mine\r\n");
    ASSERT_TRUE(test::Subst(m.sim, 'S', "\\\\srv\\share\\Folder"));
    ASSERT_TRUE(test::Subst(m.sim, 'T', "\\\\srv\\share\\Folder"));
    m.Scan();
    for (char letter : {'S', 'T'}) {
        EXPECT_EQ(m.Row(letter).Type, "REMOTE");
        EXPECT_EQ(m.Row(letter).Path, "\\\\srv\\share\\Folder");
        EXPECT_EQ(m.Row(letter).Permanent, "");
        EXPECT_EQ(m.Row(letter).State, "");
    }
    SaveSettings(m.program);
    EXPECT_EQ(m.Entry('S'), "!C:\\Other");
    EXPECT_EQ(m.Entry('T'), "C:\\Other");
    EXPECT_EQ(m.LabelEntry('T'), "Mine");
}

TEST(SettingsFile, ASettingsFolderThatCannotBeMadeIsNamedOnce) {
    TestMachine m;
    m.sim.SetFolderReadOnly(TestMachine::kAppData);
    RunStartup(m.program);
    ASSERT_EQ(m.ui.Messages().size(), 1u);
    EXPECT_EQ(m.ui.Messages()[0].text, Notice(m.program, TextKey::main_msgini_errorfolder,
                                              std::string(TestMachine::kAppData) + "Brannock"));

    // A logon restore without a window says nothing.
    TestMachine silent;
    silent.sim.SetFolderReadOnly(TestMachine::kAppData);
    silent.sim.SetCommandLine("/autostart");
    RunStartup(silent.program);
    EXPECT_TRUE(silent.ui.Messages().empty());
}

TEST(SettingsFile, ALanguageWhosePackCannotBeUsedIsNamedAtStart) {
    for (const char* pack : std::initializer_list<const char*>{"", "\xFF\xFEjunk", nullptr}) {
        TestMachine m;
        const std::string file = std::string(TestMachine::kProgramFolder) + "languages\\Fran.lng";
        if (pack) m.sim.AddFile(file, pack);
        m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nLanguage=Fran\r\n");
        RunStartup(m.program);
        ASSERT_EQ(m.ui.Messages().size(), 1u);
        EXPECT_EQ(m.ui.Messages()[0].text,
                  Notice(m.program, TextKey::main_msglanguage_error, file));
    }
}

DriveRecord& RowOf(Program& program, char letter) {
    return program.drives.main[DriveIndexOf(letter)];
}

// The window (the machine's program, shown) and another program beside it on
// the same settings file, both started and scanned.
struct OtherProgram {
    explicit OtherProgram(CommandMachine& m) : program(m.sim, ui) {
        LoadSettings(m.program);
        DisplayRefresh(m.program);
        program.startup = m.program.startup;
        LoadSettings(program);
        RefreshAll(program);
    }
    sim::ScriptedUi ui;
    Program program;
};

// The window and another program (a second Kelvra, the console program) on one
// settings file, both scanned with P: and Q: stored. The other program changes
// an entry and saves; then the window changes something and saves without
// having seen it. Each save keeps what it did not change itself, and the
// window's poll brings its list in step with the file by its full check, once.
TEST(SettingsFile, TwoProgramsKeepEachOthersChanges) {
    using Change = void (*)(Program&);
    struct Case {
        const char* name;
        Change other, window;
        const char *pathP, *labelP, *labelQ;  // afterwards; "-" for no entry
    };
    const Case cases[] = {
        {"labels of two drives", [](Program& p) { RowOf(p, 'P').Label = "Console"; },
         [](Program& p) { RowOf(p, 'Q').Label = "Window"; }, "C:\\Data\\Long Folder", "Console",
         "Window"},
        {"the window's later label wins", [](Program& p) { RowOf(p, 'P').Label = "Console"; },
         [](Program& p) { RowOf(p, 'P').Label = "Window"; }, "C:\\Data\\Long Folder", "Window",
         "-"},
        {"made temporary beside a label", [](Program& p) { RowOf(p, 'P').Permanent = ""; },
         [](Program& p) { RowOf(p, 'Q').Label = "Window"; }, "-", "Project", "Window"},
        {"label removed beside a settings change", [](Program& p) { RowOf(p, 'P').Label = ""; },
         [](Program& p) { p.settings.GridLines = true; }, "C:\\Data\\Long Folder", "-", "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        m.sim.AddFile(TestMachine::kUserIni, kStored);
        OtherProgram beside(m);
        Program& other = beside.program;

        c.other(other);
        SaveSettings(other);
        c.window(m.program);
        SaveSettings(m.program);
        EXPECT_EQ(m.Entry('P'), c.pathP);
        EXPECT_EQ(m.LabelEntry('P'), c.labelP);
        EXPECT_EQ(m.LabelEntry('Q'), c.labelQ);
        EXPECT_EQ(m.Entry('Q'), "!C:\\Other");

        m.view.showRowsCalls = 0;
        for (int i = 0; i < kFullCheckTicks; ++i) PollTick(m.program, true);
        EXPECT_EQ(m.view.showRowsCalls, 1);
        const auto shown = [](const char* entry) { return entry == std::string("-") ? "" : entry; };
        EXPECT_EQ(m.Row('P').Label, shown(c.labelP));
        EXPECT_EQ(m.Row('Q').Label, shown(c.labelQ));
        EXPECT_EQ(m.Row('P').Permanent, c.pathP == std::string("-") ? "" : "YES");
        // In step now; a file that cannot be read is no change either.
        for (int i = 0; i < kFullCheckTicks; ++i) PollTick(m.program, true);
        m.sim.HoldFile(TestMachine::kUserIni);
        for (int i = 0; i < kFullCheckTicks; ++i) PollTick(m.program, true);
        EXPECT_EQ(m.view.showRowsCalls, 1);
    }
}

// The other program makes the first drive that the logon restores; the
// window saves before it has seen it. The autostart entry stays.
TEST(SettingsFile, TheAutostartEntryStaysForADriveAnotherProgramStored) {
    CommandMachine m;
    m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nSubstPath_Q=!C:\\Other\r\n");
    OtherProgram beside(m);
    Program& other = beside.program;
    ASSERT_TRUE(other.startup.Local);
    RowOf(other, 'Q').State.clear();
    SaveSettings(other);
    std::string value;
    ASSERT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
    m.program.settings.GridLines = true;
    SaveSettings(m.program);
    EXPECT_EQ(m.Entry('Q'), "C:\\Other");
    EXPECT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
}

}  // namespace
}  // namespace kelvra
