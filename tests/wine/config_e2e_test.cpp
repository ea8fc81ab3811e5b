// End-to-end tests of the configuration window of the real Kelvra.exe under
// Wine: opened with F12, driven from outside with clicks and keys, checked
// in the main window, in the settings file and in the registry.
#include <gtest/gtest.h>

#include <string>

#include "config/config.h"
#include "config/win32/frm_konfig.h"
#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

const char kProgramKey[] = "Software\\Brannock\\Kelvra";
const char kFolderVerb[] = "Software\\Classes\\Directory\\shell\\Kelvra - Laufwerk verbinden...";
const char kDriveVerb[] = "Software\\Classes\\Drive\\shell\\Kelvra - Laufwerk trennen";
// As an earlier version registered them machine-wide, in English.
const char kOldFolderVerb[] = "Software\\Classes\\Directory\\shell\\Kelvra - Connect drive...";
const char kOldDriveVerb[] = "Software\\Classes\\Drive\\shell\\Kelvra - Disconnect drive";

std::string Text(HWND hwnd) {
    return LongWindowText(hwnd);
}

bool KeyExists(HKEY root, const std::string& subkey) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Removes what a registration leaves, whatever state a test ended in.
void RemoveRegistration() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const char* verb : {kFolderVerb, kDriveVerb, kOldFolderVerb, kOldDriveVerb}) {
            RegDeleteKeyA(root, (std::string(verb) + "\\command").c_str());
            RegDeleteKeyA(root, verb);
        }
        DeleteRegValue(root, kProgramKey, "ShellContextNew");
        DeleteRegValue(root, kProgramKey, "ShellContextKill");
    }
}

// A DACL on an existing key; false on failure.
bool SetKeyDacl(HKEY root, const std::string& subkey, const char* sddl) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    if (descriptor) LocalFree(descriptor);
    RegCloseKey(key);
    return ok;
}

// No shell registration before and after each test, whatever state it ends in.
class ConfigWindowTest : public ScratchProgramTest {
  protected:
    void SetUp() override {
        RemoveRegistration();
        ScratchProgramTest::SetUp();
    }
    void TearDown() override {
        ScratchProgramTest::TearDown();
        RemoveRegistration();
    }

    // F12 in the list, as the user opens the window.
    bool OpenConfig() {
        if (!FocusControl(main_, list_) || !PressKey(VK_F12)) return false;
        config_ = WaitForVisibleWindow(Pid(), "#32770", kMainTitle + " - ");
        return config_ != nullptr;
    }
    HWND Box(CheckBox box) const {
        return GetDlgItem(config_, kConfigCheckBoxId + static_cast<int>(box));
    }
    int Value(CheckBox box) const {
        return static_cast<int>(SendMessageW(Box(box), BM_GETCHECK, 0, 0));
    }
    // A click as the user makes it: the box toggles and tells the window.
    void Click(CheckBox box) { PostMessageW(Box(box), BM_CLICK, 0, 0); }
    bool WaitForValue(CheckBox box, int value) {
        return WaitUntil([&] { return Value(box) == value; });
    }
    int CurrentTab() const {
        return static_cast<int>(
            SendMessageW(GetDlgItem(config_, kConfigTabsId), TCM_GETCURSEL, 0, 0));
    }
    bool ShowTab(int index) {
        if (!FocusControl(config_, GetDlgItem(config_, kConfigTabsId))) return false;
        // One press at a time, each waited for: presses sent before the
        // first has turned the tab would go round past the wanted one.
        for (int i = 0; i < 3 && CurrentTab() != index; ++i) {
            const int before = CurrentTab();
            if (!PressKey(VK_TAB, {VK_CONTROL}) ||
                !WaitUntil([&] { return CurrentTab() != before; }))
                return false;
        }
        return CurrentTab() == index;
    }
    bool CloseConfig() {
        PostMessageW(config_, WM_CLOSE, 0, 0);
        return WaitUntil([&] { return !IsWindow(config_) && IsWindowEnabled(main_); });
    }

    HWND config_ = nullptr;
};

