// The configuration window's logic: which check box shows which setting,
// when each is enabled, what a click changes (in the settings and at once in
// the main window), the language box, the tabs and the save at close. The
// Win32 window (win32/frm_konfig) only applies what this computes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "language/text_keys.h"

namespace kelvra {

struct Program;
class Os;

// The check boxes, tab by tab, frame by frame.
enum class CheckBox : int {
    // tab 1, fraUlayout
    AllowResize,
    Gridline,
    ShowLEDs,
    ShowButtons,
    ShowDrivelabels,
    ShowdrivelabelA,
    ShowdrivelabelB,
    ShowFilesystem,
    // tab 1, fraUother
    LastPos,
    Tosystray,
    Autostartstay,
    Permautostart,
    PermautostartAdmin,
    ShowHints,
    // tab 2, fraUDrivesGUI
    Substperm,
    Substpermlink,
    Netperm,
    Netpermlink,
    ShowWarnings,
    ExplorerLabels,
    // tab 2, fraUDrivesSCE
    SubstpermSCE,
    SubstpermlinkSCE,
    NetpermSCE,
    NetpermlinkSCE,
    ShowWarningsSCE,
    // tab 3, fraGSCE
    Shellcontext,
};
constexpr int kCheckBoxCount = 26;

enum class Frame : int {
    Ulayout,
    Uother,
    Lang,
    UDrivesGUI,
    Usubst,
    Unet,
    UDrivesSCE,
    UsubstSCE,
    UnetSCE,
    GSCE,
};
constexpr int kFrameCount = 10;
constexpr int kTabCount = 3;

// The language frame names the box in several languages at once, so that a
// user who cannot read the current one still finds it.
constexpr wchar_t kLanguageFrameCaption[] = L"Sprache/Language/Langue/Lengua/Lingua";

// Check-box values as the window shows them.
constexpr int kUnchecked = 0;
constexpr int kChecked = 1;
constexpr int kGrayed = 2;

struct CheckBoxInfo {
    CheckBox box;
    const char* name;  // the control's name, "chkShowLEDs"
    TextKey caption;   // "config_" + the name in lower case
    Frame frame;       // the innermost frame holding it
    bool threeState;
};
struct FrameInfo {
    Frame frame;
    const char* name;  // "fraUlayout"
    int tab;           // 1..3
    Frame parent;      // the frame itself when it sits on the page directly
    TextKey caption;   // unused for fraLang, which keeps kLanguageFrameCaption
};

// In CheckBox and Frame order.
const std::array<CheckBoxInfo, kCheckBoxCount>& CheckBoxes();
const std::array<FrameInfo, kFrameCount>& Frames();
inline const CheckBoxInfo& Info(CheckBox box) {
    return CheckBoxes()[static_cast<int>(box)];
}
inline const FrameInfo& Info(Frame frame) {
    return Frames()[static_cast<int>(frame)];
}
inline int TabOf(CheckBox box) {
    return Info(Info(box).frame).tab;
}

struct CheckState {
    int value = kUnchecked;
    bool enabled = true;
};
using CheckStates = std::array<CheckState, kCheckBoxCount>;

// The hints box: ticked while every hint is still to be shown, cleared when
// none is (or the text is empty), grey for a mixture.
int ShowHintsValue(const std::string& showHints);
// The value a three-state box takes when the user clicks it while it shows
// `shown`. Grey is a state only the settings can produce: a click never goes
// there, and from grey or cleared it ticks, from ticked it clears.
int NextThreeStateValue(int shown);
// Every box's value and enabled state from the settings, the start-up flags
// and, for chkShellcontext, the registry.
CheckStates ComputeCheckStates(Program& program);

struct ConfigTexts {
    std::wstring title;  // "Kelvra V" + version + " - " + config_title
    std::array<std::wstring, kTabCount> tabs;
    std::array<std::wstring, kFrameCount> frames;
    std::array<std::wstring, kCheckBoxCount> boxes;
};
ConfigTexts ComputeConfigTexts(Program& program);

// The language box: "Deutsch", then each pack in "languages\" in listing
// order, named by its file name without ".lng" and with its first letter in
// upper case; a second "Deutsch" and names that LoadLanguage would refuse
// are left out.
std::vector<std::string> LanguageEntries(Os& os, const std::string& programFolder);
struct LanguageList {
    std::vector<std::string> names;
    int selected = 0;  // the entry equal to Language (case counts), else "Deutsch"
    bool enabled = false;
};
LanguageList ComputeLanguageList(Program& program);

// What the logic needs of the window.
class ConfigView {
  public:
    virtual ~ConfigView() = default;
    virtual void ShowTexts(const ConfigTexts& texts) = 0;
    virtual void ShowLanguages(const LanguageList& list) = 0;
    virtual void ShowCheckStates(const CheckStates& states) = 0;
    // Shows page `tab` (1..3) and hides the others.
    virtual void ShowTab(int tab) = 0;
};

// The window's state and handlers. Every handler does nothing while the
// window fills its controls, so a value set in code never acts as a click.
class ConfigForm {
  public:
    ConfigForm(Program& program, ConfigView& view) : program_(program), view_(view) {}

    // Texts, languages and states; tab 1.
    void Load();
    void initlang();
    // Every box from the settings, then the main window's status bar.
    void RefreshStates();
    // The user set `box` to `value` (kUnchecked, kChecked, kGrayed).
    void CheckBoxClick(CheckBox box, int value);
    // The user chose entry `index` of the language box.
    void LanguageClick(int index);
    void TabClick(int tab);
    // Ctrl+Tab and Ctrl+Shift+Tab, wrapping around.
    void NextTab(bool backwards);
    // Writes the settings; run when the window closes.
    void Unload();

    int CurrentTab() const { return currentTab_; }
    bool Filling() const { return filling_; }

  private:
    Program& program_;
    ConfigView& view_;
    bool filling_ = false;
    int currentTab_ = 1;
    std::vector<std::string> languages_;
};

}  // namespace kelvra
