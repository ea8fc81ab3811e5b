// Runs one kelvractl command through the procedures the main window's
// buttons run, with a Ui that never shows anything: the command line is
// the user's consent, and what a box would say becomes the command's message.
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_list.h"
#include "cli/cli_parse.h"
#include "config/elevated_restore.h"
#include "drives/keywords.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "platform/inireg.h"
#include "program.h"
#include "shell/drive_changes.h"
#include "shell/normal_session.h"
#include "startup/permanent.h"
#include "startup/startup.h"
#include "util/text.h"

namespace kelvra::cli {

namespace {

class ConsoleUi : public Ui {
  public:
    // The texts of the boxes that would have been shown, in order.
    std::vector<std::wstring> messages;

    int MessageBox(const std::wstring& text, const std::wstring&, unsigned style) override {
        if ((style & 0xF) == mb::kYesNo) return mb::kIdYes;
        messages.push_back(text);
        return mb::kIdOk;
    }
    // The commands hand their texts to the procedures directly; a question
    // that still comes is answered with its offer.
    bool InputBox(const std::wstring&, const std::wstring&, const std::wstring& defaultText,
                  std::wstring& answer) override {
        answer = defaultText;
        return true;
    }
    std::wstring BrowseForFolder(const std::wstring&) override { return {}; }
    // Shows nothing; unticked, so the hint flags stay as they are.
    bool HintBox(const std::wstring&, const std::wstring&, const std::wstring&,
                 const std::wstring&) override {
        return false;
    }
    DriveIndex LetterPopup(const std::wstring&, const std::vector<DriveIndex>&,
                           const std::wstring&) override {
        return 0;
    }
    std::uintptr_t SwapOwner(std::uintptr_t) override { return 0; }
};

// The list without a window: its selection is the command's drive, and it
// keeps the rows it was shown. No answer waker, so every drive is asked at
// once and no worker thread is started.
class ConsoleView : public NullMainView {
  public:
    using NullMainView::NullMainView;
    void ShowRows(const RowViews& rows, bool) override { rows_ = rows; }
    const RowViews& Rows() const { return rows_; }

  private:
    RowViews rows_{};
};

// What a text's placeholders are filled with.
struct Fill {
    Fill(DriveIndex d = 0, std::wstring p = {}) : drive(d), path(std::move(p)) {}
    DriveIndex drive;
    std::wstring path, target, text, count;
};

class Runner {
  public:
    Runner(Os& os, Output& output)
        : program_(os, ui_), view_(program_.main.SelectedDrive), out_(output) {
        program_.view = &view_;
    }

    int Run(const std::vector<std::wstring>& args) {
        const ParseResult parsed = ParseArguments(args);
        const Request& r = parsed.request;
        if (parsed.ok() && r.verb == Verb::Version) {
            FileVersion version;
            Os& os = program_.os;
            if (!os.GetFileVersion(os.ModuleFileName(), version)) version = FileVersion{};
            out_.Out(L"kelvractl " + os.AnsiToWide(VersionText(version)));
            return kExitDone;
        }
        if (!Start()) return kExitRefused;
        if (!parsed.ok()) {
            Lines(false, UsageErrorText(parsed));
            Lines(false, Text(program_.language, TextKey::cli_usage));
            return kExitUsage;
        }
        if (r.verb == Verb::Help) {
            Lines(true, Text(program_.language, TextKey::cli_usage));
            return kExitDone;
        }
        if (r.verb == Verb::Restore) return Restore();
        if (r.verb == Verb::List) return List(r);
        if (r.verb == Verb::ElevatedRestore)
            return ApplyElevatedRestoreTask(program_, r.on) == oserr::kSuccess ? kExitDone
                                                                               : kExitRefused;
        if (r.sessionOnly) return SessionOnly(r);
        {
            QuietDriveErrors quiet(program_.os);
            RefreshAll(program_);
            NetworkCheck(program_);
        }
        program_.main.SelectedDrive = r.letter;
        const BusyScope busy(program_);
        switch (r.verb) {
            case Verb::New:
            case Verb::Change:
                return NewOrChange(r);
            case Verb::Permanent:
                return Permanent(r);
            case Verb::Deactivate:
            case Verb::Activate:
                return Activation(r);
            case Verb::Disconnect:
                return Disconnect(r);
            case Verb::Move:
                return Move(r);
            case Verb::Label:
                return Label(r);
            case Verb::Shortcut:
                return Shortcut(r);
            default:
                return kExitUsage;
        }
    }

