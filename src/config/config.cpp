#include "config/config.h"

#include <algorithm>

#include "config/elevated_restore.h"
#include "config/registration.h"
#include "language/language.h"
#include "mainwindow/main_window.h"
#include "program.h"
#include "shell/explorer_labels.h"
#include "util/text.h"

namespace kelvra {

namespace {

constexpr char kCentre[] = "<center>";

using CB = CheckBox;
using TK = TextKey;

constexpr std::array<CheckBoxInfo, kCheckBoxCount> kCheckBoxes = {{
    {CB::AllowResize, "chkAllowresize", TK::config_chkallowresize, Frame::Ulayout, false},
    {CB::Gridline, "chkGridline", TK::config_chkgridline, Frame::Ulayout, false},
    {CB::ShowLEDs, "chkShowLEDs", TK::config_chkshowleds, Frame::Ulayout, false},
    {CB::ShowButtons, "chkShowButtons", TK::config_chkshowbuttons, Frame::Ulayout, false},
    {CB::ShowDrivelabels, "chkShowDrivelabels", TK::config_chkshowdrivelabels, Frame::Ulayout,
     false},
    {CB::ShowdrivelabelA, "chkShowdrivelabelA", TK::config_chkshowdrivelabela, Frame::Ulayout,
     false},
    {CB::ShowdrivelabelB, "chkShowdrivelabelB", TK::config_chkshowdrivelabelb, Frame::Ulayout,
     false},
    {CB::ShowFilesystem, "chkShowFilesystem", TK::config_chkshowfilesystem, Frame::Ulayout, false},
    {CB::LastPos, "chkLastPos", TK::config_chklastpos, Frame::Uother, false},
    {CB::Tosystray, "chkTosystray", TK::config_chktosystray, Frame::Uother, false},
    {CB::Autostartstay, "chkAutostartstay", TK::config_chkautostartstay, Frame::Uother, false},
    {CB::Permautostart, "chkPermautostart", TK::config_chkpermautostart, Frame::Uother, false},
    {CB::PermautostartAdmin, "chkPermautostartAdmin", TK::config_chkpermautostartadmin,
     Frame::Uother, false},
    {CB::ShowHints, "chkShowHints", TK::config_chkshowhints, Frame::Uother, true},
    {CB::Substperm, "chkSubstperm", TK::config_chksubstperm, Frame::Usubst, false},
    {CB::Substpermlink, "chkSubstpermlink", TK::config_chksubstpermlink, Frame::Usubst, false},
    {CB::Netperm, "chkNetperm", TK::config_chknetperm, Frame::Unet, false},
    {CB::Netpermlink, "chkNetpermlink", TK::config_chknetpermlink, Frame::Unet, false},
    {CB::ShowWarnings, "chkShowWarnings", TK::config_chkshowwarnings, Frame::UDrivesGUI, false},
    {CB::ExplorerLabels, "chkExplorerLabels", TK::config_chkexplorerlabels, Frame::UDrivesGUI,
     false},
    {CB::SubstpermSCE, "chkSubstpermSCE", TK::config_chksubstpermsce, Frame::UsubstSCE, false},
    {CB::SubstpermlinkSCE, "chkSubstpermlinkSCE", TK::config_chksubstpermlinksce, Frame::UsubstSCE,
     false},
    {CB::NetpermSCE, "chkNetpermSCE", TK::config_chknetpermsce, Frame::UnetSCE, false},
    {CB::NetpermlinkSCE, "chkNetpermlinkSCE", TK::config_chknetpermlinksce, Frame::UnetSCE, false},
    {CB::ShowWarningsSCE, "chkShowWarningsSCE", TK::config_chkshowwarningssce, Frame::UDrivesSCE,
     false},
    {CB::Shellcontext, "chkShellcontext", TK::config_chkshellcontext, Frame::GSCE, false},
}};

constexpr std::array<FrameInfo, kFrameCount> kFrames = {{
    {Frame::Ulayout, "fraUlayout", 1, Frame::Ulayout, TK::config_fraulayout},
    {Frame::Uother, "fraUother", 1, Frame::Uother, TK::config_frauother},
    {Frame::Lang, "fraLang", 1, Frame::Lang, TK::config_tab1},
    {Frame::UDrivesGUI, "fraUDrivesGUI", 2, Frame::UDrivesGUI, TK::config_fraudrivesgui},
    {Frame::Usubst, "fraUsubst", 2, Frame::UDrivesGUI, TK::config_frausubst},
    {Frame::Unet, "fraUnet", 2, Frame::UDrivesGUI, TK::config_fraunet},
    {Frame::UDrivesSCE, "fraUDrivesSCE", 2, Frame::UDrivesSCE, TK::config_fraudrivessce},
    {Frame::UsubstSCE, "fraUsubstSCE", 2, Frame::UDrivesSCE, TK::config_frausubstsce},
    {Frame::UnetSCE, "fraUnetSCE", 2, Frame::UDrivesSCE, TK::config_fraunetsce},
    {Frame::GSCE, "fraGSCE", 3, Frame::GSCE, TK::config_fragsce},
}};

// The setting a plain check box shows; null for the boxes with rules of
// their own (LastPos, ShowHints, Shellcontext).
bool Settings::*FlagOf(CheckBox box) {
    switch (box) {
        case CB::AllowResize:
            return &Settings::AllowResize;
        case CB::Gridline:
            return &Settings::GridLines;
        case CB::ShowLEDs:
            return &Settings::ShowLEDs;
        case CB::ShowButtons:
            return &Settings::ShowButtons;
        case CB::ShowDrivelabels:
            return &Settings::ShowDrivelabels;
        case CB::ShowdrivelabelA:
            return &Settings::ShowDrivelabelA;
        case CB::ShowdrivelabelB:
            return &Settings::ShowDrivelabelB;
        case CB::ShowFilesystem:
            return &Settings::ShowFilesystem;
        case CB::Tosystray:
            return &Settings::MinimizeToSystray;
        case CB::Autostartstay:
            return &Settings::AutostartStay;
        case CB::Permautostart:
            return &Settings::PermAutostart;
        case CB::PermautostartAdmin:
            return &Settings::PermAutostartAdmin;
        case CB::Substperm:
            return &Settings::SubstDefaultPermanent;
        case CB::Substpermlink:
            return &Settings::SubstPermanentLink;
        case CB::Netperm:
            return &Settings::NetDefaultPermanent;
        case CB::Netpermlink:
            return &Settings::NetPermanentLink;
        case CB::ShowWarnings:
            return &Settings::ShowWarnings;
        case CB::ExplorerLabels:
            return &Settings::ExplorerLabels;
        case CB::SubstpermSCE:
            return &Settings::SubstDefaultPermanentSCE;
        case CB::SubstpermlinkSCE:
            return &Settings::SubstPermanentLinkSCE;
        case CB::NetpermSCE:
            return &Settings::NetDefaultPermanentSCE;
        case CB::NetpermlinkSCE:
            return &Settings::NetPermanentLinkSCE;
        case CB::ShowWarningsSCE:
            return &Settings::ShowWarningsSCE;
        case CB::LastPos:
        case CB::ShowHints:
        case CB::Shellcontext:
            break;
    }
    return nullptr;
}

bool Enabled(CheckBox box, const Settings& s, bool local) {
    switch (box) {
        case CB::ShowdrivelabelA:
        case CB::ShowdrivelabelB:
        case CB::ShowFilesystem:
            return s.ShowDrivelabels;
        case CB::Autostartstay:
        case CB::Permautostart:
        case CB::Substperm:
        case CB::SubstpermSCE:
        case CB::Shellcontext:
        // The logon restore runs whenever a permanent drive is stored, not
        // only with the autostart entry kept for good.
        case CB::PermautostartAdmin:
            return local;
        case CB::Substpermlink:
            return local && s.SubstDefaultPermanent;
        case CB::SubstpermlinkSCE:
            return local && s.SubstDefaultPermanentSCE;
        case CB::Netpermlink:
            return s.NetDefaultPermanent;
        case CB::NetpermlinkSCE:
            return s.NetDefaultPermanentSCE;
        case CB::ShowWarnings:
        case CB::ShowWarningsSCE:
            return !s.ExpertMode;
        default:
            return true;
    }
}

}  // namespace

const std::array<CheckBoxInfo, kCheckBoxCount>& CheckBoxes() {
    return kCheckBoxes;
}

const std::array<FrameInfo, kFrameCount>& Frames() {
    return kFrames;
}

int ShowHintsValue(const std::string& showHints) {
    const bool anyOn = showHints.find('1') != std::string::npos;
    const bool anyOff = showHints.find('0') != std::string::npos;
    if (anyOn && anyOff) return kGrayed;
    return anyOn ? kChecked : kUnchecked;
}

int NextThreeStateValue(int shown) {
    return shown == kChecked ? kUnchecked : kChecked;
}

CheckStates ComputeCheckStates(Program& program) {
    const Settings& s = program.settings;
    const bool local = program.startup.Local;
    CheckStates states;
    for (const CheckBoxInfo& info : kCheckBoxes) {
        CheckState& state = states[static_cast<int>(info.box)];
        state.enabled = Enabled(info.box, s, local);
        if (bool Settings::*flag = FlagOf(info.box)) state.value = s.*flag ? kChecked : kUnchecked;
    }
    states[static_cast<int>(CB::LastPos)].value = s.LastPos != kCentre ? kChecked : kUnchecked;
    states[static_cast<int>(CB::ShowHints)].value = ShowHintsValue(s.ShowHints);
    states[static_cast<int>(CB::Shellcontext)].value =
        IsContextMenuRegistered(program) ? kChecked : kUnchecked;
    return states;
}

ConfigTexts ComputeConfigTexts(Program& program) {
    const LanguageState& language = program.language;
    ConfigTexts texts;
    texts.title = L"Kelvra V" + program.os.AnsiToWide(program.startup.ApplicationVersion) + L" - " +
                  Text(language, TK::config_title);
    texts.tabs = {Text(language, TK::config_tab1), Text(language, TK::config_tab2),
                  Text(language, TK::config_tab3)};
    for (const FrameInfo& info : kFrames)
        texts.frames[static_cast<int>(info.frame)] =
            info.frame == Frame::Lang ? kLanguageFrameCaption : Text(language, info.caption);
    for (const CheckBoxInfo& info : kCheckBoxes)
        texts.boxes[static_cast<int>(info.box)] = Text(language, info.caption);
    return texts;
}

std::vector<std::string> LanguageEntries(Os& os, const std::string& programFolder) {
    std::vector<std::string> entries{std::string(kBuiltInLanguage)};
    for (std::string name : os.FindFiles(programFolder + "languages\\*.lng")) {
        // The pattern also matches by short name ("a.lngx" as "A~1.LNG").
        if (name.size() <= 4 || !text::EqualsNoCase(name.substr(name.size() - 4), ".lng")) continue;
        name.resize(name.size() - 4);
        std::string first = name.substr(0, 1);
        os.CharUpperBuff(first);
        name.replace(0, 1, first);
        if (name == kBuiltInLanguage || !IsLanguageName(name)) continue;
        entries.push_back(name);
    }
    return entries;
}

LanguageList ComputeLanguageList(Program& program) {
    LanguageList list;
    list.names = LanguageEntries(program.os, program.startup.ApplicationPath);
    const auto found = std::find(list.names.begin(), list.names.end(), program.settings.Language);
    list.selected = found == list.names.end() ? 0 : static_cast<int>(found - list.names.begin());
    list.enabled = list.names.size() >= 2;
    return list;
}

// ---------------------------------------------------------------------------
// ConfigForm

void ConfigForm::Load() {
    currentTab_ = 1;
    view_.ShowTab(currentTab_);
    initlang();
    filling_ = true;
    const LanguageList list = ComputeLanguageList(program_);
    languages_ = list.names;
    view_.ShowLanguages(list);
    filling_ = false;
    RefreshStates();
}

void ConfigForm::initlang() {
    view_.ShowTexts(ComputeConfigTexts(program_));
}

void ConfigForm::RefreshStates() {
    filling_ = true;
    view_.ShowCheckStates(ComputeCheckStates(program_));
    DisplayStatus(program_);
    filling_ = false;
}

void ConfigForm::CheckBoxClick(CheckBox box, int value) {
    if (filling_) return;
    Settings& s = program_.settings;
    const bool ticked = value == kChecked;
    // The task is created or removed first; the box shows what came of it.
    if (box == CB::PermautostartAdmin) {
        if (ticked != s.PermAutostartAdmin) SetElevatedRestore(program_, ticked);
        RefreshStates();
        return;
    }
    if (bool Settings::*flag = FlagOf(box)) s.*flag = ticked;

    switch (box) {
        case CB::AllowResize:
            program_.view->ApplyResizePolicy();
            break;
        case CB::Gridline:
            program_.view->ApplyGridLines();
            break;
        case CB::ShowLEDs:
        case CB::ShowButtons:
            program_.view->ApplyLayout();
            break;
        case CB::ShowDrivelabels:
            RefreshStates();
            Display(program_);
            break;
        case CB::ShowdrivelabelA:
        case CB::ShowdrivelabelB:
        case CB::ShowFilesystem:
            Display(program_);
            break;
        case CB::Tosystray:
            program_.view->SetTrayTimer(ticked);
            break;
        case CB::Autostartstay:
            if (!s.AutostartStay) s.PermAutostart = false;
            RefreshStates();
            break;
        case CB::Permautostart:
            if (s.PermAutostart) s.AutostartStay = true;
            RefreshStates();
            break;
        case CB::ShowHints:
            if (value != kGrayed)
                s.ShowHints.assign(
                    static_cast<std::size_t>(std::max(program_.startup.HintCount, 0)),
                    ticked ? '1' : '0');
            break;
        case CB::LastPos:
            s.LastPos = ticked ? "" : kCentre;
            break;
        case CB::Substperm:
        case CB::Netperm:
        case CB::SubstpermSCE:
        case CB::NetpermSCE:
            RefreshStates();
            break;
        case CB::Shellcontext:
            if (!program_.startup.Local) break;
            if (ticked)
                RegisterContextMenu(program_);
            else
                RemoveContextMenu(program_);
            RefreshStates();
            break;
        case CB::ExplorerLabels:
            ReconcileExplorerLabels(program_);
            break;
        case CB::PermautostartAdmin:
        case CB::Substpermlink:
        case CB::Netpermlink:
        case CB::ShowWarnings:
        case CB::SubstpermlinkSCE:
        case CB::NetpermlinkSCE:
        case CB::ShowWarningsSCE:
            break;
    }
}

void ConfigForm::LanguageClick(int index) {
    if (filling_ || index < 0 || index >= static_cast<int>(languages_.size())) return;
    program_.settings.Language = languages_[static_cast<std::size_t>(index)];
    const bool usable = LoadLanguage(program_);
    program_.view->ApplyLanguage();
    Display(program_);
    initlang();
    if (!usable) ShowLanguageNotice(program_);
}

void ConfigForm::TabClick(int tab) {
    if (filling_ || tab < 1 || tab > kTabCount) return;
    currentTab_ = tab;
    view_.ShowTab(tab);
}

void ConfigForm::NextTab(bool backwards) {
    TabClick(backwards ? (currentTab_ + kTabCount - 2) % kTabCount + 1
                       : currentTab_ % kTabCount + 1);
}

void ConfigForm::Unload() {
    SaveSettings(program_, program_.view->CaptureLayout());
}

}  // namespace kelvra
