#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "auxwindows/debug_info.h"
#include "platform/os_version.h"
#include "unit/test_machine.h"

namespace kelvra {
namespace {

using test::TestMachine;

const char* kSystem32 = "C:\\WINDOWS\\system32\\";
const char* kShellKey = "Software\\Brannock\\Kelvra";
const TimerStates kTimers = {{{100, false}, {1000, true}, {5000, false}}};

struct DebugMachine : TestMachine {
    DebugMachine() {
        Started();
        program.startup.WindowsVersion = GetOSVersion(sim);
        program.startup.ApplicationVersion = "2.3.19";
    }
    std::string Dump() { return DebugDump(program, kTimers); }
};

// The dump cut into its lines; every line must end in CR LF.
std::vector<std::string> Lines(const std::string& dump) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < dump.size()) {
        const std::size_t end = dump.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line without CR LF: " << dump.substr(start);
            break;
        }
        lines.push_back(dump.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& header) {
    auto it = std::find(lines.begin(), lines.end(), header);
    if (it == lines.end()) return {};
    auto end = std::find(it + 1, lines.end(), std::string());
    return std::vector<std::string>(it + 1, end);
}

TEST(DebugDump, SectionsInOrderEachAfterAnEmptyLine) {
    DebugMachine m;
    m.sim.AddFile(TestMachine::kUserIni, "[GLOBAL]\r\nLanguage=English\r\n");
    const std::vector<std::string> lines = Lines(m.Dump());
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;

    const char* headers[] = {
        "--MOST IMPORTANT VARIABLES--",    "--REGISTRY--",
        "--MAIN DRIVE TABLE (INTERNAL)--", "--SNAPSHOT DRIVE TABLE (INTERNAL)--",
        "--LIST DRIVE TABLE (VISIBLE)--",  "--INI--"};
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), headers[0]);
    std::size_t previous = 0;
    for (std::size_t h = 1; h < std::size(headers); ++h) {
        auto it = std::find(lines.begin(), lines.end(), headers[h]);
        ASSERT_NE(it, lines.end()) << headers[h];
        const auto at = static_cast<std::size_t>(it - lines.begin());
        EXPECT_GT(at, previous) << headers[h];
        EXPECT_EQ(lines[at - 1], "") << headers[h];
        previous = at;
    }
    for (std::size_t h = 2; h <= 4; ++h) EXPECT_EQ(Section(lines, headers[h]).size(), 26u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string()), 5);
}

TEST(DebugDump, VariablesLineByLine) {
    DebugMachine m;
    StartupState& s = m.program.startup;
    s.Local = true;
    s.GlobalINI = true;
    m.program.settings.AutostartStay = true;
    m.program.settings.PermAutostart = false;
    m.program.settings.Language = "English";
    m.program.language.texts[Index(TextKey::author_name)] = L"J\u00F6rg";
    m.sim.SetFileVersion(std::string(kSystem32) + "oleaut32.dll", {2, 40, 4522, 7});
    m.sim.SetFileVersion(std::string(kSystem32) + "stdole2.tlb", {3, 0, 0, 0});
    // A file without a version resource reads as empty.
    m.sim.AddFile(std::string(kSystem32) + "comcat.dll", "MZ");
    m.sim.AddFile("C:\\Program Files\\Kelvra\\helpfiles\\English.chm", "ITSF");

    const std::vector<std::string> expected = {
        "WindowsVerText: Windows XP Professional [Service Pack 3]",
        "WindowsVerNumbers: PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 3 PRTY:1 RSVD:0 SPMA:3 "
        "SPMI:0 MASK:256 PRIN:0 OSA:x86",
        "User: Tester",
        "advpack.dll Version: ",
        "asycfilt.dll Version: ",
        "comcat.dll Version: ",
        "mscomctl.ocx Version: ",
        "msvbvm60.dll Version: ",
        "oleaut32.dll Version: 2.40.4522.7",
        "olepro32.dll Version: ",
        "stdole2.tlb Version: 3.0.0.0",
        "ApplicationVersion: 2.3.19",
        "ApplicationPath: C:\\Program Files\\Kelvra\\",
        "ApplicationINIPath: C:\\Documents and Settings\\Tester\\Application "
        "Data\\Brannock\\Kelvra\\",
        "LanguageFile: C:\\Program Files\\Kelvra\\languages\\English.lng (0)",
        "LanguageAuthor: J\xF6rg",
        "LanguageVersion: 2.3.19",
        "HelpFile: C:\\Program Files\\Kelvra\\helpfiles\\English.chm (1)",
        "Local: 1",
        "Develop: 0",
        "AutostartStay: 1",
        "PermAutostart: 0",
        "GlobalINI: 1",
        "GlobalProfile: 0",
        "Timer1.intervall: 100",
        "Timer2.intervall: 1000",
        "Timer3.intervall: 5000",
        "Timer1.enabled: 0",
        "Timer2.enabled: 1",
        "Timer3.enabled: 0",
    };
    EXPECT_EQ(Section(Lines(m.Dump()), "--MOST IMPORTANT VARIABLES--"), expected);
}

