// End-to-end tests of the drive commands of the real Kelvra.exe under Wine,
// driven as a user drives them: keys on the list, the folder chooser, the
// question and input boxes, a drag with the mouse. Each result is checked
// where it lands: the DOS-device table, kelvra.ini beside the program, the
// desktop folder, and the program's own debug dump. Every wait is for a
// state; a test that fails still removes the letters it used.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <ostream>
#include <set>

#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kIdInputEdit = 101;

// The buttons of the command bar, in the order of their ids.
enum Button : int {
    kNew = kIdButtonFirst,
    kMove,
    kKill,
    kFix,
    kDeactivate,
    kDeactivatePerm,
    kRename,
    kLink
};

// Captions of the program's boxes ("Kelvra - " and the title part).
const char kAskKill[] = "Kelvra - Trennen";
const char kAskActivate[] = "Kelvra - Aktivieren/Deaktivieren";
const char kAskDeactivatePerm[] = "Kelvra - Permanent deaktivieren";
const char kConnectBox[] = "Kelvra - Verbinden";
const char kRenameBox[] = "Kelvra - Laufwerks-Bezeichnung ändern";
const char kLinkBox[] = "Kelvra - Verknüpfung erstellen";
const char kCharsBox[] = "Kelvra - Ungültige Zeichen";
const char kChooser[] = "Browse for Folder";

std::string WithoutSlash(const std::string& folder) {
    return folder.substr(0, folder.size() - 1);
}

// Text in the system's code page (1252 here), as the settings file holds it.
std::string Ansi(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int n =
        MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring ShortForm(const std::wstring& path) {
    wchar_t out[1024] = {};
    const DWORD n = GetShortPathNameW(path.c_str(), out, 1024);
    return n > 0 && n < 1024 ? std::wstring(out) : std::wstring();
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The DOS device made for a folder: its short form behind "\??\".
std::wstring DeviceFor(const std::wstring& folder) {
    return L"\\??\\" + ShortForm(folder);
}

bool MappedTo(char letter, const std::wstring& folder) {
    return SameText(DosDeviceTarget(letter), DeviceFor(folder));
}

// The value of `key` in the settings file, byte for byte as written; the
// string "<missing>" when the file has no such key.
std::string RawValue(const std::string& file, const std::string& key) {
    const std::string bytes = ReadBytes(file);
    const std::string start = "\n" + key + "=";
    const std::size_t at = ("\n" + bytes).find(start);
    if (at == std::string::npos) return "<missing>";
    const std::size_t from = at + start.size() - 1;
    return bytes.substr(from, bytes.find_first_of("\r\n", from) - from);
}

// One row of the debug dump's main drive table, field by field:
// "<n>: 0>X: 1>TYPE 2>PATH 3>PERMANENT 4>STATE 5>LABEL ".
struct DumpRow {
    bool found = false;
    std::string type, path, permanent, state, label;
};

DumpRow MainTableRow(const std::string& dump, char letter) {
    DumpRow row;
    const std::string start = std::to_string(letter - 'A' + 1) + ": 0>" + Letter(letter) + ": 1>";
    std::size_t at = dump.find("--MAIN DRIVE TABLE");
    if (at == std::string::npos) return row;
    at = dump.find("\r\n" + start, at);
    if (at == std::string::npos) return row;
    const std::string line = dump.substr(at + 2, dump.find("\r\n", at + 2) - at - 2);
    std::string* fields[] = {&row.type, &row.path, &row.permanent, &row.state, &row.label};
    std::size_t from = start.size();
    for (int f = 0; f < 5; ++f) {
        const std::string next = f < 4 ? " " + std::to_string(f + 2) + ">" : " ";
        const std::size_t end = f < 4 ? line.find(next, from) : line.size() - 1;
        if (end == std::string::npos || end < from) return row;
        *fields[f] = line.substr(from, end - from);
        from = end + next.size();
    }
    row.found = true;
    return row;
}

std::ostream& operator<<(std::ostream& os, const DumpRow& r) {
    return os << (r.found ? "" : "<not found> ") << "type=" << r.type << " path=" << r.path
              << " perm=" << r.permanent << " state=" << r.state << " label=" << r.label;
}

std::vector<std::string> ListDir(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// A copy of Kelvra.exe in a scratch program folder with a settings file the
// test writes, a scratch desktop, and the autostart value kept as it was.
class CommandsTest : public ScratchProgramTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "the settings-file checks expect code page 1252";
        ScratchProgramTest::SetUp();
        data_ = MakeScratchFolder("cmddata");
        desktop_ = MakeScratchFolder("desktop");
        desktopGuard_ =
            std::make_unique<RegistryValueGuard>(HKEY_CURRENT_USER, kShellFolders, "Desktop");
        runGuard_ = std::make_unique<RegistryValueGuard>(HKEY_CURRENT_USER, kRunKey, "Kelvra");
        SetRegString(HKEY_CURRENT_USER, kShellFolders, "Desktop", WithoutSlash(desktop_));
    }

    void TearDown() override {
        ScratchProgramTest::TearDown();
        RemoveTree(data_);
        RemoveTree(desktop_);
    }

    std::string DataPath() const { return WithoutSlash(data_); }
    // Each save rewrites the whole file, so it is read only while the
    // program waits for messages, never in the middle of a save.
    std::string Entry(const std::string& key) const {
        Settle();
        return RawValue(Ini(), key);
    }
    std::string PathEntry(char letter) const { return Entry("SubstPath_" + Letter(letter)); }
    std::string LabelEntry(char letter) const { return Entry("SubstPathLabel_" + Letter(letter)); }
    bool WaitForEntry(const std::string& key, const std::string& value) const {
        return WaitUntil([&] { return Entry(key) == value; }, kStateTimeout, 100);
    }

    // A letter free now, from `below` down; removed again at the end.
    char Claim(char below = 'Y') {
        char letter = FreeLetter(below);
        while (letter && letters_.count(letter)) letter = FreeLetter(letter - 1);
        if (letter) letters_.insert(letter);
        return letter;
    }

    // A permanent subst drive as the program leaves one: mapped to the data
    // folder, with its entry (and label) in the settings file.
    void PresetDrive(char letter, const std::string& label = "", const std::string& more = "") {
        // Mapped on the short form, as the program maps it.
        const std::string shortForm = Utf8(ShortForm(Wide(DataPath())));
        ASSERT_TRUE(DefineDosDeviceA(0, (Letter(letter) + ":").c_str(), shortForm.c_str()));
        std::string lines = "SubstPath_" + Letter(letter) + "=" + DataPath() + "\r\n";
        if (!label.empty()) lines += "SubstPathLabel_" + Letter(letter) + "=" + label + "\r\n";
        WriteSettings(lines + more);
    }

    HWND ButtonOf(Button id) const { return GetDlgItem(main_, id); }
    std::string Caption(Button id) const { return LongWindowText(ButtonOf(id)); }
    // Answers the box with `caption` by `button`; its text in `text`.
    bool Answer(const std::string& caption, int button, std::string* text = nullptr) {
        HWND box = WaitForBox(Pid(), caption);
        if (!box) {
            ADD_FAILURE() << "no box \"" << caption << "\"; " << Boxes();
            return false;
        }
        if (text) *text = LongWindowText(GetDlgItem(box, kMessageBoxTextId));
        PressDialogButton(box, button);
        return WaitUntil([&] { return !IsWindow(box); });
    }

    // Types `answer` into the input box with `caption` and confirms it; the
    // default the box offered in `offered`.
    bool Input(const std::string& caption, const std::wstring& answer,
               std::string* offered = nullptr) {
        HWND box = WaitForDialog(Pid(), caption);
        if (!box) {
            ADD_FAILURE() << "no input box \"" << caption << "\"";
            return false;
        }
        HWND edit = GetDlgItem(box, kIdInputEdit);
        if (offered) *offered = LongWindowText(edit);
        if (!SetControlText(edit, answer)) return false;
        PressDialogButton(box, IDOK);
        return WaitUntil([&] { return !IsWindow(box); });
    }

    std::vector<HWND> OpenBoxes() const { return VisibleWindowsOf(Pid(), "#32770", ""); }
    // The open boxes with their texts, for failure messages.
    std::string Boxes() const {
        std::string all;
        for (HWND box : OpenBoxes()) all += "[" + TitleUtf8(box) + ": " + ChildTexts(box) + "] ";
        return all.empty() ? "no box open" : all;
    }

    // Keys queue behind earlier input: once the debug window shows, every
    // key and mouse event before it has been handled.
    std::string Dump() {
        if (!FocusControl(main_, list_) || !PressKey('D', {VK_CONTROL})) return "<no keys>";
        HWND debug = WaitForVisibleWindow(Pid(), "", kMainTitle + " - Debug Infos");
        if (!debug) return "<no debug window>";
        const std::string text = LongWindowText(ChildOfClass(debug, "Edit"));
        PostMessageW(debug, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(debug) && IsWindowEnabled(main_); });
        return text;
    }
    DumpRow DumpedRow(char letter) { return MainTableRow(Dump(), letter); }

    std::string data_, desktop_;
    std::unique_ptr<RegistryValueGuard> desktopGuard_, runGuard_;
    std::set<char> letters_;
};