TEST_F(ConfigWindowTest, F12OpensItModallyAndCtrlTabAndEscWork) {
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig()) << "no configuration window after F12 (is F12 wired?)";
    EXPECT_EQ(WindowTitle(config_), kMainTitle + " - Konfiguration");
    EXPECT_FALSE(IsWindowEnabled(main_));
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_TRUE(IsWindowVisible(Box(CheckBox::ShowLEDs)));
    EXPECT_FALSE(IsWindowVisible(Box(CheckBox::Shellcontext)));
    EXPECT_EQ(Text(Box(CheckBox::ShowLEDs)), "Status &LEDs anzeigen");
    EXPECT_EQ(Text(GetDlgItem(config_, kConfigFrameId + static_cast<int>(Frame::Lang))),
              "Sprache/Language/Langue/Lengua/Lingua");
    // Only "Deutsch": the box is disabled.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(config_, kConfigLanguageBoxId)));

    // Ctrl+Tab from a check box, round and back.
    ASSERT_TRUE(FocusControl(config_, Box(CheckBox::Gridline)));
    const int forward[] = {1, 2, 0};
    for (int tab : forward) {
        ASSERT_TRUE(PressKey(VK_TAB, {VK_CONTROL}));
        EXPECT_TRUE(WaitUntil([&] { return CurrentTab() == tab; })) << "to " << tab;
    }
    ASSERT_TRUE(PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT}));
    EXPECT_TRUE(WaitUntil([&] { return CurrentTab() == 2; }));
    EXPECT_TRUE(IsWindowVisible(Box(CheckBox::Shellcontext)));
    EXPECT_FALSE(IsWindowVisible(Box(CheckBox::ShowLEDs)));

    ASSERT_TRUE(FocusControl(config_, Box(CheckBox::Shellcontext)));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(config_); })) << "Esc left the window open";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    EXPECT_TRUE(Close());
}

TEST_F(ConfigWindowTest, LedsButtonsAndGridLinesChangeTheMainWindowAtOnceAndTheFileAtClose) {
    WriteSettings("ShowLEDs=1\r\nShowButtons=1\r\nGridLines=1\r\n");
    ASSERT_TRUE(Launch());
    HWND leds = ChildOfClass(main_, Utf8(kLedClassName));
    HWND cmdNew = GetDlgItem(main_, kIdButtonFirst);
    ASSERT_NE(leds, nullptr);
    ASSERT_NE(cmdNew, nullptr);
    auto gridLines = [&] {
        return (SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0;
    };
    ASSERT_TRUE(IsWindowVisible(leds));
    ASSERT_TRUE(IsWindowVisible(cmdNew));
    ASSERT_TRUE(gridLines());
    ASSERT_TRUE(OpenConfig());

    Click(CheckBox::ShowLEDs);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(leds); })) << "LED strip still shown";
    Click(CheckBox::ShowButtons);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(cmdNew); })) << "buttons still shown";
    Click(CheckBox::Gridline);
    EXPECT_TRUE(WaitUntil([&] { return !gridLines(); })) << "grid lines still on";
    EXPECT_EQ(Setting("ShowLEDs"), "1") << "written before the window closed";

    Click(CheckBox::Gridline);
    EXPECT_TRUE(WaitUntil(gridLines)) << "grid lines not back";
    Click(CheckBox::Gridline);
    ASSERT_TRUE(WaitForValue(CheckBox::Gridline, BST_UNCHECKED));
    ASSERT_TRUE(CloseConfig());
    EXPECT_EQ(Setting("ShowLEDs"), "0");
    EXPECT_EQ(Setting("ShowButtons"), "0");
    EXPECT_EQ(Setting("GridLines"), "0");
    EXPECT_FALSE(IsWindowVisible(leds));
    EXPECT_TRUE(Close());
}

TEST_F(ConfigWindowTest, ExplorerLabelsBoxShowsOnTheDrivesPageTickedAndIsStored) {
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig());
    ASSERT_TRUE(ShowTab(1));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Box(CheckBox::ExplorerLabels)) != 0; }));
    EXPECT_EQ(Text(Box(CheckBox::ExplorerLabels)), "Bezeichnungen im &Explorer anzeigen");
    EXPECT_EQ(Value(CheckBox::ExplorerLabels), BST_CHECKED);
    Click(CheckBox::ExplorerLabels);
    ASSERT_TRUE(WaitForValue(CheckBox::ExplorerLabels, BST_UNCHECKED));
    ASSERT_TRUE(CloseConfig());
    EXPECT_EQ(Setting("ExplorerLabels"), "0");
    EXPECT_TRUE(Close());
}