TEST(DebugDump, LanguagePackPresenceAndUnknownSystemFolder) {
    DebugMachine m;
    m.program.settings.Language = "Deutsch";
    // No system folder: every version stays empty rather than being looked
    // up in the current folder.
    m.sim.Fail("SystemDirectory");
    m.sim.ResetCalls();
    std::vector<std::string> vars = Section(Lines(m.Dump()), "--MOST IMPORTANT VARIABLES--");
    EXPECT_EQ(m.sim.Calls("GetFileVersion"), 0);
    EXPECT_NE(std::find(vars.begin(), vars.end(),
                        "LanguageFile: C:\\Program Files\\Kelvra\\languages\\Deutsch.lng (0)"),
              vars.end());
    EXPECT_NE(std::find(vars.begin(), vars.end(), "LanguageAuthor: Kelvra-Projekt"), vars.end());

    m.sim.AddFile("C:\\Program Files\\Kelvra\\languages\\Deutsch.lng", "");
    vars = Section(Lines(m.Dump()), "--MOST IMPORTANT VARIABLES--");
    EXPECT_NE(std::find(vars.begin(), vars.end(),
                        "LanguageFile: C:\\Program Files\\Kelvra\\languages\\Deutsch.lng (1)"),
              vars.end());
    EXPECT_NE(std::find(vars.begin(), vars.end(), "oleaut32.dll Version: "), vars.end());
}

TEST(DebugDump, RegistryValuesAndTheirCommandKeys) {
    enum Registered { Nothing, MachineWide, UserFolderToo };
    struct Case {
        const char* what;
        Registered registered;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nothing registered: every value empty",
         Nothing,
         {"REGAutorun: ", "ShellcontextNewString: ", "ShellcontextNew: ",
          "ShellcontextKillString: ", "ShellcontextKill: "}},
        {"machine-wide; the missing kill caption looks up the key with an empty caption",
         MachineWide,
         {"REGAutorun: \"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart",
          "ShellcontextNewString: Laufwerk verbinden...",
          "ShellcontextNew: \"C:\\Program Files\\Kelvra\\Kelvra.exe\" /set=\"%1\"",
          "ShellcontextKillString: ", "ShellcontextKill: empty caption"}},
        {"the user's entry is the one Explorer shows",
         UserFolderToo,
         {"REGAutorun: \"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart",
          "ShellcontextNewString: Meins", "ShellcontextNew: user",
          "ShellcontextKillString: ", "ShellcontextKill: empty caption"}},
    };
    const std::string classes = "Software\\Classes\\";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DebugMachine m;
        if (c.registered != Nothing) {
            m.sim.SetRegistryString(kHkeyCurrentUser,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Kelvra",
                                    "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart");
            m.sim.SetRegistryString(kHkeyLocalMachine, kShellKey, "ShellContextNew",
                                    "Laufwerk verbinden...");
            m.sim.SetRegistryString(
                kHkeyLocalMachine,
                classes + "directory\\shell\\Kelvra - Laufwerk verbinden...\\command", "",
                "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /set=\"%1\"");
            m.sim.SetRegistryString(kHkeyLocalMachine, classes + "drive\\shell\\Kelvra - \\command",
                                    "", "empty caption");
        }
        if (c.registered == UserFolderToo) {
            m.sim.SetRegistryString(kHkeyCurrentUser, kShellKey, "ShellContextNew", "Meins");
            m.sim.SetRegistryString(kHkeyCurrentUser,
                                    classes + "Directory\\shell\\Kelvra - Meins\\command", "",
                                    "user");
        }
        EXPECT_EQ(Section(Lines(m.Dump()), "--REGISTRY--"), c.expected);
    }
}

