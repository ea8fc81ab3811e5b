// The drive list and the status bar: what each of the 26 rows shows, in which
// colours and with which LED, computed from the main drive table.
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "drives/keywords.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "mainwindow/main_window.h"
#include "mainwindow/row_facts.h"
#include "platform/error_mode.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

ViewSlot::ViewSlot(const DriveIndex& selected) : none_(std::make_unique<NullMainView>(selected)) {}
ViewSlot::~ViewSlot() = default;

bool RowView::operator==(const RowView& o) const {
    for (int c = 0; c < 4; ++c)
        if (texts[c] != o.texts[c] || colours[c] != o.colours[c]) return false;
    return led == o.led;
}

const DriveRecord& RowOf(const Program& program, DriveIndex index) {
    const bool inTable = index >= 0 && index < kDriveRows;
    return program.drives.main[inTable ? index : 0];
}

bool LetterConflict(Program& program, DriveIndex index) {
    if (index < 1 || index > kDriveCount) return false;
    if (!IsSubst(program.drives, index) && !IsRemote(program.drives, index)) return false;
    return LetterTakenByOtherDevice(program, Device(index));
}

namespace {

// Keywords are ASCII; anything else a row may hold is shown byte for byte.
std::wstring Widen(const std::string& s) {
    std::wstring w;
    w.reserve(s.size());
    for (char c : s) w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return w;
}

void ReplaceAll(std::wstring& s, const std::wstring& from, const std::wstring& to) {
    for (std::size_t pos = s.find(from); pos != std::wstring::npos; pos = s.find(from, pos)) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
}

// A volume name as the list shows it: empty when the system left the buffer
// empty, else without NULs and surrounding blanks.
std::string CleanVolumeName(const std::string& name) {
    if (name.empty() || name[0] == '\0') return {};
    std::string s = text::RemoveNuls(name);
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool QueryVolume(Os& os, const std::string& drive, std::string& label, std::string& fileSystem) {
    if (drive.empty()) return false;
    return os.GetVolumeInformation(std::string(1, drive[0]) + ":\\", label, fileSystem);
}

bool StallingType(const std::string& type) {
    return text::ContainsNoCase(type, kw::kRemote) || text::ContainsNoCase(type, kw::kRemovable) ||
           text::ContainsNoCase(type, kw::kCdrom);
}

// Drives whose queries can wait for many seconds: network drives (also
// remembered ones, which Windows tries to reconnect), removable and optical
// drives. A subst row counts as its folder does, whether the letter is
// active or not: it stalls when the folder is a share or lies on such a
// drive, since its label and its long path name are asked of that drive.
// Fixed drives, RAM disks and free letters answer at once and stay on the
// window thread, which keeps the list whole in one pass for them.
bool CanStall(const Program& program, DriveIndex index) {
    const DriveRecord& row = RowOf(program, index);
    if (StallingType(row.Type)) return true;
    if (!IsSubst(program.drives, index)) return false;
    if (IsSharePath(row.Path)) return true;
    const DriveIndex on = row.Path.empty() ? 0 : DriveIndexOf(row.Path[0]);
    return on != 0 && on != index && StallingType(RowOf(program, on).Type);
}

// Where the volume and path facts of a row being built come from: asked at
// once, or, for a drive that can stall while a view can be woken, the
// worker's answers of the current scan. Such a row collects what it needs,
// and what is not in hand is asked after the row is built.
class RowSource {
  public:
    RowSource(Program& program, DriveIndex index, const std::function<void()>& wake)
        : program_(program),
          index_(index),
          wake_(wake),
          deferred_(wake && CanStall(program, index)),
          answer_(program.answers.rows[index]),
          current_(answer_.scan == program.drives.scans) {}

    std::string Label() {
        if (!deferred_) return VolumeLabel(program_.os, Device(index_));
        question_.volume = true;
        return Answered() && answer_.volume ? CleanVolumeName(answer_.label) : std::string();
    }
    std::string FileSystem() {
        if (!deferred_) return FileSystemName(program_.os, Device(index_));
        question_.volume = true;
        return Answered() && answer_.volume ? CleanVolumeName(answer_.fileSystem) : std::string();
    }
    std::string LongPath(const std::string& path) {
        if (!deferred_) return LongPathName(program_.os, path);
        question_.path = path;
        return Answered() && answer_.path == path ? answer_.longPath : std::string();
    }

    // Asks what the row needed unless this scan asked it already: at most
    // one question per row and scan, whatever became of it.
    void AskMissing() {
        if (!deferred_ || (!question_.volume && question_.path.empty())) return;
        const bool asked = current_ && answer_.state != RowAnswer::State::None &&
                           (!question_.volume || answer_.volume) &&
                           (question_.path.empty() || question_.path == answer_.path);
        if (asked) return;
        RowAnswer next;
        if (Answered() && answer_.volume == question_.volume && answer_.path == question_.path) {
            next = std::move(answer_);
            next.stale = true;
        }
        answer_ = std::move(next);
        answer_.state = RowAnswer::State::Asked;
        answer_.scan = program_.drives.scans;
        answer_.volume = question_.volume;
        answer_.path = question_.path;
        answer_.drive = DriveNow();
        question_.index = index_;
        question_.generation = answer_.scan;
        question_.askedAt = program_.answers.queries.Now();
        program_.answers.queries.Ask(question_, wake_);
    }

  private:
    // This scan's answer, or the last one to the same question about the
    // same drive while this scan's is on its way.
    bool Answered() const {
        if (current_ && answer_.state == RowAnswer::State::Answered) return true;
        return Known() && answer_.drive == DriveNow();
    }
    bool Known() const {
        return answer_.state == RowAnswer::State::Answered ||
               (answer_.state == RowAnswer::State::Asked && answer_.stale);
    }
    std::string DriveNow() const {
        const DriveRecord& row = RowOf(program_, index_);
        return row.Type + '\n' + row.Path;
    }

    Program& program_;
    DriveIndex index_;
    const std::function<void()>& wake_;
    bool deferred_;
    RowAnswer& answer_;
    bool current_;
    DriveQuestion question_;
};

// A free letter has no volume to ask about: the query could only fail.
std::string LabelTextOf(Program& program, DriveIndex index, bool conflict, RowSource& source) {
    const DriveRecord& row = RowOf(program, index);
    std::string label;
    if (!row.Label.empty() && !conflict)
        label = row.Label;
    else if (row.Type != kw::kFree)
        label = source.Label();
    return label.empty() ? std::string() : " " + label;
}

std::string FileSystemTextOf(Program& program, DriveIndex index, RowSource& source) {
    const DriveRecord& row = RowOf(program, index);
    if (row.Type == kw::kFree) return {};
    // Network drives are not asked on Windows 9x.
    if (IsRemote(program.drives, index) && program.startup.IsWin9x) return {};
    const std::string name = source.FileSystem();
    return name.empty() ? std::string() : " [" + name + "]";
}

std::string LabelPart(Program& program, DriveIndex index, bool conflict, RowSource& source) {
    const Settings& s = program.settings;
    if (!s.ShowDrivelabels) return {};
    // A and B are mostly floppy drives, asked only on their own settings.
    if (index == 1 && !s.ShowDrivelabelA) return {};
    if (index == 2 && !s.ShowDrivelabelB) return {};
    std::string part = index > 2 ? " " : "";
    part += LabelTextOf(program, index, conflict, source);
    if (s.ShowFilesystem) part += FileSystemTextOf(program, index, source);
    return part;
}

// The path column: the long form of the path, or with device names on, what
// the letter stands for in the DOS-device table.
std::string PathText(Program& program, DriveIndex index, bool conflict, RowSource& source) {
    const DriveRecord& row = RowOf(program, index);
    Os& os = program.os;
    const bool free = row.Type == kw::kFree;
    const bool subst = IsSubst(program.drives, index);
    const bool remote = IsRemote(program.drives, index);
    if (program.startup.IsNT && !free) {
        const int mode = program.settings.ShowDeviceNames;
        const bool managed = (subst || remote) && !conflict;
        if ((mode == 1 && !managed) || mode == 2)
            return text::RemoveNuls(DosDeviceAnswer(os, Device(index)));
    }
    if (conflict || row.Path.empty()) return {};
    // A share name has no short form, and asking an unreachable server for
    // the long one would stall the list.
    if (remote) return row.Path;
    std::string path = source.LongPath(row.Path);
    return path.empty() ? row.Path : path;
}

struct ShownRow {
    RowView view;
    ListRecord list;
};

ShownRow BuildRow(Program& program, DriveIndex index, const std::function<void()>& wake) {
    const DriveRecord& row = RowOf(program, index);
    const LanguageState& language = program.language;
    Os& os = program.os;
    const bool conflict = LetterConflict(program, index);
    const bool free = row.Type == kw::kFree;
    const bool subst = IsSubst(program.drives, index);
    const bool remote = IsRemote(program.drives, index);

    ShownRow shown;
    ListRecord& list = shown.list;
    RowView& view = shown.view;

    RowSource source(program, index, wake);
    list.Drive = row.Drive + LabelPart(program, index, conflict, source);
    // With a conflict the type column says what occupies the letter now.
    const std::string type = conflict ? DriveTypeKeyword(os, Device(index) + "\\") : row.Type;
    view.texts[2] = TypeText(language, type);
    list.Path = PathText(program, index, conflict, source);
    source.AskMissing();

    if (!conflict) {
        if (row.State == kw::kDisabled)
            view.texts[1] = Text(language, TextKey::main_listpermdeactivated);
        else if (row.Permanent == kw::kYes)
            view.texts[1] = Text(language, TextKey::main_listpermactivated);
    }
    view.texts[0] = os.AnsiToWide(list.Drive);
    view.texts[3] = os.AnsiToWide(list.Path);
    list.Permanent = os.WideToAnsi(view.texts[1]);
    list.Type = os.WideToAnsi(view.texts[2]);

    const bool unmanaged =
        IsVirtualMachineShare(row) || (!free && row.Path.empty() && !subst && !remote) || conflict;
    auto paint = [&view](uint32_t colour) {
        for (int c = 1; c < 4; ++c) view.colours[c] = colour;
    };
    if (unmanaged) {
        paint(colour::kRed);
        view.led = conflict ? Led::Blue : Led::Cyan;
    } else if (!free || !row.Path.empty()) {
        const bool inactive = text::ContainsNoCase(row.Type, kw::kInactive);
        paint(inactive ? colour::kGrey : colour::kBlack);
        view.led = inactive ? Led::Red : Led::Green;
    } else {
        view.colours[2] = colour::kGreen;
        view.led = Led::Grey;
    }
    view.colours[0] = !row.Label.empty() && !conflict ? colour::kBlue : colour::kBlack;

    // During a move only the possible targets and the drive being moved stand out.
    const MainState& main = program.main;
    if (main.MoveMode && !free && index != main.SelectedDrive)
        for (uint32_t& c : view.colours) c = colour::kLightGrey;
    return shown;
}

}  // namespace

std::wstring TypeText(const LanguageState& language, const std::string& keyword) {
    // Longer keywords go before the shorter ones they contain; the tokens
    // cannot occur in language texts, whose loader strips their brackets.
    static const std::pair<const char*, const wchar_t*> kTokens[] = {
        {"FREE", L"<!@01@!>"},
        {"REMOVABLE", L"<!@02@!>"},
        {"FIXED", L"<!@03@!>"},
        {"REMOTE (INACTIVE)", L"<!@04@!>"},
        {"REMOTEVPC", L"<!@05@!>"},
        {"REMOTEVBOX", L"<!@12@!>"},
        {"REMOTE", L"<!@06@!>"},
        {"CDROM", L"<!@07@!>"},
        {"RAMDISK", L"<!@08@!>"},
        {"UNKNOWN", L"<!@09@!>"},
        {"SUBST (INACTIVE)", L"<!@10@!>"},
        {"SUBST", L"<!@11@!>"},
    };
    std::wstring s = Widen(keyword);
    for (const auto& [word, token] : kTokens) ReplaceAll(s, Widen(word), token);

    auto text = [&language](TextKey key) { return Text(language, key); };
    const std::wstring inactive = L" (" + text(TextKey::main_listdriveinactive) + L")";
    const std::pair<const wchar_t*, std::wstring> kTexts[] = {
        {L"<!@01@!>", text(TextKey::main_listdrivefree)},
        {L"<!@02@!>", text(TextKey::main_listdriveremovable)},
        {L"<!@03@!>", text(TextKey::main_listdrivefixed)},
        {L"<!@04@!>", text(TextKey::main_listdriveremote) + inactive},
        {L"<!@05@!>", text(TextKey::main_listdriveremotevpc)},
        {L"<!@12@!>", text(TextKey::main_listdriveremotevbox)},
        {L"<!@06@!>", text(TextKey::main_listdriveremote)},
        {L"<!@07@!>", text(TextKey::main_listdrivecdrom)},
        {L"<!@08@!>", text(TextKey::main_listdriveramdisk)},
        {L"<!@09@!>", text(TextKey::main_listdriveunknown)},
        {L"<!@10@!>", text(TextKey::main_listdrivesubst) + inactive},
        {L"<!@11@!>", text(TextKey::main_listdrivesubst)},
    };
    for (const auto& [token, shown] : kTexts) ReplaceAll(s, token, shown);
    return s;
}

std::string VolumeLabel(Os& os, const std::string& drive) {
    std::string label, fileSystem;
    if (!QueryVolume(os, drive, label, fileSystem)) return {};
    return CleanVolumeName(label);
}

std::string FileSystemName(Os& os, const std::string& drive) {
    std::string label, fileSystem;
    if (!QueryVolume(os, drive, label, fileSystem)) return {};
    return CleanVolumeName(fileSystem);
}

RowView ComputeRow(Program& program, DriveIndex index) {
    QuietDriveErrors quiet(program.os);
    return BuildRow(program, index, {}).view;
}

std::wstring MainWindowTitle(Program& program) {
    // "Kelvra V" first: the single-instance search looks for it.
    std::wstring title = L"Kelvra V" + program.os.AnsiToWide(program.startup.ApplicationVersion);
    if (program.startup.Elevated) title += L" " + Text(program.language, TextKey::main_titleadmin);
    return title;
}

StatusView ComputeStatus(Program& program) {
    const LanguageState& language = program.language;
    const StartupState& startup = program.startup;
    auto text = [&language](TextKey key) { return Text(language, key); };
    auto panel = [](const std::wstring& caption, const std::wstring& value) {
        return caption + L" " + value + L" ";
    };
    StatusView status;
    status.panels[0] = panel(text(TextKey::main_stbuser), program.os.AnsiToWide(startup.User));
    status.panels[1] =
        panel(text(TextKey::main_stbini),
              text(startup.GlobalINI ? TextKey::main_stbiniglobal : TextKey::main_stbiniuser));
    const bool autostart =
        HasActivePermanentSubst(program.drives) || program.settings.PermAutostart;
    status.panels[2] =
        panel(text(TextKey::main_stbautostart),
              text(autostart ? TextKey::main_stbautostartyes : TextKey::main_stbautostartno));
    status.panels[3] = panel(text(TextKey::main_stbfunctional),
                             text(startup.Local ? TextKey::main_stbfunctionalcomplete
                                                : TextKey::main_stbfunctionallimited));
    // Stays while the settings file cannot be read: until then nothing is saved.
    // Then a normal session not reached, then the elevation.
    TextKey state = startup.Elevated ? TextKey::main_stbreadyadmin : TextKey::main_stbready;
    if (program.main.MirrorResult == LaunchResult::NoShell) state = TextKey::main_stbnoshell;
    if (program.main.MirrorResult == LaunchResult::Failed) state = TextKey::main_stbmirrorfailed;
    if (startup.IniUnreadable) state = TextKey::main_stbininotread;
    status.panels[4] = text(state);
    // Any other mode leaves the caption as it is: pathCaption stays empty.
    const std::wstring& path = text(TextKey::main_columnpath);
    switch (program.settings.ShowDeviceNames) {
        case 0:
            status.pathCaption = path;
            break;
        case 1:
            status.pathCaption = path + L" (2)";
            break;
        case 2:
            status.pathCaption = path + L" (3)";
            break;
        default:
            break;
    }
    return status;
}

void Display(Program& program) {
    RowViews& rows = program.answers.shown;
    {
        QuietDriveErrors quiet(program.os);
        const std::function<void()> wake = program.view->AnswerWaker();
        program.drives.list[0] = ListRecord{};
        for (DriveIndex i = 1; i <= kDriveCount; ++i) {
            ShownRow shown = BuildRow(program, i, wake);
            rows[i] = std::move(shown.view);
            program.drives.list[i] = std::move(shown.list);
        }
    }
    program.view->ShowRows(rows, !program.settings.AllowResize);
    UpdateCommands(program);
    DisplayStatus(program);
}

void ShowDriveAnswers(Program& program) {
    RowAnswers& answers = program.answers;
    std::array<bool, kDriveRows> changed{};
    bool any = false;
    for (DriveAnswer& answer : answers.queries.TakeAnswers()) {
        const DriveQuestion& question = answer.question;
        if (!ValidDriveIndex(question.index)) continue;
        RowAnswer& row = answers.rows[question.index];
        // Only the question the row holds now is answered: an older scan's,
        // or one the row has replaced, would overwrite what a newer
        // refresh drew.
        if (row.state != RowAnswer::State::Asked || question.generation != row.scan ||
            row.scan != program.drives.scans || question.volume != row.volume ||
            question.path != row.path)
            continue;
        if (answer.answeredAt - question.askedAt > kAnswerGiveUp) {
            // The last answer shown meanwhile is not this drive's any more.
            row.state = RowAnswer::State::GivenUp;
            if (row.stale) changed[question.index] = any = true;
            continue;
        }
        row.state = RowAnswer::State::Answered;
        row.volumeFound = answer.volumeFound;
        row.label = std::move(answer.label);
        row.fileSystem = std::move(answer.fileSystem);
        row.longPath = std::move(answer.longPath);
        changed[question.index] = any = true;
    }
    if (!any) return;
    {
        QuietDriveErrors quiet(program.os);
        const std::function<void()> wake = program.view->AnswerWaker();
        for (DriveIndex i = 1; i <= kDriveCount; ++i) {
            if (!changed[i]) continue;
            ShownRow shown = BuildRow(program, i, wake);
            answers.shown[i] = std::move(shown.view);
            program.drives.list[i] = std::move(shown.list);
        }
    }
    program.view->ShowRows(answers.shown, !program.settings.AllowResize);
}

void DisplayStatus(Program& program) {
    program.view->ShowStatus(ComputeStatus(program));
}

void DisplayRefresh(Program& program) {
    program.view->ShowBusy(BusyMode::On);
    {
        QuietDriveErrors quiet(program.os);
        RefreshAll(program);
        // The poll compares against what the list now shows, so a change made
        // right after this scan is still noticed, and this one is not again.
        NetworkCheck(program);
    }
    Display(program);
    program.view->ShowBusy(BusyMode::Off);
}

void SwitchDeviceNames(Program& program) {
    if (!program.startup.IsNT) return;
    const BusyScope busy(program);
    int& mode = program.settings.ShowDeviceNames;
    // A mode outside the cycle, edited into the settings file, starts it over.
    mode = mode >= 0 && mode < 2 ? mode + 1 : 0;
    Display(program);
}

}  // namespace kelvra
