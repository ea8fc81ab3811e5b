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

// The arguments of a command line (after the program name), split as the runtime does.
std::vector<std::wstring> Arguments(const std::wstring& line) {
    std::vector<std::wstring> args = SplitCommandLine(L"kelvractl " + line);
    args.erase(args.begin());
    return args;
}

const std::wstring kLongPath = L"C:\\" + std::wstring(32000, L'a');

TEST(CliParse, GoodCommandLines) {
    using P = PermanenceChoice;
    const struct {
        std::wstring line;
        Verb verb;
        DriveIndex letter = 0, target = 0;
        bool flag = false;  // list: --json; permanent: on; label, shortcut, new: has a text
        std::wstring path = {}, text = {};
        PermanenceChoice permanence = P::FromSettings;
    } cases[] = {
        {L"list", Verb::List},
        {L"LIST --All --JSON", Verb::List, 0, 0, true},
        {LR"(new s: "C:\My Folder")", Verb::New, 19, 0, false, LR"(C:\My Folder)"},
        {LR"(New --temporary S "C:\My Folder" --label="Quell Daten")", Verb::New, 19, 0, true,
         LR"(C:\My Folder)", L"Quell Daten", P::Temporary},
        {LR"(new S: \\srv\share --label "a b" --permanent)", Verb::New, 19, 0, true,
         LR"(\\srv\share)", L"a b", P::Permanent},
        {LR"(new S: "\"quoted\" name")", Verb::New, 19, 0, false, LR"("quoted" name)"},
        {L"new S: " + kLongPath, Verb::New, 19, 0, false, kLongPath},
        {L"permanent z: OFF", Verb::Permanent, 26},
        {L"permanent z On", Verb::Permanent, 26, 0, true},
        {L"deactivate g: --permanent", Verb::Deactivate, 7, 0, false, L"", L"", P::Permanent},
        {L"move s: T", Verb::Move, 19, 20},
        {L"label S:", Verb::Label, 19},
        {L"label S: -- --not-a-switch", Verb::Label, 19, 0, true, L"", L"--not-a-switch"},
        {L"shortcut S: \"My S\"", Verb::Shortcut, 19, 0, true, L"", L"My S"},
        {L"/?", Verb::Help},
        {L"new S: --help", Verb::Help},
        {L"--VERSION", Verb::Version},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 60));
        const ParseResult parsed = ParseArguments(Arguments(c.line));
        ASSERT_TRUE(parsed.ok());
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

TEST(CliParse, BadUsage) {
    const struct {
        std::wstring line;
        UsageError error;
        std::wstring culprit = {};
    } cases[] = {
        {L"", UsageError::MissingCommand},
        {L"connect S: C:\\x", UsageError::UnknownCommand, L"connect"},
        {L"--json list", UsageError::UnknownCommand, L"--json"},
        {L"new C:\\x", UsageError::MissingArgument},  // the letter is missing
        {L"new S: \"\"", UsageError::MissingArgument},
        {L"new S: C:\\x --label", UsageError::MissingArgument, L"--label"},
        {L"new S: S: C:\\x", UsageError::ExtraArgument, L"C:\\x"},
        {L"label S: a b", UsageError::ExtraArgument, L"b"},
        {L"restore now", UsageError::ExtraArgument, L"now"},
        {L"new SS: C:\\x", UsageError::BadLetter, L"SS:"},
        {L"activate 1:", UsageError::BadLetter, L"1:"},
        {L"activate \u00C4:", UsageError::BadLetter, L"\u00C4:"},
        {L"activate " + kLongPath, UsageError::BadLetter, kLongPath},
        {L"move S: 7", UsageError::BadLetter, L"7"},
        {L"move S: s:", UsageError::SameLetter, L"s:"},
        {L"permanent S: yes", UsageError::BadOnOff, L"yes"},
        {L"new S: C:\\x --permanent --temporary", UsageError::PermanentAndTemporary},
        {L"list --bogus", UsageError::UnknownSwitch, L"--bogus"},
        {L"list --json=1", UsageError::UnknownSwitch, L"--json=1"},
        {L"move S: T: --json", UsageError::SwitchNotTaken, L"--json"},
        {L"activate S: --permanent", UsageError::SwitchNotTaken, L"--permanent"},
    };
    for (const auto& c : cases) {
        const ParseResult parsed = ParseArguments(Arguments(c.line));
        EXPECT_EQ(parsed.error, c.error) << c.line.substr(0, 60);
        EXPECT_EQ(parsed.culprit, c.culprit) << c.line.substr(0, 60);
    }
}

}  // namespace
}  // namespace kelvra::cli
