// End-to-end tests of the main window of the real Kelvra.exe under Wine,
// driven from outside as a user would: keys, window messages, the settings
// file, and DOS devices defined behind the program's back. Every wait is for
// a state (a visible window, a row text, a value in the file); the only
// fixed pause gives the poll a chance to do what it must not do.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

// The poll runs every second; a change from outside must show within this.
constexpr DWORD kPollWindow = 3000;

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}
int Pixels(int twips) {
    return MulDiv(twips, ScreenDpi(), 1440);
}
int Twips(int pixels) {
    return MulDiv(pixels, 1440, ScreenDpi());
}

RECT WindowRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}
int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}
RECT Screen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
RECT WorkArea() {
    RECT work = Screen();
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
bool OnScreen(const RECT& window) {
    RECT screen = Screen(), both;
    return IntersectRect(&both, &window, &screen) != FALSE;
}

// The texts the type column may show with the built-in German texts.
bool IsGermanTypeText(const std::string& text) {
    static const char* const plain[] = {"Frei",     "Wechseldatenträger", "Festplatte",   "CD-ROM",
                                        "RAM-Disk", "Unbekannt",          "Netz-Laufwerk"};
    for (const char* t : plain)
        if (text == t) return true;
    return text.rfind("Subst-Laufwerk (", 0) == 0 || text.rfind("Netz-Laufwerk (", 0) == 0;
}

// A folder on the fixed disk for subst drives, removed afterwards.
struct DataFolder {
    DataFolder()
        : slashed(MakeScratchFolder("data")), path(slashed.substr(0, slashed.size() - 1)) {}
    ~DataFolder() { RemoveTree(slashed); }
    std::string slashed, path;
};

using MainWindowTest = ScratchProgramTest;

TEST_F(MainWindowTest, OpensTitledWithAllLettersAndGermanTexts) {
    WriteSettings("");
    ASSERT_TRUE(Launch());
    EXPECT_EQ(WindowTitle(main_), kMainTitle);
    ASSERT_EQ(ListRowCount(list_), 26);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string text = RowText(letter);
        EXPECT_EQ(text.substr(0, 2), Letter(letter) + ":") << text;
        EXPECT_TRUE(IsGermanTypeText(RowText(letter, kTypeColumn)))
            << letter << ": " << RowText(letter, kTypeColumn);
    }
    EXPECT_EQ(RowText('C', kTypeColumn), "Festplatte");
    const char free = FreeLetter();
    ASSERT_NE(free, 0);
    EXPECT_EQ(RowText(free, kTypeColumn), "Frei");
    EXPECT_EQ(RowText(free, kPathColumn), "");
    // The test prefix's removable drive R:.
    EXPECT_EQ(RowText('R', kTypeColumn), "Wechseldatenträger");
    const char* const captions[] = {"Laufwerk", "Permanent", "Typ", "Pfad"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(ListColumnCaption(list_, c), captions[c]);
    EXPECT_EQ(StatusText(status_, 0), "Benutzer: " + UserName() + " ");
    EXPECT_EQ(StatusText(status_, 1), "INI: <Global> ");
    EXPECT_EQ(StatusText(status_, 2), "Autostart: Nein ");
    EXPECT_EQ(StatusText(status_, 3), "Funktionsumfang: Vollständig ");
    EXPECT_EQ(StatusText(status_, 4), "Bereit:");
    EXPECT_TRUE(Close());
}

// The lines of the debug dump that start with `prefix`.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (StartsWith(line, prefix)) lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST_F(MainWindowTest, CtrlDShowsTheDebugDumpWithASubstRowAndEscClosesIt) {
    const char letter = FreeLetter('Y');
    ASSERT_NE(letter, 0);
    DataFolder data;
    SubstDrive subst(letter, data.path);
    ASSERT_TRUE(subst.ok());
    const std::string label = "E2E Label " + Letter(letter);
    WriteSettings("SubstPathLabel_" + Letter(letter) + "=" + label + "\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(letter, kTypeColumn,
                           [](const std::string& t) { return StartsWith(t, "Subst"); }));

    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey('D', {VK_CONTROL}));
    const std::string debugTitle = kMainTitle + " - Debug Infos";
    HWND debug = WaitForVisibleWindow(Pid(), "", debugTitle);
    ASSERT_NE(debug, nullptr) << "no window \"" << debugTitle
                              << "\" after Ctrl+D in the list (is Ctrl+D wired to the debug "
                                 "window?)";
    EXPECT_EQ(WindowTitle(debug), debugTitle);
    HWND edit = ChildOfClass(debug, "Edit");
    ASSERT_NE(edit, nullptr);
    const std::string dump = LongWindowText(edit);

    // Main table: "<index>: 0>X: 1>SUBST (...) 2><folder> 3>... 5><label> ".
    const std::string index = std::to_string(letter - 'A' + 1) + ": ";
    const std::vector<std::string> rows = LinesStartingWith(dump, index + "0>" + Letter(letter));
    ASSERT_GE(rows.size(), 2u) << dump;  // main table and list
    EXPECT_TRUE(StartsWith(rows[0], index + "0>" + Letter(letter) + ": 1>SUBST (")) << rows[0];
    EXPECT_NE(rows[0].find(" 2>" + data.path), std::string::npos) << rows[0];
    EXPECT_NE(rows[0].find(" 5>" + label + " "), std::string::npos) << rows[0];
    // List section: the row as shown, label after two blanks, German type.
    const std::string listRow = rows.back();
    EXPECT_TRUE(StartsWith(listRow, index + "0>" + Letter(letter) + ":  " + label + " 1>"))
        << listRow;
    EXPECT_NE(listRow.find(" 2>Subst-Laufwerk ("), std::string::npos) << listRow;
    EXPECT_NE(listRow.find(" 3>" + data.path), std::string::npos) << listRow;
    EXPECT_NE(dump.find("--LIST DRIVE TABLE (VISIBLE)--"), std::string::npos);
    EXPECT_NE(dump.find("2>Festplatte "), std::string::npos) << "C: in the list section";

    ASSERT_TRUE(FocusControl(debug, edit));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(debug); })) << "Esc left the debug window open";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(Close());
}