// ---------------------------------------------------------------------------
// New, permanent and temporary, deactivate and activate

TEST_F(CommandsTest, NewOnAFreeLetterMapsTheChosenFolderAndStoresItsLongPath) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    const std::wstring folder = Wide(DataPath()) + L"\\Daten Größe";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteSettings("");
    ASSERT_TRUE(Launch());

    ASSERT_TRUE(Press(x, VK_F7));
    HWND chooser = WaitForVisibleWindow(Pid(), "#32770", kChooser);
    ASSERT_NE(chooser, nullptr) << "no folder chooser after F7";
    EXPECT_NE(ChildTexts(chooser).find("Verbinden: Verzeichnis für neues Laufwerk " + Letter(x) +
                                       ": wählen"),
              std::string::npos)
        << ChildTexts(chooser);
    ASSERT_TRUE(ChooseFolder(chooser, folder));

    ASSERT_TRUE(WaitUntil([&] { return MappedTo(x, folder); }))
        << Utf8(DosDeviceTarget(x)) << " instead of " << Utf8(DeviceFor(folder));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), Ansi(folder))) << "entry: " << PathEntry(x);
    EXPECT_TRUE(WaitForRow(x, 3, [&](const std::string& t) { return t == Utf8(folder); }))
        << RowText(x, 3);
    EXPECT_TRUE(StartsWith(RowText(x, 2), "Subst-Laufwerk")) << RowText(x, 2);
    EXPECT_EQ(RowText(x, 1), "Ja");
    std::string run;
    EXPECT_TRUE(GetRegString(HKEY_CURRENT_USER, kRunKey, "Kelvra", run));
    EXPECT_EQ(run, "\"" + Exe() + "\" /autostart");

    const std::string dump = Dump();
    const DumpRow row = MainTableRow(dump, x);
    EXPECT_TRUE(StartsWith(row.type, "SUBST")) << row;
    EXPECT_EQ(row.path, Utf8(folder)) << row;
    EXPECT_EQ(row.permanent, "YES") << row;
    EXPECT_NE(dump.find("\r\nSubstPath_" + Letter(x) + "=" + Utf8(folder) + "\r\n"),
              std::string::npos)
        << "the dump's copy of the settings file";
    EXPECT_TRUE(ListDir(desktop_).empty()) << "a shortcut although SubstPermanentLink is off";

    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(x), Ansi(folder)) << "lost at the close";
    EXPECT_TRUE(MappedTo(x, folder)) << "the drive outlives the program";
}

