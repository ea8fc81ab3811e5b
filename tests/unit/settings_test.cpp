#include "startup/settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "drives/drive_entries.h"
#include "platform/inireg.h"
#include "unit/commands_machine.h"
#include "unit/test_machine.h"

namespace kelvra {
namespace {

using test::TestMachine;

std::string Read(TestMachine& m, const std::string& section, const std::string& key) {
    int32_t status = 0;
    return ReadIniString(m.sim, m.program.startup.IniFilePath, section, key, "<missing>", status);
}

// The key names in the order they stand in the file.
std::vector<std::string> KeysInFile(const std::string& contents) {
    std::vector<std::string> keys;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find("\r\n", pos);
        std::string line = contents.substr(pos, end - pos);
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && line[0] != '[') keys.push_back(line.substr(0, eq));
        if (end == std::string::npos) break;
        pos = end + 2;
    }
    return keys;
}

TEST(Settings, MissingFileGivesTheDefaults) {
    TestMachine m;
    LoadSettings(m.Started());
    const Settings& s = m.program.settings;
    EXPECT_TRUE(s.ShowWarnings);
    EXPECT_TRUE(s.ShowWarningsSCE);
    EXPECT_EQ(s.ShowDeviceNames, 0);
    EXPECT_FALSE(s.MinimizeToSystray);
    EXPECT_FALSE(s.AllowResize);
    EXPECT_TRUE(s.GridLines && s.ShowLEDs && s.ShowButtons && s.ShowDrivelabels);
    EXPECT_FALSE(s.ShowDrivelabelA || s.ShowDrivelabelB || s.ShowFilesystem);
    EXPECT_TRUE(s.SubstDefaultPermanent && s.NetDefaultPermanent);
    EXPECT_TRUE(s.SubstDefaultPermanentSCE && s.NetDefaultPermanentSCE);
    EXPECT_FALSE(s.SubstPermanentLink || s.NetPermanentLink);
    EXPECT_FALSE(s.SubstPermanentLinkSCE || s.NetPermanentLinkSCE);
    EXPECT_EQ(s.ColumnOrder, "1/2/3/4");
    EXPECT_EQ(s.ColumnWidth, "15/15/15/15");
    EXPECT_EQ(s.WindowWidth, kMainWindowDesignWidth);
    EXPECT_FALSE(s.AutostartStay || s.PermAutostart);
    EXPECT_EQ(s.ShowHints, "11");
    EXPECT_EQ(s.LastPos, "<center>");
    EXPECT_EQ(s.Language, "Deutsch");
    EXPECT_FALSE(s.DontShowBusySplash || s.ExpertMode);
}

TEST(Settings, FirstSaveWritesEveryKeyInOrderIntoTheUserSection) {
    TestMachine m;
    m.Started().startup.User = "j\xF6rg";  // Windows-1252, as the system answers
    SaveSettings(m.program);
    const std::string contents = m.sim.FileContents(TestMachine::kUserIni);
    ASSERT_EQ(contents.rfind("[USER=J\xD6RG]\r\n", 0), 0u) << contents;
    const std::vector<std::string> expected = {"MinimizeToSystray",
                                               "AllowResize",
                                               "GridLines",
                                               "ShowLEDs",
                                               "ShowButtons",
                                               "ShowDrivelabels",
                                               "ShowDrivelabelA",
                                               "ShowDrivelabelB",
                                               "ShowFilesystem",
                                               "AutostartStay",
                                               "PermAutostart",
                                               "PermAutostartAdmin",
                                               "ShowHints",
                                               "LastPos",
                                               "ColumnOrder",
                                               "ColumnWidth",
                                               "WindowWidth",
                                               "ShowDeviceNames",
                                               "ShowWarnings",
                                               "SubstDefaultPermanent",
                                               "SubstPermanentLink",
                                               "NetDefaultPermanent",
                                               "NetPermanentLink",
                                               "ShowWarningsSCE",
                                               "SubstDefaultPermanentSCE",
                                               "SubstPermanentLinkSCE",
                                               "NetDefaultPermanentSCE",
                                               "NetPermanentLinkSCE",
                                               "ExplorerLabels",
                                               "Language"};
    EXPECT_EQ(KeysInFile(contents), expected);
    EXPECT_EQ(Read(m, "USER=J\xD6RG", "GridLines"), "1");
    EXPECT_EQ(Read(m, "USER=J\xD6RG", "WindowWidth"), std::to_string(kMainWindowDesignWidth));
    EXPECT_EQ(Read(m, "USER=J\xD6RG", "LastPos"), "<center>");
}