TEST_F(MainWindowTest, SubstDrivesMadeAndRemovedOutsideShowWithinThreeSeconds) {
    const char letter = FreeLetter('Y');
    ASSERT_NE(letter, 0);
    DataFolder data;
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_EQ(RowText(letter, kTypeColumn), "Frei");

    SubstDrive subst(letter, data.path);
    ASSERT_TRUE(subst.ok());
    EXPECT_TRUE(WaitForRow(
        letter, kTypeColumn, [](const std::string& t) { return StartsWith(t, "Subst-Laufwerk ("); },
        kPollWindow))
        << "still " << RowText(letter, kTypeColumn);
    EXPECT_EQ(RowText(letter, kPathColumn), data.path);

    subst.Remove();
    EXPECT_TRUE(WaitForRow(
        letter, kTypeColumn, [](const std::string& t) { return t == "Frei"; }, kPollWindow))
        << "still " << RowText(letter, kTypeColumn);
    EXPECT_EQ(RowText(letter, kPathColumn), "");
    EXPECT_TRUE(Close());
}

// A path wider than its column is cut there instead of widening the columns
// past the list's edge, and every row is at least as tall as the LED beside
// it. With or without a horizontal scroll bar, all 26 rows stay whole.
TEST_F(MainWindowTest, ALongPathIsCutByItsColumnAndEveryRowStaysWhole) {
    const char letter = FreeLetter('Y');
    ASSERT_NE(letter, 0);
    DataFolder data;
    std::string path = data.path;
    for (const char* level : {"\\A folder name long enough to fill the path column",
                              "\\and one more level below it with another long name"}) {
        path += level;
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    }
    SubstDrive subst(letter, path);
    ASSERT_TRUE(subst.ok());
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(letter, kPathColumn, [&](const std::string& t) { return t == path; }))
        << RowText(letter, kPathColumn);

    RECT inside = {};
    GetClientRect(list_, &inside);
    int columns = 0;
    for (int c = 0; c < 4; ++c)
        columns += static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0));
    EXPECT_LE(columns, inside.right) << "the columns are wider than the list";
    const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);

    POINT bottom = {0, inside.bottom};
    ClientToScreen(list_, &bottom);
    const RECT first = ListRowOnScreen(list_, 0), last = ListRowOnScreen(list_, 25);
    EXPECT_LE(last.bottom, bottom.y) << "the Z: row is cut";
    EXPECT_GE(Height(first), MulDiv(16, ScreenDpi(), 96)) << "rows lower than the LEDs";
    ASSERT_TRUE(Close());

    // Columns the user made wider than the list: the scroll bar shows below
    // the last row, the list having grown by its height.
    WriteSettings("AllowResize=1\r\nColumnWidth=1000/1300/2000/20000\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitForRow(letter, kPathColumn, [&](const std::string& t) { return t == path; }));
    EXPECT_TRUE(GetWindowLongPtrW(list_, GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(GetWindowLongPtrW(list_, GWL_STYLE) & WS_VSCROLL);
    GetClientRect(list_, &inside);
    bottom = {0, inside.bottom};
    ClientToScreen(list_, &bottom);
    EXPECT_LE(ListRowOnScreen(list_, 25).bottom, bottom.y) << "the scroll bar covers the Z: row";
    EXPECT_TRUE(Close());
}

// The poll only looks at the drives; a label changed in the settings file
// from outside shows after a full scan, which Ctrl+R runs.
TEST_F(MainWindowTest, CtrlRRereadsAStoredLabelThatThePollLeavesAlone) {
    const char letter = FreeLetter('Y');
    ASSERT_NE(letter, 0);
    DataFolder data;
    SubstDrive subst(letter, data.path);
    ASSERT_TRUE(subst.ok());
    const std::string key = "SubstPathLabel_" + Letter(letter);
    WriteSettings(key + "=Before\r\n");
    ASSERT_TRUE(Launch());
    const std::string before = Letter(letter) + ":  Before";
    const std::string after = Letter(letter) + ":  After";
    ASSERT_TRUE(WaitForRow(letter, 0, [&](const std::string& t) { return t == before; }))
        << RowText(letter);

    ASSERT_TRUE(
        WritePrivateProfileStringA(UserSection().c_str(), key.c_str(), "After", Ini().c_str()));
    // Two poll ticks pass; neither may rescan, since no drive changed.
    WaitUntil([] { return false; }, 2500);
    EXPECT_EQ(RowText(letter), before) << "the poll rescanned without a drive change";

    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey('R', {VK_CONTROL}));
    EXPECT_TRUE(WaitForRow(letter, 0, [&](const std::string& t) { return t == after; }))
        << RowText(letter);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(Close());
}

TEST_F(MainWindowTest, MinimizedToTheTrayAndBackAndClosedFromThere) {
    WriteSettings("MinimizeToSystray=1\r\n");
    ASSERT_TRUE(Launch());
    EXPECT_FALSE(TrayIconPresent(main_)) << "icon while the window shows";

    auto inTray = [&] { return !IsWindowVisible(main_) && TrayIconPresent(main_); };
    auto shown = [&] {
        return IsWindowVisible(main_) && !IsIconic(main_) && !TrayIconPresent(main_);
    };
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        PostMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil(inTray))
            << "visible " << IsWindowVisible(main_) << ", icon " << TrayIconPresent(main_);
        // One icon, under the program's one id.
        for (UINT other = 1; other <= 4; ++other) EXPECT_FALSE(TrayIconPresent(main_, other));
        PostMessageW(main_, kTrayCallback, 0, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil(shown)) << "visible " << IsWindowVisible(main_) << ", iconic "
                                      << IsIconic(main_) << ", icon " << TrayIconPresent(main_);
        EXPECT_TRUE(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "taskbar button";
    }

    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil(inTray));
    const HWND gone = main_;
    ASSERT_TRUE(Close());
    EXPECT_FALSE(TrayIconPresent(gone)) << "the icon outlived the program";
    EXPECT_EQ(Setting("GridLines"), "1") << "not saved when closed from the tray";
    EXPECT_EQ(Setting("MinimizeToSystray"), "1");
}

