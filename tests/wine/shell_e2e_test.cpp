// End-to-end tests of the notification-area icon, the list popup, the help
// and the change history of the real Kelvra.exe under Wine. Menus of
// another process cannot be read under Wine (their handles do not cross), so
// each popup is checked by what its items do: chosen by keyboard, by the
// mnemonics of the button captions they copy.
#include <algorithm>
#include <optional>
#include <ostream>

#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

// Command numbers of the buttons, in the order of the popup's items.
constexpr int kNew = 0, kKill = 2, kFix = 3;
constexpr std::size_t kCommandCount = 8;

// Runs a menu command of the main window and returns once it has run.
bool MenuCommand(HWND main, int id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_ABORTIFHUNG, 20000,
                               &result) != 0;
}

// The virtual key of the access key in a caption ("T&rennen": R).
WORD AccessKey(const std::string& caption) {
    const std::size_t at = caption.find('&');
    if (at == std::string::npos || at + 1 >= caption.size()) return 0;
    return static_cast<WORD>(VkKeyScanA(caption[at + 1]) & 0xFF);
}

// ---------------------------------------------------------------------------
// Notification-area icon

class TrayTest : public ScratchProgramTest {
  protected:
    bool InTray() const { return !IsWindowVisible(main_) && TrayIconPresent(main_); }
    bool Shown() const {
        return IsWindowVisible(main_) && !IsIconic(main_) && !TrayIconPresent(main_);
    }
    bool Minimize() {
        PostMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return WaitUntil([&] { return InTray(); });
    }
};

struct TrayChoice {
    const char* name;
    std::vector<WORD> keys;
    enum Result { Restored, Ended, StaysInTray } result;
};

void PrintTo(const TrayChoice& c, std::ostream* os) {
    *os << c.name;
}

const TrayChoice kTrayChoices[] = {
    {"ExitItemEndsTheProgramSaved", {VK_UP, VK_RETURN}, TrayChoice::Ended},
    {"ShowItemRestoresTheWindow", {VK_DOWN, VK_RETURN}, TrayChoice::Restored},
    {"EscapeLeavesItInTheTray", {VK_ESCAPE}, TrayChoice::StaysInTray},
};

class TrayMenu : public TrayTest, public ::testing::WithParamInterface<TrayChoice> {};

TEST_P(TrayMenu, LeftClickRestoresAndTheRightClickMenuDoesWhatIsChosen) {
    const TrayChoice& c = GetParam();
    WriteSettings("MinimizeToSystray=1\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Minimize()) << "not in the tray";
    PostMessageW(main_, kTrayCallback, 0, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return Shown(); })) << "a left click did not restore";

    ASSERT_TRUE(Minimize());
    PostMessageW(main_, kTrayCallback, 0, WM_RBUTTONUP);
    ASSERT_NE(WaitForPopupMenu(Pid()), nullptr) << "no tray menu";
    if (c.result == TrayChoice::Ended) Shot("ctx_tray_menu");
    ASSERT_TRUE(PressKeys(c.keys));
    switch (c.result) {
        case TrayChoice::Ended: {
            DWORD code = 1;
            ASSERT_TRUE(mainProcess_->Wait(kStateTimeout, &code)) << "\"Beenden\" did not end it";
            EXPECT_EQ(code, 0u);
            EXPECT_FALSE(TrayIconPresent(main_)) << "the icon outlived the program";
            EXPECT_EQ(Setting("GridLines"), "1") << "not saved";
            EXPECT_EQ(Setting("MinimizeToSystray"), "1");
            return;
        }
        case TrayChoice::Restored:
            EXPECT_TRUE(WaitUntil([&] { return Shown(); }))
                << "\"Kelvra anzeigen\" did not show it";
            break;
        case TrayChoice::StaysInTray:
            ASSERT_TRUE(WaitForNoPopupMenu(Pid()));
            EXPECT_TRUE(InTray());
            break;
    }
    EXPECT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(Items, TrayMenu, ::testing::ValuesIn(kTrayChoices),
                         [](const auto& info) { return std::string(info.param.name); });