// The section carries the user name in the system's capitals, which depend
// on its code page: the same bytes are different letters in 1252 and 1251.
TEST(Settings, SectionTakesTheSystemsCapitals) {
    struct Case {
        uint32_t codePage;
        const char* user;
        bool global;
        const char* section;
        int systemCalls;  // only names beyond ASCII need the system
    };
    const Case cases[] = {
        {1252, "Tester", false, "USER=TESTER", 0},
        {1251, "tester-1_x", false, "USER=TESTER-1_X", 0},
        {1252, "", false, "USER=", 0},
        {1252, "j\xF6rg", false, "USER=J\xD6RG", 1},
        {1252, "\x9A\x9C\x9E\xFF\xF7\xDF", false, "USER=\x8A\x8C\x8E\x9F\xF7\xDF", 1},
        // "Vanya", "chort", "Yozh" in Cyrillic: я (0xFF), ч (0xF7), ё (0xB8) have
        // other capitals than the same bytes in 1252.
        {1251, "\xC2\xE0\xED\xFF", false, "USER=\xC2\xC0\xCD\xDF", 1},
        {1251, "\xF7\xB8\xF0\xF2", false, "USER=\xD7\xA8\xD0\xD2", 1},
        {1251, "\xB8\xE6", false, "USER=\xA8\xC6", 1},
        {1251, "\xC2\xE0\xED\xFF", true, "GLOBAL", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        TestMachine m;
        Program& p = m.Started();
        m.sim.SetCodePage(c.codePage);
        p.startup.User = c.user;
        p.startup.GlobalProfile = c.global;
        m.sim.ResetCalls();
        EXPECT_EQ(SettingsSection(p), c.section);
        EXPECT_EQ(m.sim.Calls("CharUpperBuff"), c.systemCalls);
        EXPECT_EQ(p.startup.User, c.user);  // upper-cased in a copy
    }
}

// A Cyrillic user on a 1251 system finds the section in the system's capitals
// (as another program or an earlier save wrote it), and reads back what it saves.
TEST(Settings, CyrillicUserFindsAndKeepsTheirSection) {
    TestMachine m;
    Program& p = m.Started();
    m.sim.SetCodePage(1251);
    p.startup.User = "\xC2\xE0\xED\xFF";
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=\xC2\xC0\xCD\xDF]\r\nGridLines=0\r\nSubstPath_K=C:\\Data\r\n");
    LoadSettings(p);
    EXPECT_FALSE(p.settings.GridLines);
    std::string path, label;
    EXPECT_EQ(LoadDriveEntry(p, SettingsSection(p), 'K', path, label), kIniOk);
    EXPECT_EQ(path, "C:\\Data");

    p.settings.Language = "English";
    SaveSettings(p);
    TestMachine again;
    Program& q = again.Started();
    again.sim.SetCodePage(1251);
    again.sim.AddFile(TestMachine::kUserIni, m.sim.FileContents(TestMachine::kUserIni));
    q.startup.User = "\xC2\xE0\xED\xFF";
    LoadSettings(q);
    EXPECT_EQ(q.settings.Language, "English");
    EXPECT_FALSE(q.settings.GridLines);
    EXPECT_EQ(m.sim.FileContents(TestMachine::kUserIni).find("[USER="), 0u);
    EXPECT_EQ(m.sim.FileContents(TestMachine::kUserIni).find("[USER=", 1), std::string::npos);
}

TEST(Settings, GlobalProfileUsesSectionGlobal) {
    TestMachine m;
    m.Started().startup.GlobalProfile = true;
    m.program.settings.Language = "English";
    SaveSettings(m.program);
    EXPECT_EQ(Read(m, "GLOBAL", "Language"), "English");
    EXPECT_EQ(Read(m, "USER=TESTER", "Language"), "<missing>");
}

TEST(Settings, SaveKeepsHandWrittenKeysAndOtherSections) {
    TestMachine m;
    m.Started();
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=OTHER]\r\nGridLines=0\r\nSubstPath_K=C:\\Other\r\n"
                  "[USER=TESTER]\r\nDontShowBusySplash=1\r\nExpertMode=1\r\nGridLines=0\r\n");
    LoadSettings(m.program);
    EXPECT_TRUE(m.program.settings.DontShowBusySplash);
    EXPECT_TRUE(m.program.settings.ExpertMode);
    m.program.settings.GridLines = true;
    m.program.settings.ExpertMode = false;  // never written back, whatever memory holds
    SaveSettings(m.program);
    EXPECT_EQ(Read(m, "USER=TESTER", "DontShowBusySplash"), "1");
    EXPECT_EQ(Read(m, "USER=TESTER", "ExpertMode"), "1");
    EXPECT_EQ(Read(m, "USER=TESTER", "GridLines"), "1");
    EXPECT_EQ(Read(m, "USER=OTHER", "GridLines"), "0");
    EXPECT_EQ(Read(m, "USER=OTHER", "SubstPath_K"), "C:\\Other");
}

TEST(Settings, FlagConversions) {
    struct Case {
        const char* text;
        bool flag;         // ordinary flags
        bool booleanText;  // AllowResize, NetPermanentLinkSCE
    };
    const Case cases[] = {
        {"1", true, true},     {"-1", true, true},    {"2", true, true},
        {"0", false, false},   {"", false, false},    {"yes", false, false},
        {"True", false, true}, {"TRUE", false, true}, {"false", false, false},
        {"0.5", true, true},   {"  7x", true, true},  {"abc", false, false},
        {"1e3", true, true},   {"-0", false, false},  {".", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FlagFromText(c.text), c.flag) << c.text;
        EXPECT_EQ(BooleanTextFromText(c.text), c.booleanText) << c.text;
    }
}