TEST_F(MainWindowTest, StoredPositionPlacesTheWindowAndAMoveIsRemembered) {
    WriteSettings("LastPos=1500/1200\r\n");
    ASSERT_TRUE(Launch());
    const RECT at = WindowRect(main_);
    EXPECT_EQ(at.left, Pixels(1500));
    EXPECT_EQ(at.top, Pixels(1200));

    const int x = 200, y = 150;
    SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(
        WaitUntil([&] { return WindowRect(main_).left == x && WindowRect(main_).top == y; }));
    ASSERT_TRUE(Close());
    EXPECT_EQ(Setting("LastPos"), std::to_string(Twips(x)) + "/" + std::to_string(Twips(y)));
}

TEST_F(MainWindowTest, CentredWindowStaysCentredInTheSettings) {
    WriteSettings("LastPos=<center>\r\n");
    ASSERT_TRUE(Launch());
    const RECT at = WindowRect(main_), work = WorkArea();
    EXPECT_NEAR(at.left, work.left + (Width(work) - Width(at)) / 2, 1);
    EXPECT_NEAR(at.top, work.top + (Height(work) - Height(at)) / 2, 1);

    SetWindowPos(main_, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(main_).left == 10; }));
    ASSERT_TRUE(Close());
    EXPECT_EQ(Setting("LastPos"), "<center>");
}