TEST_F(ConfigWindowTest, EnglishRelabelsBothWindowsAtOnce) {
    WriteSettings("");
    ASSERT_TRUE(AddPack("English.lng"));
    ASSERT_TRUE(Launch());
    HWND cmdNew = GetDlgItem(main_, kIdButtonFirst);
    ASSERT_EQ(Text(cmdNew), "&Verbinden");
    ASSERT_TRUE(OpenConfig());
    HWND languages = GetDlgItem(config_, kConfigLanguageBoxId);
    ASSERT_TRUE(IsWindowEnabled(languages));
    ASSERT_EQ(SendMessageW(languages, CB_GETCOUNT, 0, 0), 2);

    // The user picks the second entry.
    SendMessageW(languages, CB_SETCURSEL, 1, 0);
    SendMessageW(config_, WM_COMMAND, MAKEWPARAM(kConfigLanguageBoxId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(languages));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(config_) == kMainTitle + " - Configuration"; }))
        << WindowTitle(config_);
    EXPECT_EQ(Text(Box(CheckBox::ShowLEDs)), "Show status &LEDs");
    EXPECT_EQ(Text(GetDlgItem(config_, kConfigFrameId + static_cast<int>(Frame::Lang))),
              "Sprache/Language/Langue/Lengua/Lingua");
    EXPECT_EQ(Text(cmdNew), "&Connect");
    EXPECT_EQ(ListColumnCaption(list_, 0), "Drive");

    ASSERT_TRUE(CloseConfig());
    EXPECT_EQ(Setting("Language"), "English");
    EXPECT_TRUE(Close());
}

// Each round opens the window, clicks the box once and closes it, which
// writes the setting: grey and cleared go to ticked, ticked to cleared.
TEST_F(ConfigWindowTest, HintsBoxCyclesThroughTickedAndClearedOnly) {
    WriteSettings("ShowHints=10\r\n");
    ASSERT_TRUE(Launch());
    const struct {
        int shown, clicked;
        const char* stored;
    } rounds[] = {{BST_INDETERMINATE, BST_CHECKED, "111"},
                  {BST_CHECKED, BST_UNCHECKED, "000"},
                  {BST_UNCHECKED, BST_CHECKED, "111"}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.stored);
        ASSERT_TRUE(OpenConfig());
        EXPECT_EQ(Value(CheckBox::ShowHints), r.shown);
        Click(CheckBox::ShowHints);
        EXPECT_TRUE(WaitForValue(CheckBox::ShowHints, r.clicked)) << Value(CheckBox::ShowHints);
        ASSERT_TRUE(CloseConfig());
        EXPECT_EQ(Setting("ShowHints"), r.stored);
    }
    EXPECT_TRUE(Close());
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The tab control is no part of the dialog template: the system would not
// scale it with the rest.
TEST_F(ConfigWindowTest, ADpiChangeScalesTheWholeWindowTheTabControlToo) {
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig());
    HWND tabs = GetDlgItem(config_, kConfigTabsId);
    const RECT before = ChildRect(config_, tabs);
    RECT window = {};
    GetWindowRect(config_, &window);
    ASSERT_TRUE(SendDpiChanged(config_, 144,
                               {40, 30, 40 + (window.right - window.left) * 3 / 2,
                                30 + (window.bottom - window.top) * 3 / 2}));
    GetWindowRect(config_, &window);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.top, 30);
    const RECT at144 = ChildRect(config_, tabs);
    EXPECT_NEAR(at144.top, MulDiv(before.top, 144, 96), 1);
    EXPECT_NEAR(at144.bottom, MulDiv(before.bottom, 144, 96), 1);
    // Wider still when a caption in the larger font needs it.
    EXPECT_GE(at144.right, MulDiv(before.right, 144, 96) - 1);
    for (int i = 0; i < kCheckBoxCount; ++i) {
        HWND box = Box(static_cast<CheckBox>(i));
        const RECT r = ChildRect(config_, box);
        EXPECT_TRUE(!IsWindowVisible(box) ||
                    (r.left > at144.left && r.right < at144.right && r.bottom < at144.bottom))
            << "box " << i << " outside the tab control";
    }
    Shot("config_dpi144");

    // And back, without rounding added up.
    ASSERT_TRUE(SendDpiChanged(config_, 96, window));
    const RECT back = ChildRect(config_, tabs);
    EXPECT_TRUE(EqualRect(&back, &before));
    ASSERT_TRUE(CloseConfig());
    EXPECT_TRUE(Close());
}

