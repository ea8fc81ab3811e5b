#include "cli/cli_parse.h"

#include <cwctype>

#include "cli/cli.h"

namespace kelvra::cli {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// ASCII only: command names and switches are ASCII, and a letter outside
// ASCII must not be folded onto one.
std::wstring Lower(const std::wstring& s) {
    std::wstring out = s;
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

struct VerbName {
    const wchar_t* name;
    Verb verb;
};
constexpr VerbName kVerbs[] = {
    {L"list", Verb::List},
    {L"new", Verb::New},
    {L"change", Verb::Change},
    {L"permanent", Verb::Permanent},
    {L"deactivate", Verb::Deactivate},
    {L"activate", Verb::Activate},
    {L"disconnect", Verb::Disconnect},
    {L"move", Verb::Move},
    {L"label", Verb::Label},
    {L"shortcut", Verb::Shortcut},
    {L"restore", Verb::Restore},
    {L"elevated-restore", Verb::ElevatedRestore},
    {L"help", Verb::Help},
    {L"--help", Verb::Help},
    {L"-h", Verb::Help},
    {L"/?", Verb::Help},
    {L"--version", Verb::Version},
};

enum class Switch { All, Json, Permanent, Temporary, Label, SessionOnly };
struct SwitchName {
    const wchar_t* name;
    Switch sw;
};
constexpr SwitchName kSwitches[] = {
    {L"--all", Switch::All},
    {L"--json", Switch::Json},
    {L"--permanent", Switch::Permanent},
    {L"--temporary", Switch::Temporary},
    {L"--label", Switch::Label},
    {L"--session-only", Switch::SessionOnly},
};

bool Takes(Verb verb, Switch sw) {
    switch (sw) {
        case Switch::All:
        case Switch::Json:
            return verb == Verb::List;
        case Switch::Permanent:
            return verb == Verb::New || verb == Verb::Deactivate;
        case Switch::Temporary:
        case Switch::Label:
            return verb == Verb::New;
        case Switch::SessionOnly:
            return verb == Verb::New || verb == Verb::Disconnect;
    }
    return false;
}

// How many positional arguments a command takes: at least, at most.
std::pair<std::size_t, std::size_t> Positionals(Verb verb) {
    switch (verb) {
        case Verb::New:
        case Verb::Change:
        case Verb::Permanent:
        case Verb::Move:
            return {2, 2};
        case Verb::Deactivate:
        case Verb::Activate:
        case Verb::Disconnect:
        case Verb::ElevatedRestore:
            return {1, 1};
        case Verb::Label:
        case Verb::Shortcut:
            return {1, 2};
        default:
            return {0, 0};
    }
}

ParseResult Fail(UsageError error, const std::wstring& culprit = {}) {
    ParseResult result;
    result.error = error;
    result.culprit = culprit;
    return result;
}

}  // namespace

DriveIndex ParseLetter(const std::wstring& arg) {
    if (arg.empty() || arg.size() > 2 || (arg.size() == 2 && arg[1] != L':')) return 0;
    const wchar_t c = arg[0];
    if (c > 0x7F) return 0;
    return DriveIndexOf(static_cast<char>(c));
}

ParseResult ParseArguments(const std::vector<std::wstring>& args) {
    if (args.empty()) return Fail(UsageError::MissingCommand);
    ParseResult result;
    Request& r = result.request;
    const std::wstring command = Lower(args[0]);
    bool known = false;
    for (const VerbName& v : kVerbs)
        if (command == v.name) {
            r.verb = v.verb;
            known = true;
        }
    if (!known) return Fail(UsageError::UnknownCommand, args[0]);
    // Help and version take nothing; whatever follows is not looked at.
    if (r.verb == Verb::Help || r.verb == Verb::Version) return result;

    std::vector<std::wstring> positional;
    bool permanent = false, temporary = false, switchesEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (switchesEnded || arg.size() < 2 || arg.compare(0, 2, L"--") != 0) {
            positional.push_back(arg);
            continue;
        }
        if (arg == L"--") {
            switchesEnded = true;
            continue;
        }
        const std::size_t equals = arg.find(L'=');
        const std::wstring name = Lower(arg.substr(0, equals));
        if (name == L"--help") {
            r = Request{};
            return result;
        }
        const SwitchName* found = nullptr;
        for (const SwitchName& s : kSwitches)
            if (name == s.name) found = &s;
        if (!found) return Fail(UsageError::UnknownSwitch, arg);
        if (!Takes(r.verb, found->sw)) return Fail(UsageError::SwitchNotTaken, arg);
        // Only --label has a value; "--json=x" is no switch of ours.
        if (equals != std::wstring::npos && found->sw != Switch::Label)
            return Fail(UsageError::UnknownSwitch, arg);
        switch (found->sw) {
            case Switch::All:
                r.all = true;
                break;
            case Switch::Json:
                r.json = true;
                break;
            case Switch::Permanent:
                permanent = true;
                break;
            case Switch::Temporary:
                temporary = true;
                break;
            case Switch::Label:
                if (equals != std::wstring::npos) {
                    r.text = arg.substr(equals + 1);
                } else {
                    if (i + 1 >= args.size()) return Fail(UsageError::MissingArgument, arg);
                    r.text = args[++i];
                }
                r.hasText = true;
                break;
            case Switch::SessionOnly:
                r.sessionOnly = true;
                break;
        }
    }
    // A session-only drive is neither stored nor labelled: those switches
    // are not taken beside it.
    if (r.sessionOnly && (permanent || temporary || r.hasText))
        return Fail(UsageError::SwitchNotTaken, r.hasText   ? L"--label"
                                                : permanent ? L"--permanent"
                                                            : L"--temporary");
    if (permanent && temporary) return Fail(UsageError::PermanentAndTemporary);
    if (permanent) r.permanence = PermanenceChoice::Permanent;
    if (temporary) r.permanence = PermanenceChoice::Temporary;