// Asks for a new size from outside; the window's limits decide.
RECT Resized(HWND hwnd, int width, int height) {
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return WindowRect(hwnd);
}

TEST_F(MainWindowTest, SizeFollowsAllowResize) {
    WriteSettings("AllowResize=0\r\n");
    ASSERT_TRUE(Launch());
    const RECT fixed = WindowRect(main_);
    const int designWidth = Width(fixed);
    EXPECT_FALSE(GetWindowLongPtrW(main_, GWL_STYLE) & WS_THICKFRAME);
    for (const auto& [dw, dh] : {std::pair{120, 0}, {-120, 0}, {0, 60}, {0, -60}}) {
        const RECT r = Resized(main_, designWidth + dw, Height(fixed) + dh);
        EXPECT_EQ(Width(r), designWidth) << dw << "/" << dh;
        EXPECT_EQ(Height(r), Height(fixed)) << dw << "/" << dh;
    }
    ASSERT_TRUE(Close());

    // The narrowest width first: a stored width below the limit is raised.
    WriteSettings("AllowResize=1\r\nWindowWidth=1\r\n");
    ASSERT_TRUE(Launch());
    const RECT narrow = WindowRect(main_);
    const int screen = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int minimum = designWidth - MulDiv(200, ScreenDpi(), 96);
    EXPECT_EQ(Width(narrow), minimum);
    // The window is as tall as the rows, plus the list's horizontal scroll
    // bar while the columns are wider than a narrow list.
    const auto rowsHeight = [&](const RECT& r) {
        const bool bar = GetWindowLongPtrW(list_, GWL_STYLE) & WS_HSCROLL;
        return Height(r) - (bar ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    };
    const int height = rowsHeight(narrow);
    struct Ask {
        int width, expected;
    };
    for (const Ask& ask : {Ask{minimum - 50, minimum}, Ask{minimum + 40, minimum + 40},
                           Ask{screen, screen}, Ask{screen + 100, screen}}) {
        const RECT r = Resized(main_, ask.width, height + 40);
        EXPECT_EQ(Width(r), ask.expected) << "asked " << ask.width;
        EXPECT_EQ(rowsHeight(r), height) << "asked " << ask.width;
    }
    Resized(main_, minimum + 40, height);
    ASSERT_TRUE(Close());
    EXPECT_EQ(Setting("WindowWidth"), std::to_string(Twips(minimum + 40)));
}

TEST_F(MainWindowTest, DraggedAndWidenedColumnsComeBackAfterARestart) {
    WriteSettings("AllowResize=1\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_EQ(ListColumnOrder(list_, 4), (std::vector<int>{0, 1, 2, 3}));
    // The type column dragged to the front, the path column widened.
    const std::vector<int> order = {2, 0, 1, 3};
    ASSERT_TRUE(SetListColumnOrder(list_, order));
    const int width = 300;
    ASSERT_TRUE(SendMessageW(list_, LVM_SETCOLUMNWIDTH, kPathColumn, width));
    ASSERT_TRUE(Close());
    // Part i is the position of column i.
    EXPECT_EQ(Setting("ColumnOrder"), "2/3/1/4");
    const std::string widths = Setting("ColumnWidth");
    EXPECT_EQ(widths.substr(widths.rfind('/') + 1), std::to_string(Twips(width))) << widths;

    ASSERT_TRUE(Launch());
    EXPECT_EQ(ListColumnOrder(list_, 4), order);
    EXPECT_EQ(SendMessageW(list_, LVM_GETCOLUMNWIDTH, kPathColumn, 0), width);
    EXPECT_TRUE(Close());
}

// The window moved onto a monitor of 144 DPI: what the user changed since
// the last save goes along, scaled, and the position is stored so that it
// reads back to the same place.
TEST_F(MainWindowTest, ADpiChangeKeepsTheUsersLayoutAndThePositionReadsBack) {
    WriteSettings("AllowResize=1\r\nLastPos=1500/1500\r\n");
    ASSERT_TRUE(Launch());
    const int path = 300;
    ASSERT_TRUE(SendMessageW(list_, LVM_SETCOLUMNWIDTH, kPathColumn, path));
    const RECT before = WindowRect(main_);
    const int width = Width(Resized(main_, Width(before) - 60, Height(before)));
    ASSERT_EQ(width, Width(before) - 60);

    const int x = 200, y = 150;
    ASSERT_TRUE(SendDpiChanged(main_, 144, {x, y, x + width * 3 / 2, y + Height(before) * 3 / 2}));
    EXPECT_NEAR(SendMessageW(list_, LVM_GETCOLUMNWIDTH, kPathColumn, 0), MulDiv(path, 144, 96), 1);
    const RECT at = WindowRect(main_);
    EXPECT_NEAR(Width(at), std::min(MulDiv(width, 144, 96), GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                1);
    EXPECT_EQ(at.left, x);
    EXPECT_EQ(at.top, y);
    ASSERT_TRUE(Close());
    EXPECT_EQ(Setting("LastPos"), std::to_string(Twips(x)) + "/" + std::to_string(Twips(y)));

    ASSERT_TRUE(Launch());
    EXPECT_EQ(WindowRect(main_).left, x);
    EXPECT_EQ(WindowRect(main_).top, y);
    EXPECT_TRUE(Close());
}

TEST_F(MainWindowTest, NoSplashWhenSwitchedOff) {
    WriteSettings("DontShowBusySplash=1\r\n");
    WindowCreationLog log;
    ASSERT_TRUE(log.ok());
    ASSERT_TRUE(Launch());
    // The window shows after the first scan: any splash would be logged.
    EXPECT_TRUE(log.Seen(Pid(), kMainClass));
    EXPECT_FALSE(log.Seen(Pid(), kSplashClass));
    EXPECT_TRUE(Close());
}

// The removable drive's volume is asked off the window thread: its row fills
// in a moment after the list shows, and the debug dump's list with it. (Wine
// gives such a drive no label, but a file-system name.)
TEST_F(MainWindowTest, TheRemovableDrivesFileSystemFillsItsRowIn) {
    ASSERT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_REMOVABLE))
        << "the test prefix has no removable drive R: (set up by scripts/lib.sh)";
    char fileSystem[MAX_PATH + 1] = {};
    ASSERT_TRUE(GetVolumeInformationA("R:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                                      sizeof fileSystem));
    ASSERT_STRNE(fileSystem, "");
    const std::string shown = std::string("R:  [") + fileSystem + "]";
    WriteSettings("ShowFilesystem=1\r\n");
    ASSERT_TRUE(Launch());
    EXPECT_TRUE(WaitForRow('R', 0, [&](const std::string& t) { return t == shown; }))
        << RowText('R');
    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey('D', {VK_CONTROL}));
    HWND debug = WaitForVisibleWindow(Pid(), "", kMainTitle + " - Debug Infos");
    ASSERT_NE(debug, nullptr);
    HWND edit = ChildOfClass(debug, "Edit");
    ASSERT_NE(edit, nullptr);
    const std::string dump = LongWindowText(edit);
    EXPECT_NE(dump.find("0>" + shown + " 1>"), std::string::npos) << dump;
    ASSERT_TRUE(FocusControl(debug, edit));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(debug); }));
    EXPECT_TRUE(Close());
}