// Entries an earlier version made machine-wide show as registered and go
// with the first click; the next ones are made and removed for the user.
TEST_F(ConfigWindowTest, ContextMenuBoxTakesOverOldEntriesAndRegistersForTheUser) {
    SetRegString(HKEY_LOCAL_MACHINE, kProgramKey, "ShellContextNew", "Connect drive...");
    SetRegString(HKEY_LOCAL_MACHINE, kProgramKey, "ShellContextKill", "Disconnect drive");
    SetRegString(HKEY_LOCAL_MACHINE, std::string(kOldFolderVerb) + "\\command", "", "old");
    SetRegString(HKEY_LOCAL_MACHINE, std::string(kOldDriveVerb) + "\\command", "", "old");
    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig());
    ASSERT_TRUE(ShowTab(2));
    ASSERT_TRUE(IsWindowEnabled(Box(CheckBox::Shellcontext)));
    ASSERT_EQ(Value(CheckBox::Shellcontext), BST_CHECKED);

    Click(CheckBox::Shellcontext);
    EXPECT_TRUE(WaitForValue(CheckBox::Shellcontext, BST_UNCHECKED));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOldFolderVerb));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOldDriveVerb));
    std::string value;
    EXPECT_FALSE(GetRegString(HKEY_LOCAL_MACHINE, kProgramKey, "ShellContextNew", value));
    EXPECT_FALSE(GetRegString(HKEY_LOCAL_MACHINE, kProgramKey, "ShellContextKill", value));

    Click(CheckBox::Shellcontext);
    const std::string folderCommand = std::string(kFolderVerb) + "\\command";
    const std::string driveCommand = std::string(kDriveVerb) + "\\command";
    ASSERT_TRUE(WaitUntil([&] { return GetRegString(HKEY_CURRENT_USER, driveCommand, "", value); }))
        << "no drive command";
    EXPECT_EQ(value, "\"" + folder_ + "Kelvra.exe\" /cut=\"%1\"");
    ASSERT_TRUE(GetRegString(HKEY_CURRENT_USER, folderCommand, "", value));
    EXPECT_EQ(value, "\"" + folder_ + "Kelvra.exe\" /set=\"%1\"");
    ASSERT_TRUE(GetRegString(HKEY_CURRENT_USER, kProgramKey, "ShellContextNew", value));
    EXPECT_EQ(value, "Laufwerk verbinden...");
    ASSERT_TRUE(GetRegString(HKEY_CURRENT_USER, kProgramKey, "ShellContextKill", value));
    EXPECT_EQ(value, "Laufwerk trennen");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kFolderVerb));
    EXPECT_TRUE(WaitForValue(CheckBox::Shellcontext, BST_CHECKED));
    EXPECT_EQ(WaitForVisibleWindow(Pid(), "#32770", "Kelvra - Shell", 0), nullptr);

    Click(CheckBox::Shellcontext);
    EXPECT_TRUE(WaitUntil([&] { return !KeyExists(HKEY_CURRENT_USER, kFolderVerb); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDriveVerb));
    EXPECT_FALSE(GetRegString(HKEY_CURRENT_USER, kProgramKey, "ShellContextNew", value));
    EXPECT_FALSE(GetRegString(HKEY_CURRENT_USER, kProgramKey, "ShellContextKill", value));
    EXPECT_TRUE(WaitForValue(CheckBox::Shellcontext, BST_UNCHECKED));
    ASSERT_TRUE(CloseConfig());
    EXPECT_TRUE(Close());
}