TEST(DebugDump, DriveTablesFieldByField) {
    DebugMachine m;
    DriveTables& t = m.program.drives;
    t.main[3] = DriveRecord{"C:", "FIXED", "", "", "", ""};
    t.main[11] = DriveRecord{"K:", "SUBST (INACTIVE)", "C:\\Daten", "YES", "DISABLED", "Mein K"};
    t.snapshot[3] = SnapshotRecord{"FIXED", ""};
    t.snapshot[26] = SnapshotRecord{"REMOTE", "\\\\server\\share"};
    t.list[11] = ListRecord{"K: Mein K", "Ja", "Subst-Laufwerk (inaktiv)", "C:\\Daten"};

    const std::vector<std::string> lines = Lines(m.Dump());
    const std::vector<std::string> main = Section(lines, "--MAIN DRIVE TABLE (INTERNAL)--");
    ASSERT_EQ(main.size(), 26u);
    EXPECT_EQ(main[0], "1: 0> 1> 2> 3> 4> 5> ");
    EXPECT_EQ(main[2], "3: 0>C: 1>FIXED 2> 3> 4> 5> ");
    EXPECT_EQ(main[10], "11: 0>K: 1>SUBST (INACTIVE) 2>C:\\Daten 3>YES 4>DISABLED 5>Mein K ");
    const std::vector<std::string> snapshot = Section(lines, "--SNAPSHOT DRIVE TABLE (INTERNAL)--");
    ASSERT_EQ(snapshot.size(), 26u);
    EXPECT_EQ(snapshot[2], "3: 0>FIXED 1> ");
    EXPECT_EQ(snapshot[25], "26: 0>REMOTE 1>\\\\server\\share ");
    const std::vector<std::string> list = Section(lines, "--LIST DRIVE TABLE (VISIBLE)--");
    ASSERT_EQ(list.size(), 26u);
    EXPECT_EQ(list[10], "11: 0>K: Mein K 1>Ja 2>Subst-Laufwerk (inaktiv) 3>C:\\Daten ");
    EXPECT_EQ(list[25], "26: 0> 1> 2> 3> ");
}

TEST(DebugDump, SettingsFileLinesUnchangedAndOnlyWhenItExists) {
    struct Case {
        const char* what;
        const char* contents;  // nullptr: no settings file
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"no file", nullptr, {}},
        {"CR LF lines with blanks kept",
         "[USER=TESTER]\r\n  GridLines = 1 \r\nSubstPath_K=C:\\Daten\r\n",
         {"[USER=TESTER]", "  GridLines = 1 ", "SubstPath_K=C:\\Daten"}},
        {"lone CR and LF end lines too; the last needs no end",
         "[GLOBAL]\nA=1\rB=2\r\n\r\nC=3",
         {"[GLOBAL]", "A=1", "B=2", "", "C=3"}},
        {"an empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DebugMachine m;
        if (c.contents) m.sim.AddFile(TestMachine::kUserIni, c.contents);
        const std::vector<std::string> lines = Lines(m.Dump());
        auto header = std::find(lines.begin(), lines.end(), "--INI--");
        if (!c.contents) {
            EXPECT_EQ(header, lines.end());
            EXPECT_EQ(lines.back(), "26: 0> 1> 2> 3> ");
            continue;
        }
        ASSERT_NE(header, lines.end());
        EXPECT_EQ(std::vector<std::string>(header + 1, lines.end()), c.expected);
    }
}

TEST(DebugDump, SystemFolderAndFileVersions) {
    struct Case {
        const char* systemDirectory;  // nullptr: the query fails
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\"},
        {"C:\\", "C:\\"},
        {nullptr, "\\"},
    };
    for (const Case& c : cases) {
        sim::SimulatedWindows sim;
        if (c.systemDirectory)
            sim.SetSystemDirectory(c.systemDirectory);
        else
            sim.Fail("SystemDirectory");
        EXPECT_EQ(SystemFolder(sim), c.folder);
    }

    sim::SimulatedWindows sim;
    sim.SetFileVersion("C:\\WINDOWS\\system32\\msvbvm60.dll", {6, 0, 98, 32});
    sim.AddFile("C:\\WINDOWS\\system32\\plain.dll", "MZ");
    EXPECT_EQ(FileVersionText(sim, "C:\\WINDOWS\\system32\\msvbvm60.dll"), "6.0.98.32");
    EXPECT_EQ(FileVersionText(sim, "C:\\WINDOWS\\system32\\plain.dll"), "");
    EXPECT_EQ(FileVersionText(sim, "C:\\WINDOWS\\system32\\missing.dll"), "");
}

}  // namespace
}  // namespace kelvra