// Off the fixed disk: hint 1 comes after the first scan; ticking its box is
// saved.
TEST_F(MainWindowTest, StartFromARemovableDriveShowsHintOne) {
    ASSERT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_REMOVABLE))
        << "the test prefix has no removable drive R: (set up by scripts/lib.sh)";
    const std::string removable =
        "R:\\kelvra-e2e-" + std::to_string(GetCurrentProcessId()) + "-hint\\";
    RemoveTree(removable);
    CreateDirectoryA(removable.substr(0, removable.size() - 1).c_str(), nullptr);
    struct Cleanup {
        std::string folder;
        ~Cleanup() { RemoveTree(folder); }
    } cleanup{removable};
    ASSERT_TRUE(CopyInto(BuildFolder() + "Kelvra.exe", removable));
    const std::string ini = removable + "kelvra.ini";
    WriteBytes(ini, "[" + UserSection() + "]\r\nShowHints=11\r\n");

    ASSERT_TRUE(Launch(removable + "Kelvra.exe"));
    // A splash shows only for a first scan that takes long; none stays.
    EXPECT_TRUE(VisibleWindowsOf(Pid(), kSplashClass, "").empty())
        << "the splash outlived the first scan";

    HWND hint = WaitForBox(Pid(), kMainTitle + " - Hinweis", kStateTimeout, kHintTextId);
    ASSERT_NE(hint, nullptr) << "no hint window";
    EXPECT_EQ(WindowTitle(hint), kMainTitle + " - Hinweis");
    EXPECT_TRUE(StartsWith(LongWindowText(GetDlgItem(hint, kHintTextId)),
                           "Kelvra befindet sich nicht auf einem festen lokalen Datenträger"));
    HWND check = GetDlgItem(hint, kHintCheckId);
    EXPECT_EQ(LongWindowText(check), "&Nicht mehr anzeigen");
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageW(GetDlgItem(hint, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hint); })) << "OK left the hint open";
    EXPECT_EQ(StatusText(status_, 3), "Funktionsumfang: Eingeschränkt ");
    ASSERT_TRUE(Close());
    EXPECT_EQ(IniRead(ini, UserSection(), "ShowHints"), "011");
}

