// The settings store: one variable per key of the settings section, read once
// at start-up and written back in full by every save.
#pragma once

#include <string>

namespace kelvra {

struct Program;

// Width of the main window as designed, in twips; the default of WindowWidth.
constexpr int kMainWindowDesignWidth = 9120;

struct Settings {
    bool ShowWarnings;
    bool ShowWarningsSCE;
    int ShowDeviceNames;
    bool MinimizeToSystray;
    bool AllowResize;
    bool GridLines;
    bool ShowLEDs;
    bool ShowButtons;
    bool ShowDrivelabels;
    bool ShowDrivelabelA;
    bool ShowDrivelabelB;
    bool ShowFilesystem;
    bool SubstDefaultPermanent;
    bool SubstPermanentLink;
    bool NetDefaultPermanent;
    bool NetPermanentLink;
    bool SubstDefaultPermanentSCE;
    bool SubstPermanentLinkSCE;
    bool NetDefaultPermanentSCE;
    bool NetPermanentLinkSCE;
    std::string ColumnOrder;
    std::string ColumnWidth;
    int WindowWidth;
    bool AutostartStay;
    bool PermAutostart;
    std::string ShowHints;
    std::string LastPos;
    std::string Language;
    bool DontShowBusySplash;  // read only: set by editing the file
    bool ExpertMode;          // read only: set by editing the file
};

// Every setting at its default.
Settings DefaultSettings();

// "GLOBAL" with the global profile, else "USER=" + the user name in the
// system's capitals (its code page decides what a letter is).
std::string SettingsSection(Program& program);

// How settings texts become flags. A flag is its leading number not being 0;
// Boolean-text keys also take the words True and False in any case.
bool FlagFromText(const std::string& text);
bool BooleanTextFromText(const std::string& text);
// "ShowHints" padded with "1" to hintCount characters.
std::string PadHints(std::string hints, int hintCount);

void LoadSettings(Program& program);
// Writes every settings key, the drive entries (once the drive table has been
// scanned) and the autostart entry.
void SaveSettings(Program& program);

}  // namespace kelvra