// A user without rights on HKLM: registering needs none; an entry an earlier
// version made machine-wide outlasts the removal of the user's, and says so.
TEST_F(ConfigWindowTest, WithoutMachineRightsTheUserRegistersAndOldEntriesStayWithTheMessage) {
    const std::string oldCommand = std::string(kOldFolderVerb) + "\\command";
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
    // Writing values and making subkeys denied, everything else allowed.
    const char* kLocked = "D:P(D;;0x6;;;WD)(A;;KA;;;WD)";
    const char* kOpen = "D:(A;;KA;;;WD)";
    ASSERT_TRUE(SetKeyDacl(HKEY_LOCAL_MACHINE, kProgramKey, kLocked));
    struct Undeny {
        std::string command;
        ~Undeny() {
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, (command + "\\Below").c_str());
            SetKeyDacl(HKEY_LOCAL_MACHINE, kProgramKey, "D:(A;;KA;;;WD)");
        }
    } undeny{oldCommand};

    WriteSettings("");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig());
    ASSERT_TRUE(ShowTab(2));
    Click(CheckBox::Shellcontext);
    EXPECT_TRUE(WaitForValue(CheckBox::Shellcontext, BST_CHECKED));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kFolderVerb) + "\\command"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kDriveVerb) + "\\command"));
    EXPECT_EQ(WaitForVisibleWindow(Pid(), "#32770", "Kelvra - Shell", 0), nullptr);

    // Meanwhile a machine-wide folder entry appears whose command key
    // cannot be deleted: a key with subkeys refuses.
    ASSERT_TRUE(SetKeyDacl(HKEY_LOCAL_MACHINE, kProgramKey, kOpen));
    SetRegString(HKEY_LOCAL_MACHINE, kProgramKey, "ShellContextNew", "Connect drive...");
    SetRegString(HKEY_LOCAL_MACHINE, oldCommand, "", "old");
    ASSERT_TRUE(SetKeyDacl(HKEY_LOCAL_MACHINE, kProgramKey, kLocked));
    SetRegString(HKEY_LOCAL_MACHINE, oldCommand + "\\Below", "", "");

    Click(CheckBox::Shellcontext);
    HWND box = WaitForBox(Pid(), "Kelvra - Shell Kontext Erweiterung");
    ASSERT_NE(box, nullptr) << "no administrator message";
    EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)),
              "Der aktuelle Benutzer ist kein Administrator!\r\n\r\nBitte als Administrator "
              "anmelden und Vorgang wiederholen.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), config_) << "the message belongs to the window";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitForValue(CheckBox::Shellcontext, BST_CHECKED));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFolderVerb));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDriveVerb));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, oldCommand));
    ASSERT_TRUE(CloseConfig());
    EXPECT_TRUE(Close());
}

// Whatever Wine's task scheduler does with the logon task, the box shows and
// the file stores what came of the click: done, or a message and unchanged.
TEST_F(ConfigWindowTest, AdminRestoreBoxStoresWhatCameOfTheClick) {
    WriteSettings("PermAutostartAdmin=1\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(OpenConfig());
    const HWND admin = Box(CheckBox::PermautostartAdmin);
    EXPECT_TRUE(IsWindowVisible(admin));
    EXPECT_EQ(Text(admin), "Auch f\xc3\xbcr Pro&gramme mit Administratorrechten");
    EXPECT_TRUE(IsWindowEnabled(admin));
    EXPECT_EQ(Value(CheckBox::PermautostartAdmin), BST_CHECKED);
    // Below the autostart box, inside its frame.
    const RECT autostart = ChildRect(config_, Box(CheckBox::Permautostart));
    const RECT below = ChildRect(config_, admin);
    EXPECT_GT(below.top, autostart.top);
    EXPECT_LT(below.bottom, ChildRect(config_, Box(CheckBox::ShowHints)).top + 1);

    for (const int wanted : {BST_UNCHECKED, BST_CHECKED}) {
        SCOPED_TRACE(wanted);
        const int before = Value(CheckBox::PermautostartAdmin);
        Click(CheckBox::PermautostartAdmin);
        HWND message = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            message = WaitForBox(Pid(), "Kelvra - Aufgabenplanung", 0);
            return message || Value(CheckBox::PermautostartAdmin) == wanted;
        }));
        if (message) {
            PostMessageW(message, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(message); }));
            EXPECT_EQ(Value(CheckBox::PermautostartAdmin), before) << "the box went back";
        }
    }
    const int shown = Value(CheckBox::PermautostartAdmin);
    Shot("config_tab1");
    ASSERT_TRUE(CloseConfig());
    EXPECT_EQ(Setting("PermAutostartAdmin"), shown == BST_CHECKED ? "1" : "0");
    EXPECT_TRUE(Close());
}

}  // namespace
}  // namespace kelvra::e2e