// ---------------------------------------------------------------------------
// Bad settings: each has a defined result, and the window opens on screen
// and closes normally.

struct Shown {
    HWND main, list, status;
    char letter;  // the subst letter of the case, if it has one
};

struct BadInput {
    const char* name;
    std::string settings;  // lines of the user's section; "$L" is the subst letter
    bool subst = false;
    std::function<void(const Shown&)> check = nullptr;
    std::function<void(const std::string& ini, const std::string& before)> afterClose = nullptr;
    std::function<void(const std::string& ini)> whileOpen = nullptr;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const BadInput& c, std::ostream* os) {
    *os << c.name;
}

void ExpectOrder(const Shown& s, const std::vector<int>& order) {
    EXPECT_EQ(ListColumnOrder(s.list, 4), order);
}
void ExpectAt(const Shown& s, int x, int y) {
    EXPECT_EQ(WindowRect(s.main).left, x);
    EXPECT_EQ(WindowRect(s.main).top, y);
}
void ExpectCentred(const Shown& s) {
    const RECT at = WindowRect(s.main), work = WorkArea();
    EXPECT_NEAR(at.left, work.left + (Width(work) - Width(at)) / 2, 1);
    EXPECT_NEAR(at.top, work.top + (Height(work) - Height(at)) / 2, 1);
}
// Fitted widths: wide enough to read, never wider than the screen.
void ExpectColumnWidths(const Shown& s, const std::vector<int>& exact) {
    for (int c = 0; c < 4; ++c) {
        const auto w = static_cast<int>(SendMessageW(s.list, LVM_GETCOLUMNWIDTH, c, 0));
        if (exact[c] > 0) {
            EXPECT_EQ(w, exact[c]) << "column " << c;
        } else {
            EXPECT_GE(w, 8) << "column " << c;
            EXPECT_LE(w, GetSystemMetrics(SM_CXSCREEN)) << "column " << c;
        }
    }
}
auto SavedAs(const std::string& key, const std::string& value) {
    return [key, value](const std::string& ini, const std::string&) {
        EXPECT_EQ(IniRead(ini, UserSection(), key), value) << key;
    };
}