bool RemoveIcon(HWND owner) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 0;
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

// Wine's shell never announces a restart; the message is sent as the shell
// would send it.
TEST_F(TrayTest, ALostIconComesBackWithTaskbarCreatedAndWithTheTrayCheck) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    WriteSettings("MinimizeToSystray=1\r\n");
    ASSERT_TRUE(Launch());
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main_, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
    EXPECT_FALSE(TrayIconPresent(main_)) << "an icon for a window that is not in the tray";

    ASSERT_TRUE(Minimize());
    ASSERT_TRUE(RemoveIcon(main_));
    ASSERT_FALSE(TrayIconPresent(main_));
    SendMessageTimeoutW(main_, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
    EXPECT_TRUE(TrayIconPresent(main_)) << "not added again on TaskbarCreated";

    ASSERT_TRUE(RemoveIcon(main_));
    // The check runs every 5 s.
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(main_); }, 15000, 200))
        << "the tray check did not add it again";
    PostMessageW(main_, kTrayCallback, 0, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return Shown(); }));
    EXPECT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// The list popup

class ListPopupTest : public ScratchProgramTest {
  protected:
    std::string Caption(int command) const {
        return LongWindowText(GetDlgItem(main_, kIdButtonFirst + command));
    }
    HWND Popup() const { return WaitForPopupMenu(Pid()); }
    // The enabled state of the popup's items as drawn; waits until they are
    // as expected, since the menu may still be painting.
    std::vector<bool> Drawn(HWND popup, const std::vector<bool>& expected) const {
        std::vector<bool> items;
        WaitUntil([&] { return (items = PopupItemsEnabled(popup)) == expected; });
        return items;
    }
    std::vector<bool> ButtonsEnabled() const {
        std::vector<bool> enabled;
        for (int command = 0; command < static_cast<int>(kCommandCount); ++command)
            enabled.push_back(IsWindowEnabled(GetDlgItem(main_, kIdButtonFirst + command)) !=
                              FALSE);
        return enabled;
    }
    // A folder for a subst drive the test defines, and the drive.
    void MakeSubst() {
        data_ = folder_ + "data";
        ASSERT_TRUE(CreateDirectoryA(data_.c_str(), nullptr));
        letter_ = HighestUndefinedLetter();
        ASSERT_NE(letter_, 0);
        subst_ = std::make_unique<SubstDrive>(letter_, data_);
        ASSERT_TRUE(subst_->ok());
    }
    std::string data_;
    char letter_ = 0;
    std::unique_ptr<SubstDrive> subst_;
};

class ListPopupButtons : public ListPopupTest, public ::testing::WithParamInterface<bool> {};