    const auto [least, most] = Positionals(r.verb);
    if (positional.size() < least) return Fail(UsageError::MissingArgument);
    if (positional.size() > most) return Fail(UsageError::ExtraArgument, positional[most]);
    if (most == 0) return result;
    if (r.verb == Verb::ElevatedRestore) {
        const std::wstring onOff = Lower(positional[0]);
        if (onOff != L"on" && onOff != L"off") return Fail(UsageError::BadOnOff, positional[0]);
        r.on = onOff == L"on";
        return result;
    }

    r.letter = ParseLetter(positional[0]);
    if (r.letter == 0) return Fail(UsageError::BadLetter, positional[0]);
    switch (r.verb) {
        case Verb::New:
        case Verb::Change:
            r.path = positional[1];
            if (r.path.empty()) return Fail(UsageError::MissingArgument);
            break;
        case Verb::Permanent: {
            const std::wstring onOff = Lower(positional[1]);
            if (onOff != L"on" && onOff != L"off") return Fail(UsageError::BadOnOff, positional[1]);
            r.on = onOff == L"on";
            break;
        }
        case Verb::Move:
            r.target = ParseLetter(positional[1]);
            if (r.target == 0) return Fail(UsageError::BadLetter, positional[1]);
            if (r.target == r.letter) return Fail(UsageError::SameLetter, positional[1]);
            break;
        case Verb::Label:
        case Verb::Shortcut:
            r.hasText = positional.size() == 2;
            if (r.hasText) r.text = positional[1];
            break;
        default:
            break;
    }
    return result;
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> args;
    std::size_t i = 0;
    // The program name: quotes only group, backslashes are plain characters.
    std::wstring program;
    if (i < line.size() && line[i] == L'"') {
        const std::size_t end = line.find(L'"', i + 1);
        program =
            std::wstring(line.substr(i + 1, end == std::wstring_view::npos ? end : end - i - 1));
        i = end == std::wstring_view::npos ? line.size() : end + 1;
    }
    while (i < line.size() && !IsBlank(line[i])) program.push_back(line[i++]);
    args.push_back(program);

    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            if (line[i] == L'\\') {
                std::size_t n = 0;
                while (i < line.size() && line[i] == L'\\') {
                    ++n;
                    ++i;
                }
                if (i < line.size() && line[i] == L'"') {
                    arg.append(n / 2, L'\\');
                    if (n % 2 == 1) {
                        arg.push_back(L'"');
                        ++i;
                    }
                    // An even count leaves the quote to group below.
                } else {
                    arg.append(n, L'\\');
                }
                continue;
            }
            if (line[i] == L'"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    arg.push_back(L'"');
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg.push_back(line[i++]);
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace kelvra::cli