const std::string kLongLabel(256, 'L');
// Bytes that the ANSI code page 1252 leaves undefined, then a few it has.
const std::string kForeignLabel = "\x81\x8d\x8f\x90\x9d-\xc4\xd6\xdc";

std::string LabelLine(const std::string& ini, char letter) {
    const std::string bytes = ReadBytes(ini);
    const std::string key = "SubstPathLabel_" + Letter(letter) + "=";
    const std::size_t at = bytes.find(key);
    if (at == std::string::npos) return "<missing>";
    return bytes.substr(at + key.size(), bytes.find_first_of("\r\n", at) - at - key.size());
}

const BadInput kBadInputs[] = {
    {"ColumnOrderJunk", "AllowResize=1\r\nColumnOrder=junk\r\n", false,
     [](const Shown& s) {
         ExpectOrder(s, {0, 1, 2, 3});
     },
     SavedAs("ColumnOrder", "1/2/3/4")},
    {"ColumnOrderRepeated", "AllowResize=1\r\nColumnOrder=4/4/4/4\r\n", false,
     [](const Shown& s) {
         ExpectOrder(s, {0, 1, 2, 3});
     },
     SavedAs("ColumnOrder", "1/2/3/4")},
    {"ColumnOrderNegativeAndHuge", "AllowResize=1\r\nColumnOrder=-1/2/3/99999999999\r\n", false,
     [](const Shown& s) {
         ExpectOrder(s, {0, 1, 2, 3});
     }},
    {"ColumnOrderTooFew", "AllowResize=1\r\nColumnOrder=2/1/3\r\n", false,
     [](const Shown& s) {
         ExpectOrder(s, {0, 1, 2, 3});
     }},
    {"ColumnOrderTooMany", "AllowResize=1\r\nColumnOrder=2/1/3/4/5\r\n", false,
     [](const Shown& s) {
         ExpectOrder(s, {0, 1, 2, 3});
     }},
    {"ColumnWidthJunkNegativeHuge", "AllowResize=1\r\nColumnWidth=junk/-300/0/99999999999\r\n",
     false,
     [](const Shown& s) {
         ExpectColumnWidths(s, {0, 0, 0, 0});
     }},
    {"ColumnWidthTooFew", "AllowResize=1\r\nColumnWidth=1500\r\n", false,
     [](const Shown& s) {
         ExpectColumnWidths(s, {Pixels(1500), 0, 0, 0});
     }},
    {"ColumnWidthTooMany", "AllowResize=1\r\nColumnWidth=1500/1500/1500/1500/1500\r\n", false,
     [](const Shown& s) {
         ExpectColumnWidths(s, {Pixels(1500), Pixels(1500), Pixels(1500), Pixels(1500)});
     }},
    {"WindowWidthJunk", "AllowResize=1\r\nWindowWidth=junk\r\n"},
    {"WindowWidthNegative", "AllowResize=1\r\nWindowWidth=-5000\r\n"},
    {"WindowWidthHuge", "AllowResize=1\r\nWindowWidth=99999999999\r\n", false,
     [](const Shown& s) { EXPECT_EQ(Width(WindowRect(s.main)), GetSystemMetrics(SM_CXSCREEN)); }},
    {"LastPosJunk", "LastPos=junk\r\n", false, [](const Shown& s) { ExpectAt(s, 0, 0); }},
    {"LastPosEmpty", "LastPos=\r\n", false, [](const Shown& s) { ExpectAt(s, 0, 0); }},
    {"LastPosOnePart", "LastPos=1500\r\n", false,
     [](const Shown& s) { ExpectAt(s, Pixels(1500), 0); }},
    {"LastPosThreeParts", "LastPos=1500/750/99\r\n", false,
     [](const Shown& s) { ExpectAt(s, Pixels(1500), Pixels(750)); }},
    {"LastPosNegative", "LastPos=-99999/-99999\r\n", false, ExpectCentred},
    {"LastPosHuge", "LastPos=99999999999/99999999999\r\n", false, ExpectCentred},
    {"LastPosRightOfTheScreen", "LastPos=45000/0\r\n", false, ExpectCentred},
    {"ShowDeviceNamesSeven", "ShowDeviceNames=7\r\n", false,
     [](const Shown& s) {
         EXPECT_EQ(ListColumnCaption(s.list, kPathColumn), "Pfad");
         EXPECT_EQ(ListText(s.list, Row('C'), kPathColumn), "") << "a device name";
     }},
    {"LabelOf256Characters", "SubstPathLabel_$L=" + kLongLabel + "\r\n", true,
     [](const Shown& s) {
         EXPECT_EQ(ListText(s.list, Row(s.letter), 0), Letter(s.letter) + ":  " + kLongLabel);
     }},
    {"LabelOutsideTheCodePage", "SubstPathLabel_$L=" + kForeignLabel + "\r\n", true,
     [](const Shown& s) {
         EXPECT_TRUE(StartsWith(ListText(s.list, Row(s.letter), 0), Letter(s.letter) + ":  "));
     }},
    {"SettingsFileDeletedWhileOpen", "GridLines=0\r\n", false, nullptr,
     [](const std::string& ini, const std::string&) {
         EXPECT_TRUE(FileThere(ini));
         EXPECT_EQ(IniRead(ini, UserSection(), "GridLines"), "0") << "the settings in use";
         EXPECT_EQ(IniRead(ini, UserSection(), "ShowLEDs"), "1");
     },
     [](const std::string& ini) { ASSERT_TRUE(DeleteFileA(ini.c_str())); }},
};