TEST_F(CommandsTest, F3TogglesTheEntryF4TheMappingAndF5DeactivatesPermanently) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x);
    ASSERT_TRUE(Launch());
    const std::wstring folder = Wide(DataPath());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; })) << RowText(x, 1);

    // F3: temporary, the entry goes; F3 again: permanent, it comes back.
    ASSERT_TRUE(Select(x));
    EXPECT_EQ(Caption(kFix), "&Temporär");
    ASSERT_TRUE(PressKey(VK_F3));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), "<missing>")) << PathEntry(x);
    EXPECT_TRUE(MappedTo(x, folder));
    EXPECT_EQ(DumpedRow(x).permanent, "");
    EXPECT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t.empty(); }));
    ASSERT_TRUE(Press(x, VK_F3));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), DataPath())) << PathEntry(x);
    EXPECT_TRUE(MappedTo(x, folder));
    EXPECT_EQ(DumpedRow(x).permanent, "YES");

    // F4: deactivated after the question; the letter goes, the entry stays.
    ASSERT_TRUE(Press(x, VK_F4));
    std::string question;
    ASSERT_TRUE(Answer(kAskActivate, IDYES, &question));
    EXPECT_EQ(question, "Das Subst-Laufwerk " + Letter(x) + ": soll getrennt werden. Ausführen?");
    ASSERT_TRUE(WaitUntil([&] { return DosDeviceTarget(x).empty(); })) << "still mapped";
    EXPECT_EQ(PathEntry(x), DataPath());
    EXPECT_TRUE(WaitForRow(x, 2, [](const std::string& t) {
        return t == "Subst-Laufwerk (Inaktiv)";
    })) << RowText(x, 2);
    DumpRow row = DumpedRow(x);
    EXPECT_EQ(row.type, "SUBST (INACTIVE)") << row;
    EXPECT_EQ(row.path, DataPath()) << row;
    ASSERT_TRUE(Select(x));
    EXPECT_EQ(Caption(kDeactivate), "&Aktivieren");

    // F4 again: mapped again, without a question.
    ASSERT_TRUE(PressKey(VK_F4));
    ASSERT_TRUE(WaitUntil([&] { return MappedTo(x, folder); })) << Utf8(DosDeviceTarget(x));
    EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
    EXPECT_EQ(PathEntry(x), DataPath());

    // F5: permanently deactivated, stored with "!".
    ASSERT_TRUE(Press(x, VK_F5));
    ASSERT_TRUE(Answer(kAskDeactivatePerm, IDYES, &question));
    EXPECT_EQ(question, "Das Subst-Laufwerk " + Letter(x) + ": soll getrennt werden. Ausführen?");
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), "!" + DataPath())) << PathEntry(x);
    EXPECT_TRUE(DosDeviceTarget(x).empty());
    EXPECT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Deaktiviert"; }))
        << RowText(x, 1);
    row = DumpedRow(x);
    EXPECT_EQ(row.state, "DISABLED") << row;
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(x), "!" + DataPath());
    EXPECT_TRUE(DosDeviceTarget(x).empty());
}

TEST_F(CommandsTest, AnsweringNoToTheQuestionsChangesNothing) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Bleibt");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));
    const struct {
        WORD key;
        const char* box;
    } steps[] = {{VK_F4, kAskActivate}, {VK_F5, kAskDeactivatePerm}, {VK_F8, kAskKill}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.box);
        ASSERT_TRUE(Press(x, step.key));
        ASSERT_TRUE(Answer(step.box, IDNO));
        Settle();
        EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
        EXPECT_TRUE(MappedTo(x, Wide(DataPath())));
        EXPECT_EQ(PathEntry(x), DataPath());
        EXPECT_EQ(LabelEntry(x), "Bleibt");
    }
    EXPECT_EQ(RowText(x), Letter(x) + ":  Bleibt");
    EXPECT_TRUE(Close());
}

TEST_F(CommandsTest, F8AnsweredYesDisconnectsAndForgetsTheDrive) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Weg");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));
    ASSERT_TRUE(Press(x, VK_F8));
    std::string question;
    ASSERT_TRUE(Answer(kAskKill, IDYES, &question));
    EXPECT_EQ(question, "Das Subst-Laufwerk " + Letter(x) + ": soll getrennt werden. Ausführen?");
    ASSERT_TRUE(WaitUntil([&] { return DosDeviceTarget(x).empty(); }));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), "<missing>")) << PathEntry(x);
    EXPECT_EQ(LabelEntry(x), "<missing>");
    EXPECT_TRUE(WaitForRow(x, 2, [](const std::string& t) { return t == "Frei"; }));
    const DumpRow row = DumpedRow(x);
    EXPECT_EQ(row.type, "FREE") << row;
    EXPECT_EQ(row.label, "") << row;
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(x), "<missing>");
}

