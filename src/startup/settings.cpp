#include "startup/settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string_view>

#include "drives/drive_entries.h"
#include "mainwindow/main_view.h"
#include "platform/inireg.h"
#include "program.h"
#include "startup/permanent.h"
#include "util/text.h"

namespace kelvra {
namespace {

enum class Kind { Flag, BooleanText, Integer, Text, Hints };

struct Key {
    const char* name;
    Kind kind;
    const char* def;
    bool Settings::*flag = nullptr;
    int Settings::*integer = nullptr;
    std::string Settings::*text = nullptr;
};

constexpr Key FlagKey(const char* name, const char* def, bool Settings::*m,
                      Kind kind = Kind::Flag) {
    return Key{name, kind, def, m, nullptr, nullptr};
}
constexpr Key IntKey(const char* name, const char* def, int Settings::*m) {
    return Key{name, Kind::Integer, def, nullptr, m, nullptr};
}
constexpr Key StringKey(const char* name, const char* def, std::string Settings::*m,
                        Kind kind = Kind::Text) {
    return Key{name, kind, def, nullptr, nullptr, m};
}

// The settings keys in the order they are read, with their defaults.
constexpr Key kKeys[] = {
    FlagKey("ShowWarnings", "1", &Settings::ShowWarnings),
    FlagKey("ShowWarningsSCE", "1", &Settings::ShowWarningsSCE),
    IntKey("ShowDeviceNames", "0", &Settings::ShowDeviceNames),
    FlagKey("MinimizeToSystray", "0", &Settings::MinimizeToSystray),
    FlagKey("AllowResize", "0", &Settings::AllowResize, Kind::BooleanText),
    FlagKey("GridLines", "1", &Settings::GridLines),
    FlagKey("ShowLEDs", "1", &Settings::ShowLEDs),
    FlagKey("ShowButtons", "1", &Settings::ShowButtons),
    FlagKey("ShowDrivelabels", "1", &Settings::ShowDrivelabels),
    FlagKey("ShowDrivelabelA", "0", &Settings::ShowDrivelabelA),
    FlagKey("ShowDrivelabelB", "0", &Settings::ShowDrivelabelB),
    FlagKey("ShowFilesystem", "0", &Settings::ShowFilesystem),
    FlagKey("SubstDefaultPermanent", "1", &Settings::SubstDefaultPermanent),
    FlagKey("SubstPermanentLink", "0", &Settings::SubstPermanentLink),
    FlagKey("NetDefaultPermanent", "1", &Settings::NetDefaultPermanent),
    FlagKey("NetPermanentLink", "0", &Settings::NetPermanentLink),
    FlagKey("SubstDefaultPermanentSCE", "1", &Settings::SubstDefaultPermanentSCE),
    FlagKey("SubstPermanentLinkSCE", "0", &Settings::SubstPermanentLinkSCE),
    FlagKey("NetDefaultPermanentSCE", "1", &Settings::NetDefaultPermanentSCE),
    FlagKey("NetPermanentLinkSCE", "0", &Settings::NetPermanentLinkSCE, Kind::BooleanText),
    StringKey("ColumnOrder", "1/2/3/4", &Settings::ColumnOrder),
    StringKey("ColumnWidth", "15/15/15/15", &Settings::ColumnWidth),
    IntKey("WindowWidth", "9120", &Settings::WindowWidth),
    FlagKey("AutostartStay", "0", &Settings::AutostartStay),
    FlagKey("PermAutostart", "0", &Settings::PermAutostart),
    FlagKey("ExplorerLabels", "1", &Settings::ExplorerLabels),
    FlagKey("PermAutostartAdmin", "0", &Settings::PermAutostartAdmin),
    StringKey("ShowHints", "11", &Settings::ShowHints, Kind::Hints),
    StringKey("LastPos", "<center>", &Settings::LastPos),
    StringKey("Language", "Deutsch", &Settings::Language),
    FlagKey("DontShowBusySplash", "0", &Settings::DontShowBusySplash),
    FlagKey("ExpertMode", "0", &Settings::ExpertMode),
};
static_assert(kMainWindowDesignWidth == 9120, "keep the WindowWidth default in step");

// The order in which a save writes the keys. "DontShowBusySplash" and
// "ExpertMode" are never written: only the user sets them, by hand.
constexpr std::string_view kWriteOrder[] = {
    "MinimizeToSystray",
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
    "Language",
};

const Key* FindKey(std::string_view name) {
    for (const Key& key : kKeys)
        if (name == key.name) return &key;
    return nullptr;
}

void Apply(const Key& key, const std::string& value, Settings& settings) {
    switch (key.kind) {
        case Kind::Flag:
            settings.*key.flag = FlagFromText(value);
            break;
        case Kind::BooleanText:
            settings.*key.flag = BooleanTextFromText(value);
            break;
        case Kind::Integer:
            settings.*key.integer = text::LeadingInteger(value);
            break;
        case Kind::Text:
            settings.*key.text = value;
            break;
        case Kind::Hints:
            settings.*key.text = PadHints(value, 2);
            break;
    }
}

std::string Render(const Key& key, const Settings& settings) {
    switch (key.kind) {
        case Kind::Flag:
        case Kind::BooleanText:
            return settings.*key.flag ? "1" : "0";
        case Kind::Integer:
            return std::to_string(settings.*key.integer);
        case Kind::Text:
        case Kind::Hints:
            return settings.*key.text;
    }
    return {};
}

}  // namespace

Settings DefaultSettings() {
    Settings settings{};
    for (const Key& key : kKeys) Apply(key, key.def, settings);
    return settings;
}

std::string SettingsSection(Program& program) {
    const StartupState& startup = program.startup;
    if (startup.GlobalProfile) return "GLOBAL";
    std::string user = startup.User;
    // Bytes below 0x80 are ASCII in every code page Windows uses as its
    // system code page, and the system's capitals for them are the ASCII
    // ones; only other characters need the system. That spares a call for
    // each of the 26 drive entries every scan reads.
    const bool ascii = std::all_of(user.begin(), user.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        for (char& c : user) c = text::UpperAscii(c);
    else
        program.os.CharUpperBuff(user);
    return "USER=" + user;
}

bool FlagFromText(const std::string& value) {
    return text::LeadingNumber(value) != 0.0;
}

bool BooleanTextFromText(const std::string& value) {
    std::string_view v = value;
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (text::EqualsNoCase(v, "True")) return true;
    if (text::EqualsNoCase(v, "False")) return false;
    // Any other word counts as false, like a flag that is not a number.
    return FlagFromText(value);
}

std::string PadHints(std::string hints, int hintCount) {
    if (hintCount > 0 && hints.size() < static_cast<std::size_t>(hintCount))
        hints.append(static_cast<std::size_t>(hintCount) - hints.size(), '1');
    return hints;
}

bool ReadSettingsFile(Program& program) {
    StartupState& startup = program.startup;
    std::string bytes;
    const int32_t rc = program.os.ReadFileStatus(startup.IniFilePath, bytes, kMaxSettingsBytes + 1);
    const bool missing = rc == oserr::kFileNotFound || rc == oserr::kPathNotFound;
    if ((rc != oserr::kSuccess && !missing) || bytes.size() > kMaxSettingsBytes) {
        startup.IniUnreadable = true;
        return false;
    }
    startup.Stored = IniText(bytes);
    startup.StoredBytes = std::move(bytes);
    // An earlier version wrote the user's section with only the ASCII letters
    // in capitals ("USER=JöRG"); the system's own case rules find it.
    // A scan looks up every letter's entries: each name is put into
    // capitals once per read, not once per lookup.
    Os& os = program.os;
    auto capitals = std::make_shared<std::map<std::string, std::string, std::less<>>>();
    const auto upper = [&os, capitals](std::string_view s) -> const std::string& {
        auto it = capitals->find(s);
        if (it == capitals->end()) {
            std::string text(s);
            os.CharUpperBuff(text);
            it = capitals->emplace(std::string(s), std::move(text)).first;
        }
        return it->second;
    };
    startup.Stored.MatchSectionsWith([upper](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        if (text::EqualsNoCase(a, b)) return true;
        const auto ascii = [](std::string_view s) {
            return std::all_of(s.begin(), s.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        };
        if (ascii(a) && ascii(b)) return false;
        return upper(a) == upper(b);
    });
    startup.StoredRead = true;
    startup.StoredFileExists = !missing;
    startup.IniUnreadable = false;
    return true;
}

bool SettingsFileChanged(Program& program) {
    std::string bytes;
    const int32_t rc =
        program.os.ReadFileStatus(program.startup.IniFilePath, bytes, kMaxSettingsBytes + 1);
    std::optional<std::string> now;
    if (rc == oserr::kSuccess && bytes.size() <= kMaxSettingsBytes)
        now = std::move(bytes);
    else if (rc != oserr::kFileNotFound && rc != oserr::kPathNotFound)
        return false;
    return now != program.drives.entriesBasis.file;
}

std::string StoredValue(const StartupState& startup, const std::string& section,
                        const std::string& key, const std::string& def, int32_t& status) {
    std::string value;
    if (!startup.StoredFileExists || !startup.Stored.Get(section, key, value))
        value = def.substr(0, def.find_last_not_of(' ') + 1);  // as the system trims it
    if (value.size() >= kIniBufferSize) value.resize(kIniBufferSize - 1);
    status = value.empty() ? kIniFailed : kIniOk;
    return value;
}

void LoadSettings(Program& program) {
    StartupState& startup = program.startup;
    startup.SettingsUnread = !ReadSettingsFile(program);
    // Only the program folder's file can make every user share section GLOBAL.
    if (startup.GlobalINI) {
        std::string flag;
        startup.GlobalProfile = startup.StoredFileExists &&
                                startup.Stored.Get("GLOBAL", "dontusepersonalprofile", flag) &&
                                text::LeadingNumber(flag) != 0.0;
    }
    const std::string section = SettingsSection(program);
    for (const Key& key : kKeys) {
        // An unreadable file gives the defaults, which SettingsUnread keeps
        // from ever being saved over the user's settings.
        std::string value = startup.SettingsUnread ? std::string(key.def)
                                                   : StoredValue(startup, section, key.name,
                                                                 key.def, startup.LastStatus);
        if (key.kind == Kind::Hints)
            program.settings.ShowHints = PadHints(value, startup.HintCount);
        else
            Apply(key, value, program.settings);
    }
}

void ApplyListLayout(Settings& settings, const ListLayout& layout) {
    settings.ColumnOrder = layout.ColumnOrder;
    settings.ColumnWidth = layout.ColumnWidth;
    settings.WindowWidth = layout.WindowWidth;
}

void SaveSettings(Program& program, const std::optional<ListLayout>& shown) {
    StartupState& startup = program.startup;
    const std::string section = SettingsSection(program);
    if (shown) ApplyListLayout(program.settings, *shown);
    // Start from the file as it is now: other sections, keys added by hand
    // and another Kelvra's changes stay.
    if (!ReadSettingsFile(program)) {
        startup.LastStatus = kIniFailed;
        return;
    }
    EntriesBasis& basis = program.drives.entriesBasis;
    // Changed by another program since the table's scan: the list must still
    // be refreshed after this save, so the basis keeps the older file.
    const bool inStep =
        startup.StoredFileExists ? basis.file && *basis.file == startup.StoredBytes : !basis.file;
    // A table scanned while no read of the file had succeeded holds no
    // stored entries; writing it would delete them all.
    const bool entries = program.drives.scanned && !startup.EntriesUnread;
    const bool unscanned = !program.drives.scanned;
    if (startup.SettingsUnread && !entries) return;
    IniText ini = startup.Stored;
    std::array<StoredEntries, kDriveRows> written;
    if (entries) written = WriteDriveEntries(program, ini);
    if (!startup.SettingsUnread) {
        for (std::string_view name : kWriteOrder) {
            const Key* key = FindKey(name);
            ini.Set(section, key->name, Render(*key, program.settings));
        }
    }
    const std::string contents = ini.Serialize();
    if (!startup.StoredFileExists || contents != startup.Stored.Serialize()) {
        // A failed replace (read-only, locked, disk full) leaves the old file
        // whole; like any failed write it only shows in LastStatus.
        const bool replaced =
            program.os.ReplaceFileContents(startup.IniFilePath, contents) == oserr::kSuccess;
        startup.LastStatus = replaced ? kIniOk : kIniFailed;
        if (replaced) {
            startup.Stored = std::move(ini);
            startup.StoredBytes = contents;
            startup.StoredFileExists = true;
            if (inStep) basis.file = contents;
        }
    } else {
        startup.LastStatus = kIniOk;
    }
    if (entries && startup.LastStatus == kIniOk) basis.letters = written;
    // The autostart entry follows the settings and the stored drives; both
    // must be known for it.
    if (!startup.SettingsUnread && (entries || unscanned)) UpdateAutostartEntry(program);
}

}  // namespace kelvra