  private:
    // --- output ---

    // A text of several lines, one call per line.
    void Lines(bool toOut, const std::wstring& text) {
        std::size_t at = 0;
        for (;;) {
            const std::size_t end = text.find(L'\n', at);
            std::wstring line = text.substr(at, end == std::wstring::npos ? end : end - at);
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            toOut ? out_.Out(line) : out_.Err(line);
            if (end == std::wstring::npos) break;
            at = end + 1;
        }
    }

    std::wstring Filled(TextKey key, const Fill& f) const {
        std::wstring s = Text(program_.language, key);
        const wchar_t letter[2] = {static_cast<wchar_t>(DriveLetter(f.drive)), 0};
        s = ReplaceAll(s, kPlaceholderDrive, letter);
        s = ReplaceAll(s, L"$TARGET$", f.target);
        s = ReplaceAll(s, L"$PATH$", f.path);
        s = ReplaceAll(s, L"$TEXT$", f.text);
        return ReplaceAll(s, L"$COUNT$", f.count);
    }

    int Done(TextKey key, const Fill& f) {
        Lines(true, Filled(key, f));
        return kExitDone;
    }
    int NothingToDo(TextKey state, DriveIndex drive) {
        Lines(true,
              Text(program_.language, TextKey::cli_nothingtodo) + L" " + Filled(state, {drive}));
        return kExitDone;
    }
    int Refuse(TextKey key, const Fill& f) {
        Lines(false, Filled(key, f));
        return kExitRefused;
    }
    // What the procedure would have shown in boxes, as the command's failure.
    bool ShowMessages() {
        for (const std::wstring& text : ui_.messages) Lines(false, text);
        const bool any = !ui_.messages.empty();
        ui_.messages.clear();
        return any;
    }
    // A procedure reported a failure, or its outcome is not what was asked.
    int Failed(DriveIndex drive) {
        if (!ShowMessages()) Lines(false, Filled(TextKey::cli_msgfailed, {drive}));
        return kExitRefused;
    }

    std::wstring UsageErrorText(const ParseResult& parsed) const {
        TextKey key = TextKey::cli_errmissing;
        switch (parsed.error) {
            case UsageError::MissingCommand:
                key = TextKey::cli_errmissingcommand;
                break;
            case UsageError::UnknownCommand:
                key = TextKey::cli_errcommand;
                break;
            case UsageError::UnknownSwitch:
                key = TextKey::cli_errswitch;
                break;
            case UsageError::SwitchNotTaken:
                key = TextKey::cli_errswitchnottaken;
                break;
            case UsageError::ExtraArgument:
                key = TextKey::cli_errextra;
                break;
            case UsageError::BadLetter:
                key = TextKey::cli_errletter;
                break;
            case UsageError::BadOnOff:
                key = TextKey::cli_erronoff;
                break;
            case UsageError::PermanentAndTemporary:
                key = TextKey::cli_errpermtemp;
                break;
            case UsageError::SameLetter:
                key = TextKey::cli_errsameletter;
                break;
            default:
                break;
        }
        Fill f;
        f.text = parsed.culprit;
        return Filled(key, f);
    }

    // --- start ---

