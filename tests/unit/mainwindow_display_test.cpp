#include <gtest/gtest.h>

#include "drives/scan.h"
#include "drives/subst.h"
#include "drives_machine.h"
#include "mainwindow/main_window.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {
namespace {

// Colours as one letter each: blacK, Red, Green, Blue, grey (-), light grey (.).
std::string Colours(const RowView& row) {
    std::string s;
    for (uint32_t c : row.colours)
        s += c == colour::kBlack       ? 'K'
             : c == colour::kRed       ? 'R'
             : c == colour::kGreen     ? 'G'
             : c == colour::kBlue      ? 'B'
             : c == colour::kGrey      ? '-'
             : c == colour::kLightGrey ? '.'
                                       : '?';
    return s;
}

// One machine with every kind of row, each on its own letter.
class DriveList : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::SimulatedWindows& sim = m.sim;
        m.Started().view = &view;
        sim.AddDrive('A', kDriveRemovable, "", "");  // floppy drive without a disk
        sim.AddDrive('U', kDriveRemovable, "STICK", "FAT32");
        sim.AddFolder("C:\\Long Folder Name");
        sim.AddShare("\\\\srv\\share");
        ASSERT_TRUE(Subst(sim, 'K', ShortPathName(sim, "C:\\Long Folder Name")));
        StoreDriveEntry(sim, 'K', "C:\\Long Folder Name", "Work");
        StoreDriveEntry(sim, 'G', "!C:\\Old");
        StoreDriveEntry(sim, 'U', "C:\\Long Folder Name", "Mine");  // the stick took U:
        ASSERT_TRUE(Connect(sim, 'H', "\\\\srv\\share"));
        RefreshAll(m.program);
    }
    RowView Row(char letter) { return ComputeRow(m.program, DriveIndexOf(letter)); }
    std::wstring Texts(char letter) {
        const RowView r = Row(letter);
        return r.texts[0] + L"|" + r.texts[1] + L"|" + r.texts[2] + L"|" + r.texts[3];
    }
    TestMachine m;
    sim::FakeMainView view;
};

TEST_F(DriveList, RowsShowTextsColoursAndLeds) {
    // clang-format off
    struct Case { char letter; const wchar_t* texts; const char* colours; Led led; };
    const Case cases[] = {
        {'Q', L"Q: ||Frei|", "KKGK", Led::Grey},
        {'C', L"C:  SYSTEM||Festplatte|", "KRRR", Led::Cyan},
        {'K', L"K:  Work|Ja|Subst-Laufwerk (Festplatte)|C:\\Long Folder Name", "BKKK", Led::Green},
        {'G', L"G: |Deaktiviert|Subst-Laufwerk (Inaktiv)|C:\\Old", "K---", Led::Red},
        {'U', L"U:  STICK||Wechseldatenträger|", "KRRR", Led::Blue},  // stick's label, not "Mine"
        {'H', L"H: ||Netz-Laufwerk|\\\\srv\\share", "KKKK", Led::Green},
        {'A', L"A:||Wechseldatenträger|", "KRRR", Led::Cyan},  // A: asked only on its own setting
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Texts(c.letter), c.texts);
        EXPECT_EQ(Colours(Row(c.letter)), c.colours) << c.letter;
        EXPECT_EQ(Row(c.letter).led, c.led) << c.letter;
    }
}

TEST_F(DriveList, DeviceNamesByModeOnNtOnly) {
    // clang-format off
    struct Case { int mode; bool nt; char letter; std::wstring pathStart; };
    const Case cases[] = {
        {1, true, 'C', L"\\Device\\HarddiskVolume1"}, {1, true, 'K', L"C:\\Long Folder Name"},
        {1, true, 'H', L"\\\\srv\\share"}, {1, true, 'Q', L""}, {2, true, 'K', L"\\??\\C:\\"},
        {2, true, 'H', L"\\Device\\LanmanRedirector\\;H:"}, {2, false, 'C', L""},
    };
    // clang-format on
    for (const Case& c : cases) {
        m.program.settings.ShowDeviceNames = c.mode;
        m.program.startup.IsNT = c.nt;
        const std::wstring path = Row(c.letter).texts[3];
        EXPECT_EQ(c.pathStart.empty() ? path : path.substr(0, c.pathStart.size()), c.pathStart);
    }
}

TEST_F(DriveList, MoveModeGreysAllButFreeRowsAndTheSource) {
    m.program.main.MoveMode = true;
    m.program.main.SelectedDrive = DriveIndexOf('K');
    EXPECT_EQ(Colours(Row('C')) + Colours(Row('H')) + Colours(Row('G')), "............");
    EXPECT_EQ(Colours(Row('Q')) + Colours(Row('K')), "KKGKBKKK");
}

TEST_F(DriveList, FileSystemOfNetworkRowsIsNotAskedOnWindows9x) {
    m.program.settings.ShowFilesystem = true;
    EXPECT_EQ(Row('H').texts[0] + L"|" + Row('C').texts[0], L"H:  [NTFS]|C:  SYSTEM [NTFS]");
    m.program.startup.IsWin9x = true;
    m.program.startup.IsNT = false;
    EXPECT_EQ(Row('H').texts[0], L"H: ");
}

