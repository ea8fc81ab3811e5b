#include "cli/cli_parse.h"

#include <gtest/gtest.h>

#include "cli/cli.h"

namespace kelvra::cli {
namespace {

TEST(CliParse, SplitsLikeTheRuntime) {
    const struct {
        const wchar_t* line;
        std::vector<std::wstring> args;
    } cases[] = {
        {LR"("C:\Program Files\k.exe" list)", {LR"(C:\Program Files\k.exe)", L"list"}},
        {LR"(k.exe  a	b )", {L"k.exe", L"a", L"b"}},
        {LR"(k "a b" c\d)", {L"k", L"a b", LR"(c\d)"}},
        {LR"(k a\\\"b)", {L"k", LR"(a\"b)"}},                 // 2n+1 backslashes: n and a quote
        {LR"(k "C:\dir\\" x)", {L"k", LR"(C:\dir\)", L"x"}},  // 2n: n, the quote groups
        {LR"(k "say ""hi""")", {L"k", LR"(say "hi")"}},
        {LR"(k "" x)", {L"k", L"", L"x"}},
        {LR"(k a"b c"d)", {L"k", L"ab cd"}},
        {LR"(k)", {L"k"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

// Whole command lines (after the program name) through the splitter and the parser.
TEST(CliParse, CommandLines) {
    const std::wstring longPath = L"C:\\" + std::wstring(32000, L'a');
    const struct {
        std::wstring line;
        UsageError error;
        Verb verb = Verb::Help;
        DriveIndex letter = 0, target = 0;
        std::wstring path = {}, text = {};
        PermanenceChoice permanence = PermanenceChoice::FromSettings;
        bool flag = false;  // list: --json; permanent: on; label, shortcut, new: has a text
    } cases[] = {
        {L"list", UsageError::None, Verb::List, 0, 0, L"", L"", PermanenceChoice::FromSettings,
         false},
        {L"LIST --All --JSON", UsageError::None, Verb::List, 0, 0, L"", L"", {}, true},
        {LR"(new s: "C:\My Folder")",
         UsageError::None,
         Verb::New,
         19,
         0,
         LR"(C:\My Folder)",
         L"",
         {},
         false},
        {LR"(New --temporary S "C:\My Folder" --label="Quell Daten")", UsageError::None, Verb::New,
         19, 0, LR"(C:\My Folder)", L"Quell Daten", PermanenceChoice::Temporary, true},
        {LR"(new S: \\srv\share --label "a b" --permanent)", UsageError::None, Verb::New, 19, 0,
         LR"(\\srv\share)", L"a b", PermanenceChoice::Permanent, true},
        {LR"(new S: "\"quoted\" name")",
         UsageError::None,
         Verb::New,
         19,
         0,
         LR"("quoted" name)",
         L"",
         {},
         false},
        {L"new S: " + longPath, UsageError::None, Verb::New, 19, 0, longPath, L"", {}, false},
        {L"permanent z: OFF", UsageError::None, Verb::Permanent, 26, 0, L"", L"", {}, false},
        {L"permanent z On", UsageError::None, Verb::Permanent, 26, 0, L"", L"", {}, true},
        {L"deactivate g: --permanent", UsageError::None, Verb::Deactivate, 7, 0, L"", L"",
         PermanenceChoice::Permanent, false},
        {L"move s: T", UsageError::None, Verb::Move, 19, 20, L"", L"", {}, false},
        {L"label S:", UsageError::None, Verb::Label, 19, 0, L"", L"", {}, false},
        {L"label S: -- --not-a-switch",
         UsageError::None,
         Verb::Label,
         19,
         0,
         L"",
         L"--not-a-switch",
         {},
         true},
        {L"shortcut S: \"My S\"", UsageError::None, Verb::Shortcut, 19, 0, L"", L"My S", {}, true},
        {L"/?", UsageError::None, Verb::Help, 0, 0, L"", L"", {}, false},
        {L"new S: --help", UsageError::None, Verb::Help, 0, 0, L"", L"", {}, false},
        {L"--VERSION", UsageError::None, Verb::Version, 0, 0, L"", L"", {}, false},
        // Bad usage.
        {L"", UsageError::MissingCommand},
        {L"connect S: C:\\x", UsageError::UnknownCommand},
        {L"--json list", UsageError::UnknownCommand},
        {L"new C:\\x", UsageError::MissingArgument},  // the letter is missing
        {L"new S: \"\"", UsageError::MissingArgument},
        {L"new S: C:\\x --label", UsageError::MissingArgument},
        {L"new S: S: C:\\x", UsageError::ExtraArgument},
        {L"label S: a b", UsageError::ExtraArgument},
        {L"restore now", UsageError::ExtraArgument},
        {L"new SS: C:\\x", UsageError::BadLetter},
        {L"activate 1:", UsageError::BadLetter},
        {L"activate \u00C4:", UsageError::BadLetter},
        {L"activate " + longPath, UsageError::BadLetter},
        {L"move S: 7", UsageError::BadLetter},
        {L"move S: s:", UsageError::SameLetter},
        {L"permanent S: yes", UsageError::BadOnOff},
        {L"new S: C:\\x --permanent --temporary", UsageError::PermanentAndTemporary},
        {L"list --bogus", UsageError::UnknownSwitch},
        {L"list --json=1", UsageError::UnknownSwitch},
        {L"move S: T: --json", UsageError::SwitchNotTaken},
        {L"activate S: --permanent", UsageError::SwitchNotTaken},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 60));
        std::vector<std::wstring> args = SplitCommandLine(L"kelvractl " + c.line);
        args.erase(args.begin());
        const ParseResult parsed = ParseArguments(args);
        EXPECT_EQ(parsed.error, c.error);
        if (c.error != UsageError::None) continue;
        const Request& r = parsed.request;
        EXPECT_EQ(r.verb, c.verb);
        EXPECT_EQ(r.letter, c.letter);
        EXPECT_EQ(r.target, c.target);
        EXPECT_EQ(r.path, c.path);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.permanence, c.permanence);
        const bool flag = r.verb == Verb::List        ? r.json
                          : r.verb == Verb::Permanent ? r.on
                                                      : r.hasText;
        EXPECT_EQ(flag, c.flag);
    }
}

}  // namespace
}  // namespace kelvra::cli