    // The window's start without the single-instance check; its notices
    // are warnings that leave the exit code alone.
    bool Start() {
        if (!StartupFolders(program_)) {
            ShowMessages();
            return false;
        }
        const bool languageUsable = StartupSettings(program_);
        const StartupState& s = program_.startup;
        if (!s.SettingsFolderMissing.empty())
            ShowFileNotice(program_, TextKey::main_msgini_errorfolder, s.SettingsFolderMissing);
        else if (s.SettingsUnread)
            ShowFileNotice(program_, TextKey::main_msgini_errorread, s.IniFilePath);
        if (!languageUsable) ShowLanguageNotice(program_);
        for (const std::wstring& text : ui_.messages)
            Lines(false, Text(program_.language, TextKey::cli_warning) + L" " + text);
        ui_.messages.clear();
        return true;
    }

    // --- rules before running ---

    const DriveRecord& Row(DriveIndex index) const { return program_.drives.main[index]; }
    bool Free(DriveIndex index) const { return Row(index).Type == kw::kFree; }
    bool Managed(DriveIndex index) const { return IsManagedDrive(program_.drives, index); }
    bool Inactive(DriveIndex index) const {
        return text::ContainsNoCase(Row(index).Type, kw::kInactive);
    }

    // Refuses what the window does not offer for the drive, saying why: a
    // free letter, a drive not Kelvra's, or a state the command does not fit.
    // managedOnly: the command works on subst and network drives alone.
    int Refusal(Command command, DriveIndex index, bool managedOnly = true) {
        if (Free(index)) return Refuse(TextKey::cli_msgfree, {index});
        if (managedOnly && !Managed(index)) return Refuse(TextKey::cli_msgnotmanaged, {index});
        if (!CommandAllowedNow(program_, command, index))
            return Refuse(TextKey::cli_msgnotallowed, {index});
        return kExitDone;
    }

    // The path as typed made absolute, in the code page, without a closing
    // backslash (a drive root keeps its own); empty after saying why not.
    std::string Resolve(const std::wstring& typed) {
        Os& os = program_.os;
        std::string path;
        if (!ToCodePage(program_, typed, path)) return {};
        if (!IsSharePath(path)) {
            std::string full;
            if (!os.GetFullPathName(path, full)) {
                // The system takes no path that long in the code page.
                if (PathTooLongForSubst(os, path))
                    ShowError(program_, TextKey::main_msgadddrive_errorlong);
                else
                    Refuse(TextKey::cli_msgnofolder, Fill{0, typed});
                return {};
            }
            path = full;
        }
        while (path.size() > 3 && path.back() == '\\') path.pop_back();
        return path;
    }

    // --- the commands ---

    int List(const Request& r) {
        DisplayRefresh(program_);
        if (r.json)
            Lines(true, ListJson(program_, view_.Rows(), r.all));
        else
            for (const std::wstring& line : ListText(program_, view_.Rows(), r.all)) out_.Out(line);
        return kExitDone;
    }

    int NewOrChange(const Request& r) {
        const DriveIndex index = r.letter;
        if (r.verb == Verb::New) {
            if (!Free(index)) return Refuse(TextKey::cli_msgtaken, {index});
            if (!CommandAllowedNow(program_, Command::New, index))
                return Refuse(TextKey::cli_msgnotallowed, {index});
        } else if (const int refused = Refusal(Command::New, index)) {
            return refused;
        }
        const std::string path = Resolve(r.path);
        if (path.empty()) {
            ShowMessages();
            return kExitRefused;
        }
        Os& os = program_.os;
        const Fill shown{index, os.AnsiToWide(path)};
        // The folder chooser offers only folders that are there; a typed
        // path may name none. A path too long is the procedure's to refuse.
        if (!IsSharePath(path) && !PathTooLongForSubst(os, path) && !DirExists(os, path))
            return Refuse(TextKey::cli_msgnofolder, shown);
        const Permanence permanence =
            r.permanence == PermanenceChoice::FromSettings
                ? Permanence::FromSettings
                : ExplicitPermanence(r.permanence == PermanenceChoice::Permanent);
        // Only a permanent drive keeps an own label: refused before the
        // drive is made, not after.
        if (r.verb == Verb::New && r.hasText && !WillBePermanent(path, r.permanence))
            return Refuse(TextKey::cli_msglabeltemporary, {index});
        // Nor is a drive made whose label the code page cannot hold.
        std::string label;
        if (r.verb == Verb::New && r.hasText && !ToCodePage(program_, r.text, label)) {
            ShowMessages();
            return kExitRefused;
        }
        const bool done = NewOrChangeDrive(program_, index, path, permanence);
        if (!done || !ui_.messages.empty() || Free(index) || Inactive(index)) return Failed(index);
        Lines(true,
              Filled(r.verb == Verb::New ? TextKey::cli_donenew : TextKey::cli_donechange, shown));
        if (r.verb == Verb::New && r.hasText) return SetLabel(index, r.text);
        return kExitDone;
    }