TEST(Settings, LoadConvertsEachKindOfKey) {
    TestMachine m;
    m.Started();
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nAllowResize=True\r\nGridLines=True\r\nShowLEDs=yes\r\n"
                  "NetPermanentLinkSCE=tRuE\r\nShowDeviceNames=1.6\r\nWindowWidth=8000.5\r\n"
                  "ColumnOrder= 4/3/2/1 \r\nShowHints=0\r\n");
    LoadSettings(m.program);
    const Settings& s = m.program.settings;
    EXPECT_TRUE(s.AllowResize);
    EXPECT_FALSE(s.GridLines);
    EXPECT_FALSE(s.ShowLEDs);
    EXPECT_TRUE(s.NetPermanentLinkSCE);
    EXPECT_EQ(s.ShowDeviceNames, 2);
    EXPECT_EQ(s.WindowWidth, 8000);  // halves round to even
    EXPECT_EQ(s.ColumnOrder, "4/3/2/1");
    EXPECT_EQ(s.ShowHints, "01");
}

TEST(Settings, ShowHintsIsPaddedToTheHintCount) {
    EXPECT_EQ(PadHints("1", 2), "11");
    EXPECT_EQ(PadHints("0", 2), "01");
    EXPECT_EQ(PadHints("", 2), "11");
    EXPECT_EQ(PadHints("101", 2), "101");
    EXPECT_EQ(PadHints("", 0), "");
}

TEST(Settings, BadValuesGiveDefinedResults) {
    TestMachine m;
    m.Started();
    std::string junk =
        "[USER=TESTER]\r\nWindowWidth=99999999999999999999999\r\n"
        "ShowDeviceNames=-99999999999999999999\r\nGridLines=1e999\r\n"
        "ShowLEDs=nan\r\nLastPos=" +
        std::string(5000, 'x') + "\r\n";
    for (int i = 0; i < 256; ++i) junk.push_back(static_cast<char>(i));
    junk += "\r\nShowButtons=0\r\n";
    m.sim.AddFile(TestMachine::kUserIni, junk);
    LoadSettings(m.program);
    const Settings& s = m.program.settings;
    EXPECT_EQ(s.WindowWidth, INT_MAX);
    EXPECT_EQ(s.ShowDeviceNames, INT_MIN);
    EXPECT_TRUE(s.GridLines);
    EXPECT_FALSE(s.ShowLEDs);
    EXPECT_EQ(s.LastPos, std::string(1023, 'x'));  // cut by the 1,024-character buffer
    EXPECT_FALSE(s.ShowButtons);
}

TEST(Settings, MissingSectionGivesDefaults) {
    TestMachine m;
    m.Started();
    m.sim.AddFile(TestMachine::kUserIni, "[USER=SOMEONE]\r\nGridLines=0\r\n");
    LoadSettings(m.program);
    EXPECT_TRUE(m.program.settings.GridLines);
}

TEST(Settings, UnwritableFileFailsSilently) {
    TestMachine m;
    m.Started();
    m.sim.SetFolderReadOnly("C:\\Documents and Settings\\Tester\\Application Data\\Brannock");
    SaveSettings(m.program);
    EXPECT_EQ(m.program.startup.LastStatus, kIniFailed);
    EXPECT_FALSE(m.sim.PathExists(TestMachine::kUserIni));
}

TEST(Settings, SaveWritesTheListLayoutItIsGivenElseTheStoredOne) {
    TestMachine m;
    m.Started().settings.ColumnOrder = "2/1/3/4";
    SaveSettings(m.program);
    EXPECT_EQ(Read(m, "USER=TESTER", "ColumnOrder"), "2/1/3/4");
    SaveSettings(m.program, ListLayout{"4/3/2/1", "1000/1000/1000/1000", 7000});
    EXPECT_EQ(Read(m, "USER=TESTER", "ColumnOrder"), "4/3/2/1");
    EXPECT_EQ(Read(m, "USER=TESTER", "ColumnWidth"), "1000/1000/1000/1000");
    EXPECT_EQ(Read(m, "USER=TESTER", "WindowWidth"), "7000");
    EXPECT_EQ(m.program.settings.WindowWidth, 7000);
}

// A command's save carries the layout the window shows at that moment.
TEST(Settings, CommandsSaveTheLayoutTheWindowShows) {
    test::CommandMachine m;
    m.view.layout = ListLayout{"3/1/2/4", "900/900/900/900", 8000};
    m.Scan();
    m.Select('X');
    m.ui.QueueFolder(L"C:\\Other");
    cmdNew_Click(m.program);
    ASSERT_EQ(m.Row('X').Type, "SUBST (FIXED)");
    EXPECT_EQ(Read(m, "USER=TESTER", "ColumnOrder"), "3/1/2/4");
    EXPECT_EQ(Read(m, "USER=TESTER", "WindowWidth"), "8000");
}

}  // namespace
}  // namespace kelvra