// Right click, Shift+F10 and the menu key open the popup on a subst row;
// its items carry the buttons' captions (their access keys choose them) and
// run the buttons' commands, whether the buttons show or not.
TEST_P(ListPopupButtons, OffersTheButtonsCommandsOnASubstRow) {
    const bool buttons = GetParam();
    ASSERT_NO_FATAL_FAILURE(MakeSubst());
    WriteSettings(std::string("ShowButtons=") + (buttons ? "1" : "0") + "\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(
        WaitUntil([&] { return StartsWith(RowText(letter_, kTypeColumn), "Subst-Laufwerk ("); }));
    ASSERT_TRUE(FocusControl(main_, list_));
    const std::string key = "SubstPath_" + Letter(letter_);
    ASSERT_EQ(Setting(key), "<missing>");

    // A real right click on the row selects it and opens the popup.
    ASSERT_TRUE(ClickAt(Centre(ListRowOnScreen(list_, Row(letter_))), true));
    HWND popup = Popup();
    ASSERT_NE(popup, nullptr) << "no popup on a right click";
    if (buttons) Shot("ctx_list_popup");
    // A temporary subst drive: all but deactivating and renaming.
    const std::vector<bool> substRow = {true, true, true, true, false, false, false, true};
    EXPECT_EQ(Drawn(popup, substRow), substRow);
    if (buttons) {
        EXPECT_EQ(ButtonsEnabled(), substRow);
    }
    const std::string fix = Caption(kFix);
    ASSERT_EQ(fix, "&Permanent");
    ASSERT_TRUE(PressKey(AccessKey(fix)));
    EXPECT_TRUE(WaitUntil([&] { return Setting(key) == data_; })) << "not made permanent";
    EXPECT_TRUE(WaitUntil([&] { return Caption(kFix) == "&Temporär"; })) << Caption(kFix);

    // Shift+F10: the disconnect item asks first; No keeps the drive.
    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey(VK_F10, {VK_SHIFT}));
    ASSERT_NE(Popup(), nullptr) << "no popup on Shift+F10";
    const std::string kill = Caption(kKill);
    ASSERT_EQ(kill, "T&rennen");
    ASSERT_TRUE(PressKey(AccessKey(kill)));
    HWND question = WaitForBox(Pid(), "Kelvra - Trennen");
    ASSERT_NE(question, nullptr) << "the disconnect item asked nothing";
    PressDialogButton(question, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_FALSE(DosDeviceTarget(letter_).empty()) << "No disconnected";

    // The menu key: the first item is "&Ändern", which opens the chooser.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey(VK_APPS));
    ASSERT_NE(Popup(), nullptr) << "no popup on the menu key";
    ASSERT_TRUE(PressKeys({VK_DOWN, VK_RETURN}));
    HWND chooser = WaitForDialog(Pid(), "");
    ASSERT_NE(chooser, nullptr) << "\"&Ändern\" opened no folder chooser";
    PressDialogButton(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
    EXPECT_EQ(Utf8(DosDeviceTarget(letter_)), "\\??\\" + data_);
    EXPECT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(ShowButtons, ListPopupButtons, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Shown" : "Hidden"; });

// On a free row only "&Verbinden" works: the disconnect item is greyed.
TEST_F(ListPopupTest, OnAFreeRowOnlyConnectIsEnabled) {
    WriteSettings("");
    ASSERT_TRUE(Launch());
    const char free = HighestUndefinedLetter();
    ASSERT_NE(free, 0);
    ASSERT_TRUE(SelectListRow(list_, Row(free)));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kNew) == "&Verbinden"; }));
    const POINT at = Centre(ListRowOnScreen(list_, Row(free)));
    ASSERT_TRUE(FocusControl(main_, list_));

    WindowCreationLog log;
    ASSERT_TRUE(log.ok());
    PostMessageW(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), MAKELPARAM(at.x, at.y));
    HWND popup = Popup();
    ASSERT_NE(popup, nullptr) << "no popup on WM_CONTEXTMENU";
    std::vector<bool> freeRow(kCommandCount, false);
    freeRow[kNew] = true;
    EXPECT_EQ(Drawn(popup, freeRow), freeRow);
    EXPECT_EQ(ButtonsEnabled(), freeRow);
    ASSERT_TRUE(PressKey(AccessKey(Caption(kKill))));
    // A greyed item's access key closes the popup and runs nothing.
    ASSERT_TRUE(WaitForNoPopupMenu(Pid()));
    EXPECT_FALSE(log.Seen(Pid(), "#32770")) << "the greyed disconnect ran";

    ASSERT_TRUE(FocusControl(main_, list_));
    PostMessageW(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), MAKELPARAM(at.x, at.y));
    ASSERT_NE(Popup(), nullptr);
    ASSERT_TRUE(PressKey(AccessKey(Caption(kNew))));
    HWND chooser = WaitForDialog(Pid(), "");
    ASSERT_NE(chooser, nullptr) << "\"&Verbinden\" opened no folder chooser";
    PressDialogButton(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
    EXPECT_TRUE(DosDeviceTarget(free).empty());
    EXPECT_TRUE(Close());
}

