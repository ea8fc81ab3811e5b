// The settings store: one variable per key of the settings section, read once
// at start-up and written back in full by every save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvra {

struct Program;
struct StartupState;

// Width of the main window as designed, in twips; the default of WindowWidth.
constexpr int kMainWindowDesignWidth = 9120;

// The list's column order and widths and the window width (twips), as the
// settings keys hold them.
struct ListLayout {
    std::string ColumnOrder;
    std::string ColumnWidth;
    int WindowWidth = kMainWindowDesignWidth;
};

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
    bool ExplorerLabels;      // the own labels also in Explorer
    bool PermAutostartAdmin;  // a logon task restores the drives for elevated programs too
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

// Settings files larger than this are not read: a save would write back only
// the part read and lose the rest.
constexpr std::size_t kMaxSettingsBytes = 4u << 20;

// Reads the settings file into startup.Stored. True when it was read, or when
// there is none (a first run). False when it is there but cannot be read now
// (another program holds it, access denied, too large): startup.Stored keeps
// the last read, and startup.IniUnreadable says so until a read succeeds.
bool ReadSettingsFile(Program& program);
// True when the settings file's bytes differ from those the drive table's
// entries are in step with (drives.entriesBasis), or it came or went since.
// A file that cannot be read now is no change.
bool SettingsFileChanged(Program& program);
// A key's value in startup.Stored as GetPrivateProfileString would answer it
// (the default when the key is missing, at most kIniBufferSize - 1
// characters); status 0 when the answer is not empty, else 2.
std::string StoredValue(const StartupState& startup, const std::string& section,
                        const std::string& key, const std::string& def, int32_t& status);

// Reads the settings file once and takes every setting from it; with the
// program folder's file (GlobalINI) also whether all users share its section
// GLOBAL (GlobalProfile).
void LoadSettings(Program& program);
// Takes the layout the window shows into the settings.
void ApplyListLayout(Settings& settings, const ListLayout& layout);
// Writes every settings key, the drive entries (once the drive table has been
// scanned) and the autostart entry, into the file as it is on disk at that
// moment, and replaces the file in one step. Writes nothing while the file
// cannot be read, and leaves out the settings or the entries when they were
// not read from it: defaults must not overwrite what the user stored.
// `shown`: the list layout the window has now, saved with the settings.
void SaveSettings(Program& program, const std::optional<ListLayout>& shown = std::nullopt);

}  // namespace kelvra