    // Whether a new drive on the path will be permanent: as ConnectDrive decides.
    bool WillBePermanent(const std::string& path, PermanenceChoice choice) const {
        const Settings& settings = program_.settings;
        const bool share = IsSharePath(path);
        const bool permanent =
            choice == PermanenceChoice::FromSettings
                ? (share ? settings.NetDefaultPermanent : settings.SubstDefaultPermanent)
                : choice == PermanenceChoice::Permanent;
        return permanent && (share || program_.startup.Local);
    }

    int Permanent(const Request& r) {
        const DriveIndex index = r.letter;
        const TextKey state = r.on ? TextKey::cli_statepermanent : TextKey::cli_statetemporary;
        if (Managed(index) && (Row(index).Permanent == kw::kYes) == r.on)
            return NothingToDo(state, index);
        if (const int refused = Refusal(Command::Fix, index)) return refused;
        ToggleDrivePermanence(program_, index);
        if (!ui_.messages.empty() || (Row(index).Permanent == kw::kYes) != r.on)
            return Failed(index);
        return Done(state, {index});
    }

    int Activation(const Request& r) {
        const DriveIndex index = r.letter;
        const bool activate = r.verb == Verb::Activate;
        const bool forGood = r.permanence == PermanenceChoice::Permanent;
        const TextKey state = activate  ? TextKey::cli_stateactive
                              : forGood ? TextKey::cli_statedeactivatedperm
                                        : TextKey::cli_statedeactivated;
        auto reached = [&] {
            if (activate) return !Inactive(index);
            return Inactive(index) && (!forGood || Row(index).State == kw::kDisabled);
        };
        if (Managed(index) && reached()) return NothingToDo(state, index);
        if (const int refused =
                Refusal(forGood ? Command::DeactivatePerm : Command::Deactivate, index))
            return refused;
        if (forGood)
            DeactivateDrivePermanently(program_, index);
        else
            ToggleDriveActivation(program_, index);
        if (!ui_.messages.empty() || !reached()) return Failed(index);
        return Done(state, {index});
    }

    int Disconnect(const Request& r) {
        const DriveIndex index = r.letter;
        if (const int refused = Refusal(Command::Kill, index)) return refused;
        const bool removed = DisconnectDrive(program_, index);
        DisplayRefresh(program_);
        if (!removed || !ui_.messages.empty() || Managed(index)) return Failed(index);
        return Done(TextKey::cli_donedisconnect, {index});
    }

    int Move(const Request& r) {
        if (const int refused = Refusal(Command::Move, r.letter)) return refused;
        if (!Free(r.target)) return Refuse(TextKey::cli_msgtaken, {r.target});
        const bool moved = MoveDrive(program_, r.letter, r.target);
        if (!moved || !ui_.messages.empty() || !Managed(r.target)) return Failed(r.letter);
        Fill f{r.letter};
        f.target = std::wstring(1, static_cast<wchar_t>(DriveLetter(r.target)));
        return Done(TextKey::cli_donemove, f);
    }