// In English, with "Chan&ge" on the button, Alt+H opens the Help menu, not
// the folder chooser; Alt+G changes the folder.
TEST_F(ListPopupTest, EnglishAltHOpensTheHelpMenuOnASubstRow) {
    const std::string pack = "Z:" + std::string(KELVRA_SOURCE_DIR) + "\\languages\\English.lng";
    ASSERT_TRUE(CreateDirectoryA((folder_ + "languages").c_str(), nullptr));
    ASSERT_TRUE(CopyInto(pack, folder_ + "languages\\"));
    ASSERT_NO_FATAL_FAILURE(MakeSubst());
    WriteSettings("Language=English\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(SelectListRow(list_, Row(letter_)));
    ASSERT_TRUE(WaitUntil([&] { return Caption(kNew) == "Chan&ge"; })) << Caption(kNew);

    WindowCreationLog log;
    ASSERT_TRUE(log.ok());
    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey('H', {VK_MENU}));
    ASSERT_NE(Popup(), nullptr) << "Alt+H opened no menu";
    EXPECT_FALSE(log.Seen(Pid(), "#32770")) << "Alt+H opened a dialog";
    ASSERT_TRUE(PressKeys({VK_ESCAPE, VK_ESCAPE}));
    ASSERT_TRUE(WaitForNoPopupMenu(Pid()));

    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey('G', {VK_MENU}));
    HWND chooser = WaitForDialog(Pid(), "");
    ASSERT_NE(chooser, nullptr) << "Alt+G opened no folder chooser";
    PressDialogButton(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
    EXPECT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Help and history

// The texts of the top-level items of a tree view of another process.
std::vector<std::string> TreeTopTexts(HWND tree) {
    std::vector<std::string> texts;
    constexpr std::size_t kText = 256, kChars = 256;
    RemoteMemory memory(tree, kText + kChars * sizeof(wchar_t));
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
         item; item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                               reinterpret_cast<LPARAM>(item)))) {
        TVITEMW request = {};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(memory.At(kText));
        request.cchTextMax = kChars;
        std::wstring text(kChars, L'\0');
        if (!memory.Write(0, &request, sizeof request) ||
            !memory.Write(kText, text.data(), text.size() * sizeof(wchar_t)) ||
            !SendMessageW(tree, TVM_GETITEMW, 0, memory.At()) ||
            !memory.Read(kText, text.data(), text.size() * sizeof(wchar_t)))
            break;
        texts.push_back(Utf8(text.substr(0, text.find(L'\0'))));
    }
    return texts;
}

struct HelpCase {
    const char* name;
    std::vector<std::string> files;  // in helpfiles\ beside the program
    std::string title;               // empty: no help window at all
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.name;
}

const HelpCase kHelpCases[] = {
    {"GermanForTheGermanLanguage", {"Deutsch.chm", "English.chm"}, "Kelvra Hilfe"},
    {"EnglishWhenTheLanguageHasNone", {"English.chm"}, "Kelvra Help"},
    {"NothingWithoutHelpFiles", {}, ""},
};

class Help : public ScratchProgramTest, public ::testing::WithParamInterface<HelpCase> {};