class BadSettings : public MainWindowTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadSettings, HaveADefinedResultAndTheWindowOnScreen) {
    const BadInput& c = GetParam();
    const char letter = c.subst ? FreeLetter('Y') : '\0';
    DataFolder data;
    std::unique_ptr<SubstDrive> subst;
    std::string settings = c.settings;
    if (c.subst) {
        ASSERT_NE(letter, 0);
        subst = std::make_unique<SubstDrive>(letter, data.path);
        ASSERT_TRUE(subst->ok());
        settings.replace(settings.find("$L"), 2, Letter(letter));
    }
    WriteSettings(settings);
    const std::string before = ReadBytes(Ini());
    ASSERT_TRUE(Launch());
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(OnScreen(WindowRect(main_)));
    if (c.check) c.check(Shown{main_, list_, status_, letter});
    if (c.whileOpen) c.whileOpen(Ini());
    ASSERT_TRUE(Close()) << "did not end normally";
    EXPECT_TRUE(FileThere(Ini()));
    if (c.subst) {
        // The label goes back into the file byte for byte.
        const std::size_t eq = settings.find('=');
        EXPECT_EQ(LabelLine(Ini(), letter),
                  settings.substr(eq + 1, settings.find("\r\n") - eq - 1));
    }
    if (c.afterClose) c.afterClose(Ini(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadSettings, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvra::e2e
