// End-to-end tests of the real kelvractl.exe under Wine, run as a script
// runs it: beside Kelvra.exe in a scratch program folder with its settings
// file, output to pipes (or no handles at all). Each command is checked
// where it lands: the DOS-device table, the settings file, and what the
// program printed (the list as JSON is parsed, not searched). No run may
// show a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "wine/console_run.h"
#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

// Just enough JSON for the list: objects, arrays, strings with every
// escape, numbers, true, false, null. Strings are kept as UTF-8.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const {
        static const Json none;
        const auto found = fields.find(key);
        return found == fields.end() ? none : found->second;
    }
};

class JsonParser {
  public:
    explicit JsonParser(const std::string& text) : s_(text) {}
    bool Parse(Json& out) { return Value(out) && (Blank(), at_ == s_.size()); }

  private:
    void Blank() {
        while (at_ < s_.size() && s_[at_] && std::strchr(" \t\r\n", s_[at_])) ++at_;
    }
    bool Eat(char c) {
        Blank();
        if (at_ >= s_.size() || s_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool Word(const char* word) {
        const std::size_t n = std::strlen(word);
        if (s_.compare(at_, n, word) != 0) return false;
        at_ += n;
        return true;
    }
    bool Value(Json& v) {
        Blank();
        if (Eat('{')) {
            v.kind = Json::Object;
            if (Eat('}')) return true;
            do {
                std::string key;
                if (!(Blank(), Text(key)) || !Eat(':') || !Value(v.fields[key])) return false;
            } while (Eat(','));
            return Eat('}');
        }
        if (Eat('[')) {
            v.kind = Json::Array;
            if (Eat(']')) return true;
            do {
                v.items.emplace_back();
                if (!Value(v.items.back())) return false;
            } while (Eat(','));
            return Eat(']');
        }
        if (at_ < s_.size() && s_[at_] == '"') return v.kind = Json::String, Text(v.text);
        if (Word("true")) return v.kind = Json::Bool, v.boolean = true;
        if (Word("false")) return v.kind = Json::Bool, true;
        if (Word("null")) return true;
        const char* start = s_.c_str() + at_;
        char* end = nullptr;
        std::strtod(start, &end);
        at_ += static_cast<std::size_t>(end - start);
        return v.kind = Json::Number, end != start;
    }
    bool Hex4(unsigned& code) {
        if (at_ + 4 > s_.size()) return false;
        char* end = nullptr;
        const std::string digits = s_.substr(at_, 4);
        code = static_cast<unsigned>(std::strtoul(digits.c_str(), &end, 16));
        at_ += 4;
        return end == digits.c_str() + 4;
    }
    bool Text(std::string& out) {
        if (at_ >= s_.size() || s_[at_++] != '"') return false;
        while (at_ < s_.size()) {
            const char c = s_[at_++];
            if (c == '"') return true;
            // A control character must be escaped.
            if (static_cast<unsigned char>(c) < 0x20 || (c == '\\' && at_ == s_.size()))
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            static const std::map<char, char> kEscapes = {{'"', '"'},  {'\\', '\\'}, {'/', '/'},
                                                          {'b', '\b'}, {'f', '\f'},  {'n', '\n'},
                                                          {'r', '\r'}, {'t', '\t'}};
            const char e = s_[at_++];
            unsigned code = 0, low = 0;
            if (e != 'u') {
                const auto found = kEscapes.find(e);
                if (found == kEscapes.end()) return false;
                out += found->second;
            } else if (!Hex4(code)) {
                return false;
            } else if (code < 0xD800 || code >= 0xDC00) {
                out += Utf8(std::wstring(1, static_cast<wchar_t>(code)));
            } else if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return false;  // half a surrogate pair
            } else {
                out += Utf8({static_cast<wchar_t>(code), static_cast<wchar_t>(low)});
            }
        }
        return false;
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

bool ValidUtf8(const std::string& bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// Text in the system's code page, as the settings file holds it.
std::string Ansi(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    char out[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

// A subst definition of the folder: its short form behind "\??\" as a new
// drive gets it, or the folder as stored, as the start's restore defines it.
bool MappedTo(char letter, const std::string& folder) {
    wchar_t shortForm[1024] = {};
    GetShortPathNameW(Wide(folder).c_str(), shortForm, 1024);
    const std::wstring target = DosDeviceTarget(letter);
    for (const std::wstring& form : {std::wstring(shortForm), Wide(folder)})
        if (CompareStringOrdinal(target.c_str(), -1, (L"\\??\\" + form).c_str(), -1, TRUE) ==
            CSTR_EQUAL)
            return true;
    return false;
}

class Kelvractl : public ScratchProgramTest {
  protected:
    void SetUp() override {
        ScratchProgramTest::SetUp();
        ASSERT_TRUE(CopyInto(BuildFolder() + "kelvractl.exe", folder_));
        WriteSettings("");
        // A blank in the folder's name: the path must stay one argument.
        drive_ = folder_ + "Quell ordner";
        ASSERT_TRUE(CreateDirectoryA(drive_.c_str(), nullptr));
        s_ = HighestUndefinedLetter('Y');
        t_ = HighestUndefinedLetter(s_ - 1);
        ASSERT_GT(t_, 'D');
    }

    // Runs kelvractl; whatever it does, it shows no window and ends.
    ConsoleRun Ctl(const std::string& arguments, StdHandles handles = StdHandles::Pipes) {
        ConsoleRun run = RunConsole(folder_ + "kelvractl.exe", arguments, handles);
        EXPECT_TRUE(run.ended) << arguments << "\n" << run;
        EXPECT_TRUE(run.windows.empty()) << arguments << "\n" << run;
        return run;
    }
    std::string L(char letter) const { return std::string(1, letter) + ":"; }
    std::string Quoted() const { return "\"" + drive_ + "\""; }

    std::string drive_;
    char s_ = 0, t_ = 0;
};

// Done: what was done on standard output, whole lines, nothing on standard
// error.
void ExpectDone(const ConsoleRun& run, const std::string& arguments) {
    EXPECT_EQ(run.code, 0u) << arguments << "\n" << run;
    EXPECT_TRUE(run.err.empty()) << arguments << "\n" << run;
    EXPECT_TRUE(run.out.size() > 2 && run.out.compare(run.out.size() - 2, 2, "\r\n") == 0 &&
                run.out.find("\r\n\r\n") == std::string::npos)
        << arguments << "\n"
        << run;
}

TEST_F(Kelvractl, NewThenListJsonShowsTheDriveAndItsLabelAsUtf8) {
    const std::string label = "Quellen \xC3\xA4";  // "Quellen ä"
    const std::string create = "new " + std::string(1, static_cast<char>(s_ + 'a' - 'A')) + " " +
                               Quoted() + " --label \"" + label + "\"";
    ExpectDone(Ctl(create), create);
    ASSERT_TRUE(MappedTo(s_, drive_)) << Utf8(DosDeviceTarget(s_));
    EXPECT_EQ(Setting("SubstPathLabel_" + Letter(s_)), Ansi(label));

    const ConsoleRun list = Ctl("list --json");
    EXPECT_EQ(list.code, 0u) << list;
    EXPECT_TRUE(ValidUtf8(list.out)) << list;
    Json rows;
    ASSERT_TRUE(JsonParser(list.out).Parse(rows)) << list;
    ASSERT_EQ(rows.kind, Json::Array);
    std::string letters;
    const Json* row = nullptr;
    for (const Json& item : rows.items) {
        letters += item["letter"].text.substr(0, 1);
        EXPECT_NE(item["state"].text, "free") << item["letter"].text;
        if (item["letter"].text == L(s_)) row = &item;
    }
    // Used letters only, in letter order, and ours among them.
    EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end())) << letters;
    EXPECT_NE(letters.find('C'), std::string::npos) << letters;
    ASSERT_NE(row, nullptr) << list;
    const Json& r = *row;
    EXPECT_TRUE(r["managed"].boolean);
    EXPECT_TRUE(r["permanent"].boolean);  // SubstDefaultPermanent is on by default
    EXPECT_EQ(r["state"].text, "active");
    EXPECT_EQ(
        CompareStringOrdinal(Wide(r["path"].text).c_str(), -1, Wide(drive_).c_str(), -1, TRUE),
        CSTR_EQUAL)
        << r["path"].text;
    EXPECT_EQ(r["label"].text, label);
    EXPECT_EQ(r["kelvraLabel"].text, label);
    EXPECT_EQ(r["type"].kind, Json::String);
    Json all;
    EXPECT_TRUE(JsonParser(Ctl("list --ALL --json").out).Parse(all));
    EXPECT_EQ(all.items.size(), 26u);

    // On a console the label shows as typed: written there as wide text.
    const ConsoleRun shown = Ctl("list", StdHandles::Console);
    EXPECT_EQ(shown.code, 0u) << shown;
    EXPECT_NE(shown.out.find(label), std::string::npos) << shown;
}

// Each command of a drive's life, one after the other on the same drive,
// checked in the DOS-device table and the settings file after each.
TEST_F(Kelvractl, EachCommandLandsInTheDosDevicesAndTheSettingsFile) {
    const std::string S = Letter(s_), T = Letter(t_);
    const std::string label = "Quellen \xC3\xA4";
    // Shortcuts land in a desktop folder of the test's own.
    const std::string desktop = MakeScratchFolder("desktop");
    const char shellFolders[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    RegistryValueGuard desktopGuard(HKEY_CURRENT_USER, shellFolders, "Desktop");
    const std::string desktopFolder = desktop.substr(0, desktop.size() - 1);
    struct Step {
        std::string arguments;
        char mapped, unmapped;  // letters on the folder and free after it (0: none)
        std::map<std::string, std::string> entries;  // key: value, "<missing>" for none
        std::string shortcut = {};                   // a shortcut on the desktop after it
    };
    const Step steps[] = {
        {"new " + S + ": " + Quoted() + " --permanent", s_, 0, {{"SubstPath_" + S, drive_}}},
        {"move " + S + " " + T + ":",
         t_,
         s_,
         {{"SubstPath_" + S, "<missing>"}, {"SubstPath_" + T, drive_}}},
        {"label " + T + ": \"" + label + "\"", t_, 0, {{"SubstPathLabel_" + T, Ansi(label)}}},
        {"shortcut " + T + ": \"Zu den Quellen\"", t_, 0, {}, "Zu den Quellen.lnk"},
        // A temporary drive keeps its label but no path: no start restores it.
        {"PERMANENT " + T + ": Off",
         t_,
         0,
         {{"SubstPath_" + T, "<missing>"}, {"SubstPathLabel_" + T, Ansi(label)}}},
        {"permanent " + T + ": on", t_, 0, {{"SubstPath_" + T, drive_}}},
        {"deactivate " + T + ":", 0, t_, {{"SubstPath_" + T, drive_}}},
        {"restore", t_, 0, {{"SubstPath_" + T, drive_}}},
        // Permanently deactivated: stored with "!", and no start restores it.
        {"deactivate " + T + ": --permanent", 0, t_, {{"SubstPath_" + T, "!" + drive_}}},
        {"restore", 0, t_, {{"SubstPath_" + T, "!" + drive_}}},
        {"activate " + T, t_, 0, {{"SubstPath_" + T, drive_}}},
        {"label " + T + ":", t_, 0, {{"SubstPathLabel_" + T, "<missing>"}}},
        {"disconnect " + T + ":", 0, t_, {{"SubstPath_" + T, "<missing>"}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments);
        // Wine's shell writes its own desktop folder back whenever a program
        // loads it: set again before each run.
        SetRegString(HKEY_CURRENT_USER, shellFolders, "Desktop", desktopFolder);
        const ConsoleRun run = Ctl(step.arguments);
        ExpectDone(run, step.arguments);
        if (step.mapped) {
            EXPECT_TRUE(MappedTo(step.mapped, drive_)) << Utf8(DosDeviceTarget(step.mapped));
        }
        if (step.unmapped) {
            EXPECT_EQ(DosDeviceTarget(step.unmapped), L"");
        }
        for (const auto& [key, value] : step.entries) EXPECT_EQ(Setting(key), value) << key;
        if (!step.shortcut.empty()) {
            const ShellLinkInfo link = ReadShellLink(Wide(desktop + step.shortcut));
            EXPECT_TRUE(link.read) << step.shortcut << "\n" << run;
            EXPECT_EQ(Utf8(link.target).substr(0, 2), L(t_)) << Utf8(link.target);
        }
        if (HasFailure()) break;  // the next step builds on this one
    }
    RemoveTree(desktop);
}

// Exit codes and where the words go, also with nowhere to write them.
TEST_F(Kelvractl, ExitCodesAndStreams) {
    const ConsoleRun help = Ctl("--help");
    ASSERT_EQ(help.code, 0u) << help;
    ASSERT_FALSE(help.out.empty());
    const std::string usage = help.out;

    enum Says { kOut, kErr, kErrWithUsage, kNothing };
    const std::string S = Letter(s_);
    struct Case {
        std::string arguments;
        StdHandles handles;
        DWORD code;
        Says says;
        std::string out;  // exact standard output, where it matters
    };
    const Case cases[] = {
        {"--version", StdHandles::Pipes, 0, kOut, "kelvractl " KELVRA_VERSION_TEXT "\r\n"},
        // Refused by a rule: a letter in use, a drive not Kelvra's.
        {"new C: " + Quoted(), StdHandles::Pipes, 1, kErr, ""},
        {"disconnect C:", StdHandles::Pipes, 1, kErr, ""},
        // Bad usage: the reason, then the usage text.
        {"frobnicate", StdHandles::Pipes, 2, kErrWithUsage, ""},
        {"move " + S + ":", StdHandles::Pipes, 2, kErrWithUsage, ""},
        {"new " + S + ": " + Quoted() + " --permanent --temporary", StdHandles::Pipes, 2,
         kErrWithUsage, ""},
        {"label 7: x", StdHandles::Pipes, 2, kErrWithUsage, ""},
        // Started with no console and no handles: still the right exit code.
        {"--version", StdHandles::None, 0, kNothing, ""},
        {"frobnicate", StdHandles::None, 2, kNothing, ""},
        {"new C: " + Quoted(), StdHandles::None, 1, kNothing, ""},
        // On a console, the same words in the same places.
        {"--version", StdHandles::Console, 0, kOut, "kelvractl " KELVRA_VERSION_TEXT "\r\n"},
        {"frobnicate", StdHandles::Console, 2, kErrWithUsage, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments + (c.handles == StdHandles::None      ? " (detached)"
                                    : c.handles == StdHandles::Console ? " (console)"
                                                                       : ""));
        const ConsoleRun run = Ctl(c.arguments, c.handles);
        EXPECT_EQ(run.code, c.code) << run;
        switch (c.says) {
            case kOut:
                EXPECT_EQ(run.out, c.out) << run;
                EXPECT_EQ(run.err, "") << run;
                break;
            case kErr:
            case kErrWithUsage:
                EXPECT_EQ(run.out, "") << run;
                EXPECT_FALSE(run.err.empty() || StartsWith(run.err, "\r\n")) << run;
                if (c.says == kErrWithUsage)
                    EXPECT_NE(run.err.find(usage), std::string::npos) << run;
                else
                    EXPECT_EQ(run.err.find(usage), std::string::npos) << run;
                break;
            case kNothing:
                break;
        }
    }
    // Refusals and bad usage leave no drive behind.
    EXPECT_EQ(DosDeviceTarget(s_), L"");
    EXPECT_EQ(Setting("SubstPath_" + S), "<missing>");
}

// The console beside an open window: the window shows the console's label
// within its change check, and neither its rename of another drive nor its
// save at the close undoes it.
TEST_F(Kelvractl, ALabelSetBesideAnOpenWindowShowsThereAndOutlivesItsSaves) {
    const std::string S = Letter(s_), T = Letter(t_);
    for (const std::string& letter : {S, T}) {
        const std::string create = "new " + letter + ": " + Quoted() + " --permanent";
        ExpectDone(Ctl(create), create);
    }
    ASSERT_TRUE(Launch());
    ExpectDone(Ctl("label " + S + ": Konsole"), "label");
    EXPECT_TRUE(WaitForRow(s_, 0, [](const std::string& t) {
        return t.find("Konsole") != std::string::npos;
    })) << RowText(s_);

    ASSERT_TRUE(Press(t_, VK_F2));
    HWND box = WaitForDialog(Pid(), "Kelvra - Laufwerks-Bezeichnung");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(SetControlText(GetDlgItem(box, 101), L"Fenster"));
    PressDialogButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return Setting("SubstPathLabel_" + T) == "Fenster"; }));
    EXPECT_EQ(Setting("SubstPathLabel_" + S), "Konsole");
    EXPECT_TRUE(Close());
    EXPECT_EQ(Setting("SubstPathLabel_" + S), "Konsole");
    EXPECT_EQ(Setting("SubstPathLabel_" + T), "Fenster");
}

}  // namespace
}  // namespace kelvra::e2e