TEST_F(DriveList, DisplayAsksOnlyWhatItShowsAndNeverStopsAtAnEmptyDrive) {
    m.program.settings.ShowDrivelabels = false;
    m.sim.ResetCalls();
    Display(m.program);
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 0);
    // Labels on: C, G, U and H; not K (own label), not A or B, not free letters.
    m.program.settings.ShowDrivelabels = true;
    m.sim.ResetCalls();
    Display(m.program);
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 4);
    m.program.settings.ShowDrivelabelA = true;
    Display(m.program);
    EXPECT_EQ(m.sim.NoDiskBoxes(), 0);
    EXPECT_EQ(m.sim.ErrorMode(), 0u);
}

TEST_F(DriveList, DisplayFillsTheListTableAndTheView) {
    view.selected = DriveIndexOf('K');
    Display(m.program);
    const ListRecord& u = m.program.drives.list[DriveIndexOf('U')];
    EXPECT_EQ(u.Drive + "|" + u.Permanent + "|" + u.Type + "|" + u.Path,
              "U:  STICK||Wechseldatentr\xE4ger|");
    for (DriveIndex i = 1; i <= kDriveCount; ++i)
        EXPECT_TRUE(view.rows[i] == ComputeRow(m.program, i));
    EXPECT_TRUE(view.autoSized);
    EXPECT_EQ(view.showCommandsCalls, 1);
    EXPECT_EQ(view.status.panels[4], L"Bereit:");
    m.program.view = nullptr;  // without a window it still fills the table
    m.program.drives.list = {};
    Display(m.program);
    EXPECT_EQ(m.program.drives.list[DriveIndexOf('K')].Permanent, "Ja");
}

TEST(VolumeName, TrimmedWithoutNulsAndAnyByteSurvives) {
    const std::pair<std::string, std::string> cases[] = {
        {"  Data  ", "Data"},         {std::string(256, 'x'), std::string(256, 'x')},
        {std::string("\0AB", 3), ""}, {std::string("A\0B", 3), "AB"},
        {"\x81\xFF", "\x81\xFF"},
    };
    for (const auto& [label, shown] : cases) {
        TestMachine m;
        m.Started();
        m.sim.AddDrive('E', kDriveFixed, label);
        RefreshAll(m.program);
        EXPECT_EQ(VolumeLabel(m.sim, "E:"), shown);
        const std::wstring part = shown.empty() ? L"" : L" " + m.sim.AnsiToWide(shown);
        EXPECT_EQ(ComputeRow(m.program, 5).texts[0], L"E: " + part);
    }
}

TEST(TypeText, EveryKeywordAndCompositePieceByPiece) {
    // clang-format off
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"FREE", L"Frei"}, {"REMOVABLE", L"Wechseldatenträger"}, {"FIXED", L"Festplatte"},
        {"REMOTE", L"Netz-Laufwerk"}, {"CDROM", L"CD-ROM"}, {"RAMDISK", L"RAM-Disk"},
        {"UNKNOWN", L"Unbekannt"}, {"REMOTEVPC", L"Netz-Laufwerk (VPC)"},
        {"REMOTEVBOX", L"Netz-Laufwerk (VBOX)"}, {"REMOTE (INACTIVE)", L"Netz-Laufwerk (Inaktiv)"},
        {"SUBST (INACTIVE)", L"Subst-Laufwerk (Inaktiv)"}, {"Subst", L"Subst"}, {"", L""},
        {"SUBST (FIXED)", L"Subst-Laufwerk (Festplatte)"},
        {"SUBST (FREE)", L"Subst-Laufwerk (Frei)"}, {"SUBST (CDROM)", L"Subst-Laufwerk (CD-ROM)"},
    };
    // clang-format on
    const LanguageState german;
    for (const auto& [keyword, shown] : cases)
        EXPECT_EQ(TypeText(german, keyword), shown) << keyword;
    // Texts that contain keywords themselves are not translated twice.
    LanguageState english;
    english.texts[Index(TextKey::main_listdrivesubst)] = L"SUBST drive";
    english.texts[Index(TextKey::main_listdrivefixed)] = L"FIXED disk";
    EXPECT_EQ(TypeText(english, "SUBST (FIXED)"), L"SUBST drive (FIXED disk)");
}

TEST(StatusBar, PanelsAndPathCaption) {
    // Panels 2 to 4, then the path caption ("" leaves the column's as it is).
    // clang-format off
    struct Case { bool globalIni, local, permAutostart; int deviceNames; const wchar_t* shown; };
    const Case cases[] = {
        {false, false, false, 0,
         L"INI: <Benutzer> |Autostart: Nein |Funktionsumfang: Eingeschränkt |Pfad"},
        {true, true, true, 1,
         L"INI: <Global> |Autostart: Ja |Funktionsumfang: Vollständig |Pfad (2)"},
        {false, true, false, 2,
         L"INI: <Benutzer> |Autostart: Nein |Funktionsumfang: Vollständig |Pfad (3)"},
        {false, true, false, 7,
         L"INI: <Benutzer> |Autostart: Nein |Funktionsumfang: Vollständig |"},
    };
    // clang-format on
    for (const Case& c : cases) {
        TestMachine m;
        Program& p = m.Started();
        p.startup.GlobalINI = c.globalIni;
        p.startup.Local = c.local;
        p.settings.PermAutostart = c.permAutostart;
        p.settings.ShowDeviceNames = c.deviceNames;
        const StatusView s = ComputeStatus(p);
        EXPECT_EQ(s.panels[0] + s.panels[4], L"Benutzer: Tester Bereit:");
        EXPECT_EQ(s.panels[1] + L"|" + s.panels[2] + L"|" + s.panels[3] + L"|" + s.pathCaption,
                  c.shown);
    }
}

}  // namespace
}  // namespace kelvra::test