// The own label as Explorer reads it, from this process: written at the
// start, renamed with F2, moved with F6 + Enter, gone with F8.
TEST_F(CommandsTest, ExplorerLabelKeysFollowF2F6AndF8) {
    const char x = Claim();
    const char y = Claim(x - 1);
    ASSERT_NE(y, 0);
    const std::string drives = "Software\\Classes\\Applications\\Explorer.exe\\Drives\\";
    const auto showsAt = [&](char letter, const std::string& label) {
        std::string value = "<missing>";
        return WaitUntil([&] {
                   value = "<missing>";
                   GetRegString(HKEY_CURRENT_USER, drives + Letter(letter) + "\\DefaultLabel", "",
                                value);
                   return value == label;
               }) ||
               (ADD_FAILURE() << Letter(letter) << ": " << value, false);
    };
    PresetDrive(x, "Alpha");
    ASSERT_TRUE(Launch());
    EXPECT_TRUE(showsAt(x, "Alpha"));
    ASSERT_TRUE(Press(x, VK_F2) && Input(kRenameBox, L"Beta"));
    EXPECT_TRUE(showsAt(x, "Beta"));
    ASSERT_TRUE(Press(x, VK_F6));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Abbrechen"; })) << Caption(kMove);
    ASSERT_TRUE(SelectListRow(list_, y - 'A'));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Einfügen"; })) << Caption(kMove);
    ASSERT_TRUE(PressKey(VK_RETURN) && Answer(kAskKill, IDYES));
    EXPECT_TRUE(showsAt(y, "Beta") && showsAt(x, "<missing>"));
    ASSERT_TRUE(WaitForRow(y, 1, [](const std::string& t) { return t == "Ja"; }));
    ASSERT_TRUE(Press(y, VK_F8) && Answer(kAskKill, IDYES));
    EXPECT_TRUE(showsAt(y, "<missing>"));
    EXPECT_TRUE(Close());
}

// Wine connects no network drive (error 1222): activating a stored,
// deactivated share fails with the box and leaves the entry as it was.
TEST_F(CommandsTest, ActivatingADeactivatedShareThatCannotConnectKeepsItsEntry) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    const std::string stored = "!\\\\nohost\\share";
    WriteSettings("SubstPath_" + Letter(x) + "=" + stored + "\r\nSubstPathLabel_" + Letter(x) +
                  "=Netz\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 3, [](const std::string& t) { return t == "\\\\nohost\\share"; }))
        << RowText(x, 3);
    DumpRow before = DumpedRow(x);
    EXPECT_EQ(before.state, "DISABLED") << before;
    ASSERT_TRUE(Select(x));
    EXPECT_EQ(Caption(kDeactivate), "&Aktivieren");
    ASSERT_TRUE(IsWindowEnabled(ButtonOf(kDeactivate)));

    ASSERT_TRUE(PressKey(VK_F4));
    std::string text;
    ASSERT_TRUE(Answer(kAskActivate, IDOK, &text));
    EXPECT_EQ(text,
              "Verbindung als Netz-Laufwerk nicht möglich!\r\n\r\nMögliche Ursache: "
              "Fehlende Rechte.")
        << "main_msgactivate_errornet";
    Settle();
    EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
    EXPECT_EQ(PathEntry(x), stored);
    EXPECT_EQ(LabelEntry(x), "Netz");
    EXPECT_TRUE(DosDeviceTarget(x).empty());
    const DumpRow after = DumpedRow(x);
    EXPECT_EQ(after.type, before.type) << after;
    EXPECT_EQ(after.state, "DISABLED") << after;
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(x), stored);
}

// ---------------------------------------------------------------------------
// Labels

struct LabelCase {
    const char* name;
    std::wstring typed;
    std::string stored;         // the label's entry afterwards ("" keeps the one before)
    const char* box = nullptr;  // the error box the answer brings
};

void PrintTo(const LabelCase& c, std::ostream* os) {
    *os << c.name;
}

const LabelCase kLabelCases[] = {
    {"Plain", L"Daten Größe",
     "Daten Gr\xf6\xdf"
     "e"},
    {"ForbiddenCharactersDropped", L"A:b?c*d|e\"f<g>h/i\\j", "Abcdefghij"},
    {"ControlCharactersOnly", L"\x01\x02", ""},
    {"ThreeHundredCharactersCut", std::wstring(300, L'L'), std::string(256, 'L')},
    {"OutsideTheCodePage", L"Łódź", "", kCharsBox},
};

class Labels : public CommandsTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(Labels, F2StoresACleanLabelOrKeepsTheOldOne) {
    const LabelCase& c = GetParam();
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Alt");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 0, [&](const std::string& t) { return t == Letter(x) + ":  Alt"; }))
        << RowText(x);

    ASSERT_TRUE(Press(x, VK_F2));
    std::string offered;
    ASSERT_TRUE(Input(kRenameBox, c.typed, &offered));
    EXPECT_EQ(offered, "Alt");
    if (c.box) {
        ASSERT_TRUE(Answer(c.box, IDOK));
    }
    const std::string expected = c.stored.empty() ? "Alt" : c.stored;
    ASSERT_TRUE(WaitForEntry("SubstPathLabel_" + Letter(x), expected)) << LabelEntry(x);
    Settle();
    EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
    const std::string shown = Letter(x) + ":  " + Utf8(FromAnsi(expected));
    EXPECT_TRUE(WaitForRow(x, 0, [&](const std::string& t) { return t == shown; })) << RowText(x);
    EXPECT_EQ(PathEntry(x), DataPath()) << "the drive's entry";
    EXPECT_TRUE(MappedTo(x, Wide(DataPath())));
    EXPECT_EQ(DumpedRow(x).label, Utf8(FromAnsi(expected)));
    ASSERT_TRUE(Close());
    EXPECT_EQ(LabelEntry(x), expected) << "after the close";
}

INSTANTIATE_TEST_SUITE_P(Commands, Labels, ::testing::ValuesIn(kLabelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, F2WithAStarRemovesTheOwnLabel) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Alt");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 0, [&](const std::string& t) { return t == Letter(x) + ":  Alt"; }));
    ASSERT_TRUE(Press(x, VK_F2));
    ASSERT_TRUE(Input(kRenameBox, L"*"));
    ASSERT_TRUE(WaitForEntry("SubstPathLabel_" + Letter(x), "<missing>")) << LabelEntry(x);
    EXPECT_TRUE(WaitForRow(x, 0, [&](const std::string& t) { return t == Letter(x) + ": "; }))
        << RowText(x);
    EXPECT_EQ(DumpedRow(x).label, "");
    EXPECT_TRUE(Close());
}