    int SetLabel(DriveIndex index, const std::wstring& text) {
        if (const int refused = Refusal(Command::Rename, index)) return refused;
        const bool remove = text.empty() || text == L"*";
        if (!remove && RemoveInvalidChars(text).empty())
            return Refuse(TextKey::cli_msglabelinvalid, {index});
        if (!SetDriveLabel(program_, index, text) || !ui_.messages.empty()) return Failed(index);
        if (remove) return Done(TextKey::cli_donelabelremoved, {index});
        Fill f{index};
        f.text = program_.os.AnsiToWide(Row(index).Label);
        return Done(TextKey::cli_donelabel, f);
    }

    int Label(const Request& r) { return SetLabel(r.letter, r.hasText ? r.text : L""); }

    int Shortcut(const Request& r) {
        const DriveIndex index = r.letter;
        if (const int refused = Refusal(Command::Link, index, false)) return refused;
        const std::wstring name = r.hasText ? r.text : OfferedShortcutName(program_, index);
        if (!CreateNamedShortcut(program_, index, name)) {
            if (!ShowMessages()) Refuse(TextKey::main_msglink_errorcreate, {index});
            return kExitRefused;
        }
        Fill f{index};
        f.text = RemoveInvalidChars(name);
        return Done(TextKey::cli_doneshortcut, f);
    }

    // --- this logon session only ---

    // Makes or removes the mapping in this session, without the settings
    // file: the elevated window that started this run has stored the change.
    // A making replaces a folder or network mapping on the letter, as the
    // stored entry now says what the letter is.
    int SessionOnly(const Request& r) {
        const SessionOnlyScope scope(program_);
        const DriveIndex index = r.letter;
        if (r.verb == Verb::Disconnect) {
            if (!SubstOrNetworkNow(program_.os, index))
                return NothingToDo(TextKey::cli_msgfree, index);
            if (!RemoveHere(index)) return Failed(index);
            return Done(TextKey::cli_donedisconnect, {index});
        }
        const std::string path = Resolve(r.path);
        if (path.empty()) {
            ShowMessages();
            return kExitRefused;
        }
        if (LetterInUseNow(program_.os, index)) {
            if (!SubstOrNetworkNow(program_.os, index))
                return Refuse(TextKey::cli_msgtaken, {index});
            if (!RemoveHere(index)) return Failed(index);
        }
        const bool made = IsSharePath(path) ? ConnectShareDrive(program_, index, path, false)
                                            : MapFolderDrive(program_, index, path);
        if (!made) return Failed(index);
        return Done(TextKey::cli_donenew, Fill{index, program_.os.AnsiToWide(path)});
    }

    bool RemoveHere(DriveIndex index) {
        Os& os = program_.os;
        if (IsSubstDevice(os, Device(index))) return UnmapFolderDrive(program_, index);
        if (os.WNetCancelConnectionHere(Device(index), true) != oserr::kSuccess) return false;
        AfterDriveChange(program_, index, DriveChange::Removed);
        return true;
    }

    int Restore() {
        const RestoreSummary summary = RestorePermanentDrives(program_, 0);
        Fill f;
        f.count = std::to_wstring(summary.restored);
        Lines(true, Filled(TextKey::cli_donerestore, f));
        for (const auto& [index, path] : summary.failed)
            Refuse(TextKey::cli_msgrestorefailed, Fill{index, program_.os.AnsiToWide(path)});
        return summary.failed.empty() ? kExitDone : kExitRefused;
    }

    ConsoleUi ui_;
    Program program_;
    ConsoleView view_;
    Output& out_;
};

}  // namespace

int RunCli(Os& os, const std::vector<std::wstring>& args, Output& output) {
    Runner runner(os, output);
    return runner.Run(args);
}

}  // namespace kelvra::cli