// Under Wine the page pane stays blank: what shows is the window, its title
// and its contents tree; the keyboard topic opens the help on its own.
TEST_P(Help, ContentsAndKeyboardTopicOpenTheLanguagesHelpFile) {
    const HelpCase& c = GetParam();
    const std::string help = folder_ + "helpfiles\\";
    ASSERT_TRUE(CreateDirectoryA(help.c_str(), nullptr));
    for (const std::string& file : c.files) {
        ASSERT_TRUE(CopyInto(BuildFolder() + "helpfiles\\" + file, help)) << file;
    }
    WriteSettings("");
    ASSERT_TRUE(Launch());
    const DWORD pid = Pid();

    constexpr int kF1 = -1;  // the key, not a menu command
    for (int command : {kIdMnuHelp, kIdMnuKeyboard, kF1}) {
        SCOPED_TRACE(command == kIdMnuHelp ? "Inhalt" : command == kF1 ? "F1" : "Tastatur");
        std::vector<HWND> windows;
        if (command == kF1) {
            if (c.title.empty()) continue;
            PostMessageW(list_, WM_KEYDOWN, VK_F1, 1);
            PostMessageW(list_, WM_KEYUP, VK_F1, 0xC0000001);
            if (HWND shown = WaitForVisibleWindow(pid, "HH Parent", "")) windows.push_back(shown);
        } else {
            ASSERT_TRUE(MenuCommand(main_, command));
            // HTML Help opens its window before it returns.
            windows = VisibleWindowsOf(pid, "HH Parent", "");
        }
        if (c.title.empty()) {
            EXPECT_TRUE(windows.empty()) << "a help window without a help file";
            continue;
        }
        ASSERT_EQ(windows.size(), 1u);
        HWND window = windows.front();
        EXPECT_EQ(TitleUtf8(window), c.title);
        // After a posted F1 the window can show before its contents pane.
        HWND tree = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            tree = ChildOfClass(window, "SysTreeView32");
            return tree && !TreeTopTexts(tree).empty();
        })) << "no contents";
        // The navigation pane opens wide enough to read the contents.
        RECT pane = {};
        GetWindowRect(tree, &pane);
        EXPECT_TRUE(IsWindowVisible(tree));
        EXPECT_GE(pane.right - pane.left, 150);
        const std::vector<std::string> top = TreeTopTexts(tree);
        ASSERT_FALSE(top.empty());
        EXPECT_EQ(top.front(), c.title);
        if (c.title == "Kelvra Hilfe") {
            EXPECT_NE(std::find(top.begin(), top.end(), "Tastatur"), top.end());
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    }
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(Files, Help, ::testing::ValuesIn(kHelpCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A fresh Wine prefix has no association for ".txt"; a Windows system does.
// Given it, for the life of the object.
class TextAssociation {
  public:
    TextAssociation() {
        HKEY key = nullptr;
        existed_ = RegOpenKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (existed_) {
            RegCloseKey(key);
            return;
        }
        SetRegString(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
    }
    ~TextAssociation() {
        if (!existed_) RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
    }

  private:
    bool existed_ = false;
};

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

HWND HistoryViewer() {
    for (HWND hwnd : WindowsTitled("history.txt"))
        if (IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

// Closes the viewer of another process, whatever the test's outcome.
class ViewerCloser {
  public:
    explicit ViewerCloser(HWND viewer) : viewer_(viewer) {
        GetWindowThreadProcessId(viewer, &processId_);
        process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId_);
    }
    ~ViewerCloser() {
        PostMessageW(viewer_, WM_CLOSE, 0, 0);
        if (!process_) return;
        if (WaitForSingleObject(process_, kStateTimeout) != WAIT_OBJECT_0)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
    ViewerCloser(const ViewerCloser&) = delete;
    ViewerCloser& operator=(const ViewerCloser&) = delete;
    DWORD processId() const { return processId_; }

  private:
    HWND viewer_;
    DWORD processId_ = 0;
    HANDLE process_ = nullptr;
};

class History : public ScratchProgramTest, public ::testing::WithParamInterface<bool> {};

TEST_P(History, OpensHistoryTxtWithItsProgram) {
    const bool byKey = GetParam();
    // The key runs on a bare prefix: without an association the program
    // falls back to Notepad instead of silently doing nothing.
    std::optional<TextAssociation> association;
    if (!byKey) association.emplace();
    ASSERT_EQ(HistoryViewer(), nullptr) << "a viewer is left from before";
    ASSERT_TRUE(CopyInto(BuildFolder() + "history.txt", folder_));
    WriteSettings("");
    ASSERT_TRUE(Launch());
    if (byKey) {
        ASSERT_TRUE(FocusControl(main_, list_));
        ASSERT_TRUE(PressKey('H', {VK_CONTROL}));
    } else {
        ASSERT_TRUE(MenuCommand(main_, kIdMnuHistory));
    }
    // Wine opens text files in its Notepad, a process of its own.
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (viewer = HistoryViewer()) != nullptr; }))
        << "no window shows history.txt";
    ViewerCloser closer(viewer);
    EXPECT_NE(closer.processId(), Pid());
    HWND edit = ChildOfClass(viewer, "Edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(FirstLine(LongWindowText(edit)), FirstLine(ReadBytes(BuildFolder() + "history.txt")));
    EXPECT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(Ways, History, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "CtrlH" : "MenuItem"; });

}  // namespace
}  // namespace kelvra::e2e