// Another program (the console program, a second Kelvra) labels one drive
// while the window is open: the list shows it by the window's change check,
// and the window's next save, a rename of the other drive, keeps it. Once
// more without waiting for the list: the save keeps the label it has not seen.
TEST_F(CommandsTest, ALabelSetBesideTheOpenWindowShowsThereAndOutlivesItsSaves) {
    const char x = Claim();
    const char y = Claim();
    ASSERT_NE(x, 0);
    ASSERT_NE(y, 0);
    const std::string shortForm = Utf8(ShortForm(Wide(DataPath())));
    ASSERT_TRUE(DefineDosDeviceA(0, (Letter(y) + ":").c_str(), shortForm.c_str()));
    PresetDrive(x, "", "SubstPath_" + Letter(y) + "=" + DataPath() + "\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(y, 1, [](const std::string& t) { return t == "Ja"; })) << RowText(y, 1);
    const auto labelBeside = [&](const char* label) {
        return WritePrivateProfileStringA(UserSection().c_str(),
                                          ("SubstPathLabel_" + Letter(x)).c_str(), label,
                                          Ini().c_str()) != 0;
    };
    const auto rename = [&](const std::wstring& label) {
        return Press(y, VK_F2) && Input(kRenameBox, label) &&
               WaitForEntry("SubstPathLabel_" + Letter(y), Utf8(label));
    };

    ASSERT_TRUE(labelBeside("Konsole"));
    EXPECT_TRUE(WaitForRow(x, 0, [&](const std::string& t) {
        return t == Letter(x) + ":  Konsole";
    })) << RowText(x);
    ASSERT_TRUE(rename(L"Fenster")) << LabelEntry(y);
    EXPECT_EQ(LabelEntry(x), "Konsole");

    ASSERT_TRUE(labelBeside("Skript"));
    ASSERT_TRUE(rename(L"Fenster 2")) << LabelEntry(y);
    EXPECT_EQ(LabelEntry(x), "Skript");
    EXPECT_TRUE(WaitForRow(x, 0, [&](const std::string& t) {
        return t == Letter(x) + ":  Skript";
    })) << RowText(x);
    ASSERT_TRUE(Close());
    EXPECT_EQ(LabelEntry(x), "Skript") << "after the close";
    EXPECT_EQ(LabelEntry(y), "Fenster 2") << "after the close";
    EXPECT_EQ(PathEntry(x), DataPath());
    EXPECT_EQ(PathEntry(y), DataPath());
}

// ---------------------------------------------------------------------------
// Desktop shortcuts

struct LinkCase {
    const char* name;
    std::wstring typed;         // empty: the offered name as it is
    std::wstring file;          // the shortcut made; empty: none
    const char* box = nullptr;  // the box the answer brings
    const char* boxText = nullptr;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

// As many 'N's as fit beside the desktop folder.
const wchar_t kCutToFit[] = L"<cut>";

const LinkCase kLinkCases[] = {
    {"OfferedName", L"", L"Laufwerk $ (Daten)"},
    {"ForbiddenCharactersDropped", L"Zu:m Lauf?werk", L"Zum Laufwerk"},
    {"ControlCharactersOnly", L"\x01\x02", L"", kLinkBox,
     "Der Name der Verknüpfung enthält keine erlaubten Zeichen."},
    // Cut so that the shortcut's whole path stays within MAX_PATH.
    {"ThreeHundredCharacters", std::wstring(300, L'N'), kCutToFit},
    {"OutsideTheCodePage", L"Łódź", L"", kCharsBox,
     "Der Pfad oder Name enthält Zeichen, die im Zeichensatz dieses Systems nicht darstellbar "
     "sind. Bitte andere Zeichen verwenden."},
};

class Links : public CommandsTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(Links, CtrlShiftF5MakesAShortcutToTheLetterOrSaysWhyNot) {
    const LinkCase& c = GetParam();
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Daten");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));

    ASSERT_TRUE(Press(x, VK_F5, {VK_CONTROL, VK_SHIFT}));
    std::string offered;
    ASSERT_TRUE(Input(kLinkBox,
                      c.typed.empty() ? L"Laufwerk " + Wide(Letter(x)) + L" (Daten)" : c.typed,
                      &offered));
    EXPECT_EQ(offered, "Laufwerk " + Letter(x) + " (Daten)");
    if (c.box) {
        std::string text;
        ASSERT_TRUE(Answer(c.box, IDOK, &text));
        EXPECT_EQ(text, c.boxText);
    }
    if (c.file.empty()) {
        Settle();
        EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
        EXPECT_TRUE(ListDir(desktop_).empty()) << ListDir(desktop_).front();
    } else {
        std::wstring name = c.file;
        if (name == kCutToFit) name.assign(259 - desktop_.size() - 4, L'N');
        const std::size_t dollar = name.find(L'$');
        if (dollar != std::wstring::npos) name[dollar] = static_cast<wchar_t>(x);
        const std::wstring file = Wide(desktop_) + name + L".lnk";
        ShellLinkInfo link;
        ASSERT_TRUE(WaitUntil([&] { return (link = ReadShellLink(file)).read; }))
            << "no shortcut " << Utf8(file);
        const std::wstring drive = Wide(Letter(x)) + L":";
        EXPECT_TRUE(link.target == drive || link.target == drive + L"\\") << Utf8(link.target);
        RecordProperty("ShortcutTarget", Utf8(link.target));
        std::cout << "[ INFO     ] shortcut target as Wine reads it: \"" << Utf8(link.target)
                  << "\"\n";
        EXPECT_EQ(Utf8(link.description), "Pfad: " + DataPath() + "  (Erzeugt von Kelvra)");
        EXPECT_EQ(link.arguments, L"");
        EXPECT_EQ(link.workingFolder, L"");
        EXPECT_EQ(ListDir(desktop_).size(), 1u);
    }
    EXPECT_TRUE(MappedTo(x, Wide(DataPath())));
    EXPECT_EQ(PathEntry(x), DataPath());
    EXPECT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(Commands, Links, ::testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, ShortcutWithoutADesktopValueDoesNothingAndToAMissingFolderSaysSo) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "Daten");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));

    // An empty value: no box, no file. The debug window after it shows the
    // keys were handled.
    SetRegString(HKEY_CURRENT_USER, kShellFolders, "Desktop", "");
    ASSERT_TRUE(Press(x, VK_F5, {VK_CONTROL, VK_SHIFT}));
    ASSERT_NE(Dump(), "<no debug window>") << "a box after Ctrl+Shift+F5 with no desktop";
    EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
    EXPECT_TRUE(ListDir(desktop_).empty());

    // A folder that does not exist: the name is asked, then the failure told.
    const std::string missing = desktop_ + "gone";
    SetRegString(HKEY_CURRENT_USER, kShellFolders, "Desktop", missing);
    ASSERT_TRUE(Press(x, VK_F5, {VK_CONTROL, VK_SHIFT}));
    ASSERT_TRUE(Input(kLinkBox, L"Laufwerk"));
    std::string text;
    ASSERT_TRUE(Answer(kLinkBox, IDOK, &text));
    EXPECT_TRUE(StartsWith(text, "Die Verknüpfung konnte nicht erstellt werden.")) << text;
    EXPECT_FALSE(FileThere(missing));
    EXPECT_TRUE(MappedTo(x, Wide(DataPath())));
    EXPECT_EQ(PathEntry(x), DataPath());
    EXPECT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Move

TEST_F(CommandsTest, F6ThenAFreeRowThenEnterMovesTheDriveWithEntryAndLabel) {
    const char x = Claim();
    const char y = Claim(x - 1);
    ASSERT_NE(x, 0);
    ASSERT_NE(y, 0);
    PresetDrive(x, "Wandert");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));

    ASSERT_TRUE(Press(x, VK_F6));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Abbrechen"; })) << Caption(kMove);
    EXPECT_FALSE(IsWindowEnabled(ButtonOf(kNew))) << "other commands wait in move mode";
    ASSERT_TRUE(SelectListRow(list_, y - 'A'));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Einfügen"; })) << Caption(kMove);
    Shot("cmd_move_mode");
    ASSERT_TRUE(PressKey(VK_RETURN));
    std::string question;
    ASSERT_TRUE(Answer(kAskKill, IDYES, &question));
    EXPECT_EQ(question, "Das Subst-Laufwerk " + Letter(x) + ": soll getrennt werden. Ausführen?");

    const std::wstring folder = Wide(DataPath());
    ASSERT_TRUE(WaitUntil([&] { return MappedTo(y, folder) && DosDeviceTarget(x).empty(); }))
        << Letter(x) << ": " << Utf8(DosDeviceTarget(x)) << ", " << Letter(y) << ": "
        << Utf8(DosDeviceTarget(y));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(y), DataPath()));
    EXPECT_EQ(PathEntry(x), "<missing>");
    EXPECT_EQ(LabelEntry(y), "Wandert");
    EXPECT_EQ(LabelEntry(x), "<missing>");
    EXPECT_TRUE(WaitForRow(y, 0, [&](const std::string& t) {
        return t == Letter(y) + ":  Wandert";
    })) << RowText(y);
    EXPECT_EQ(Caption(kMove), "&Verschieben") << "still in move mode";
    const DumpRow row = DumpedRow(y);
    EXPECT_EQ(row.path, DataPath()) << row;
    EXPECT_EQ(row.permanent, "YES") << row;
    EXPECT_EQ(row.label, "Wandert") << row;
    EXPECT_EQ(DumpedRow(x).type, "FREE");

    // Esc leaves a move begun on the new letter; nothing changes.
    ASSERT_TRUE(Press(y, VK_F6));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Abbrechen"; }));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kMove) == "&Verschieben"; })) << Caption(kMove);
    EXPECT_TRUE(MappedTo(y, folder));
    EXPECT_EQ(PathEntry(y), DataPath());
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(y), DataPath());
    EXPECT_EQ(LabelEntry(y), "Wandert");
}

TEST_F(CommandsTest, DraggingTheRowOntoAFreeRowMovesTheDrive) {
    const char x = Claim();
    const char y = Claim(x - 1);
    ASSERT_NE(x, 0);
    ASSERT_NE(y, 0);
    PresetDrive(x, "Gezogen");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));
    ASSERT_TRUE(FocusControl(main_, list_));

    // Dropped on a row in use (C:): nothing happens.
    ASSERT_TRUE(MouseDrag(Centre(ListRowOnScreen(list_, x - 'A')),
                          Centre(ListRowOnScreen(list_, 'C' - 'A'))));
    ASSERT_NE(Dump(), "<no debug window>") << "a box after a drop on C:";
    EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
    EXPECT_TRUE(MappedTo(x, Wide(DataPath())));

    ASSERT_TRUE(MouseDrag(Centre(ListRowOnScreen(list_, x - 'A')),
                          Centre(ListRowOnScreen(list_, y - 'A'))));
    ASSERT_TRUE(Answer(kAskKill, IDYES)) << "the drop asked nothing (did the drag start?)";
    const std::wstring folder = Wide(DataPath());
    ASSERT_TRUE(WaitUntil([&] { return MappedTo(y, folder) && DosDeviceTarget(x).empty(); }))
        << Letter(x) << ": " << Utf8(DosDeviceTarget(x)) << ", " << Letter(y) << ": "
        << Utf8(DosDeviceTarget(y));
    ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(y), DataPath()));
    EXPECT_EQ(PathEntry(x), "<missing>");
    EXPECT_EQ(LabelEntry(y), "Gezogen");
    EXPECT_EQ(LabelEntry(x), "<missing>");
    EXPECT_EQ(DumpedRow(y).label, "Gezogen");
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(y), DataPath());
}

// With warnings off a drop moves at once, without a question: a drag that
// was cancelled must end in nothing, whatever the button does afterwards.
TEST_F(CommandsTest, EscOrALostCaptureCancelsADrag) {
    const char x = Claim();
    const char y = Claim(x - 1);
    ASSERT_NE(x, 0);
    ASSERT_NE(y, 0);
    PresetDrive(x, "", "ShowWarnings=0\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));
    const std::wstring folder = Wide(DataPath());
    auto highlighted = [&] {
        return SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(y - 'A'),
                            LVIS_DROPHILITED) != 0;
    };
    const POINT from = Centre(ListRowOnScreen(list_, x - 'A'));
    const POINT to = Centre(ListRowOnScreen(list_, y - 'A'));

    HWND other = nullptr;  // stays until the drag has ended
    struct Cancel {
        const char* name;
        std::function<bool()> run;
    } cancels[] = {
        {"Esc", [] { return PressKey(VK_ESCAPE); }},
        // Another program's window comes to the front (Alt+Tab, a popup).
        {"another program's window",
         [&] {
             other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0,
                                     0, 120, 60, nullptr, nullptr, nullptr, nullptr);
             return other && SetForegroundWindow(other);
         }},
        // What the system sends the window with the capture when a box or
        // a menu opens.
        {"cancel mode", [&] { return SendMessageW(main_, WM_CANCELMODE, 0, 0) == 0; }},
    };
    for (const Cancel& cancel : cancels) {
        SCOPED_TRACE(cancel.name);
        ASSERT_TRUE(FocusControl(main_, list_));
        ASSERT_TRUE(MouseDragHeld(from, to));
        ASSERT_TRUE(WaitUntil(highlighted)) << "the drag did not start";
        EXPECT_TRUE(cancel.run());
        EXPECT_TRUE(WaitUntil([&] { return !highlighted(); })) << "still dragging";
        if (other) DestroyWindow(other);
        other = nullptr;
        ASSERT_TRUE(MouseRelease(to));
        ASSERT_NE(Dump(), "<no debug window>");
        EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
        EXPECT_TRUE(MappedTo(x, folder)) << Utf8(DosDeviceTarget(x));
        EXPECT_TRUE(DosDeviceTarget(y).empty()) << Utf8(DosDeviceTarget(y));
        EXPECT_EQ(PathEntry(x), DataPath());
    }

    // The same drag dropped moves the drive, at once.
    ASSERT_TRUE(MouseDrag(from, to));
    EXPECT_TRUE(WaitUntil([&] { return MappedTo(y, folder) && DosDeviceTarget(x).empty(); }));
    EXPECT_TRUE(Close());
}

// Without questions the commands that cut a live drive at once are red.
TEST_F(CommandsTest, WithoutWarningsTheCuttingCommandsAreRed) {
    const char x = Claim();
    ASSERT_NE(x, 0);
    PresetDrive(x, "", "ShowWarnings=0\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(x, 1, [](const std::string& t) { return t == "Ja"; }));
    ASSERT_TRUE(Select(x));
    // The face is filled inside a two-pixel frame; the caption is centred.
    auto face = [&](Button b) {
        RECT r = {};
        GetWindowRect(ButtonOf(b), &r);
        return ScreenPixel({r.left + 4, (r.top + r.bottom) / 2});
    };
    const struct {
        Button button;
        bool red;
    } expected[] = {{kNew, true},        {kMove, true},           {kKill, true},    {kFix, false},
                    {kDeactivate, true}, {kDeactivatePerm, true}, {kRename, false}, {kLink, false}};
    for (const auto& e : expected) {
        EXPECT_TRUE(WaitUntil([&] { return (face(e.button) == 0xFF0000) == e.red; }))
            << "button " << e.button << " face " << std::hex << face(e.button);
    }
    ASSERT_TRUE(FocusControl(main_, ButtonOf(kKill)));
    Shot("cmd_warnings");
    EXPECT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Answers of the folder chooser that need care

struct ChooserContext {
    char x, w;         // the free letter the command is for; a spare letter
    std::string data;  // a scratch folder, without the closing backslash
};

struct ChooserCase {
    const char* name;
    std::function<void(const ChooserContext&)> setup;  // before the program starts
    std::function<std::wstring(const ChooserContext&)> folder;
    std::function<void(const ChooserContext&)> beforeOk;  // the chooser open, folder selected
    const char* box;                                      // the box that answers the choice first
    const char* boxText;                                  // its text; null: not checked
    bool made;                                            // the drive is made on the chosen folder
};

void PrintTo(const ChooserCase& c, std::ostream* os) {
    *os << c.name;
}

// Nested folders under `root` making a path of exactly `length` characters.
std::wstring DeepFolder(const std::string& root, std::size_t length) {
    std::wstring path = Wide(root);
    while (path.size() < length) {
        const std::size_t part = std::min<std::size_t>(100, length - path.size() - 1);
        if (part == 0) {
            path += L"\\";  // cannot happen with a short root; keeps the loop finite
            break;
        }
        path += L"\\" + std::wstring(part, L'd');
        CreateDirectoryW(path.c_str(), nullptr);
    }
    return path;
}

void DefineLetter(char letter, const std::string& folder) {
    ASSERT_TRUE(DefineDosDeviceA(0, (Letter(letter) + ":").c_str(), folder.c_str()));
}

const std::string kHintTitle = kMainTitle + " - Hinweis";
const char kCannotMap[] =
    "Verbindung als Subst-Laufwerk nicht möglich!\r\n\r\nMögliche Ursache: Kein Datenträger "
    "eingelegt.";

const ChooserCase kChooserCases[] = {
    {"DriveRootAfterHintTwo", nullptr, [](const ChooserContext&) { return std::wstring(L"C:\\"); },
     nullptr, kHintTitle.c_str(), nullptr, true},
    // The longest path the program converts: its long form fits in 255
    // characters with the closing NUL.
    {"PathOf254Characters", nullptr,
     [](const ChooserContext& c) { return DeepFolder(c.data, 254); }, nullptr, nullptr, nullptr,
     true},
    // Valid for Windows, too long for the program: refused, not cut.
    {"PathOf259Characters", nullptr,
     [](const ChooserContext& c) { return DeepFolder(c.data, 259); }, nullptr, kConnectBox,
     "Verbindung als Subst-Laufwerk nicht möglich!\r\n\r\nDer Pfad ist zu lang: Ein "
     "Subst-Laufwerk kann nur für einen Pfad von höchstens 254 Zeichen stehen.",
     false},
    {"FolderOnASubstDrive", [](const ChooserContext& c) { DefineLetter(c.w, c.data); },
     [](const ChooserContext& c) { return Wide(Letter(c.w)) + L":\\"; }, nullptr, kConnectBox,
     "Verbindung mit einem Subst- oder Netz-Laufwerk ist nicht erlaubt!", false},
    {"SubstLetterRemovedWhileTheChooserIsOpen",
     [](const ChooserContext& c) { DefineLetter(c.w, c.data); },
     [](const ChooserContext& c) { return Wide(Letter(c.w)) + L":\\"; },
     [](const ChooserContext& c) { RemoveDosDevice(c.w); }, kConnectBox,
     "Verbindung mit einem Subst- oder Netz-Laufwerk ist nicht erlaubt!", false},
    {"FolderDeletedWhileTheChooserIsOpen",
     [](const ChooserContext& c) { CreateDirectoryA((c.data + "\\gone").c_str(), nullptr); },
     [](const ChooserContext& c) { return Wide(c.data + "\\gone"); },
     [](const ChooserContext& c) { RemoveDirectoryA((c.data + "\\gone").c_str()); }, kConnectBox,
     kCannotMap, false},
    {"LetterTakenWhileTheChooserIsOpen",
     [](const ChooserContext& c) { CreateDirectoryA((c.data + "\\sub").c_str(), nullptr); },
     [](const ChooserContext& c) { return Wide(c.data + "\\sub"); },
     [](const ChooserContext& c) { DefineLetter(c.x, c.data); }, kConnectBox,
     "Der Laufwerksbuchstabe $DRIVE$: ist inzwischen belegt!\r\n\r\nEin anderes Gerät oder "
     "Programm verwendet ihn jetzt. Es wurde nichts verbunden.",
     false},
};

class ChooserAnswers : public CommandsTest, public ::testing::WithParamInterface<ChooserCase> {};

TEST_P(ChooserAnswers, HaveADefinedResultAndKeepTheStoredDrives) {
    const ChooserCase& c = GetParam();
    const char keep = Claim();
    const char x = Claim(keep - 1);
    const char w = Claim(x - 1);
    ASSERT_NE(keep, 0);
    ASSERT_NE(x, 0);
    ASSERT_NE(w, 0);
    const ChooserContext context{x, w, DataPath()};
    if (c.setup) c.setup(context);
    PresetDrive(keep, "Bleibt");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(keep, 1, [](const std::string& t) { return t == "Ja"; }));

    ASSERT_TRUE(Press(x, VK_F7));
    HWND chooser = WaitForVisibleWindow(Pid(), "#32770", kChooser);
    ASSERT_NE(chooser, nullptr);
    const std::wstring folder = c.folder(context);
    std::wstring before;  // what the letter holds when OK is pressed
    ASSERT_TRUE(ChooseFolder(chooser, folder, [&] {
        if (c.beforeOk) c.beforeOk(context);
        before = DosDeviceTarget(x);
    }));
    if (c.box) {
        HWND box = WaitForBox(Pid(), c.box, kStateTimeout,
                              c.box == kHintTitle ? kHintTextId : kMessageBoxTextId);
        ASSERT_NE(box, nullptr) << "no box \"" << c.box << "\"; " << Boxes();
        if (c.boxText) {
            std::string text = c.boxText;
            const std::size_t drive = text.find("$DRIVE$");
            if (drive != std::string::npos) text.replace(drive, 7, Letter(x));
            EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)), text);
        }
        PressDialogButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    if (c.made) {
        ASSERT_TRUE(WaitUntil([&] { return MappedTo(x, folder); }))
            << Utf8(DosDeviceTarget(x)) << " instead of " << Utf8(DeviceFor(folder)) << "; "
            << Boxes();
        ASSERT_TRUE(WaitForEntry("SubstPath_" + Letter(x), Ansi(folder))) << PathEntry(x);
    } else {
        Settle();
        EXPECT_TRUE(OpenBoxes().empty()) << Boxes();
        EXPECT_EQ(DosDeviceTarget(x), before) << "the letter changed";
        EXPECT_EQ(PathEntry(x), "<missing>");
    }
    EXPECT_TRUE(MappedTo(keep, Wide(DataPath())));
    EXPECT_EQ(PathEntry(keep), DataPath());
    EXPECT_EQ(LabelEntry(keep), "Bleibt");
    ASSERT_TRUE(Close());
    EXPECT_EQ(PathEntry(keep), DataPath());
    if (c.made) {
        EXPECT_EQ(PathEntry(x), Ansi(folder));
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, ChooserAnswers, ::testing::ValuesIn(kChooserCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvra::e2e
