#include "language/language.h"

#include "language/messages.h"
#include "platform/inireg.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

namespace {

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

// True when text at pos starts with the lower-case ASCII word, in any case.
bool MatchesNoCase(std::wstring_view text, std::size_t pos, std::wstring_view lowerWord) {
    if (text.size() - pos < lowerWord.size()) return false;
    for (std::size_t i = 0; i < lowerWord.size(); ++i)
        if (FoldAscii(text[pos + i]) != lowerWord[i]) return false;
    return true;
}

bool EndsWith(const std::wstring& s, std::wstring_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Deletes "<!@" and "@!>" until none is left. A single replace pass would let
// "<!<!@@" collapse into a fresh "<!@", and a pack could then smuggle a
// drive-type marker into a text. Deleting at the end of the output as it
// grows keeps the output free of both at every step, in one pass.
std::wstring DeleteMarkerBrackets(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        out.push_back(c);
        if (c == L'@' && EndsWith(out, L"<!@")) out.resize(out.size() - 3);
        if (c == L'>' && EndsWith(out, L"@!>")) out.resize(out.size() - 3);
    }
    return out;
}

}  // namespace

TextTable BuiltInTexts() {
    TextTable texts;
    for (std::size_t i = 0; i < kTextCount; ++i)
        texts[i] = PrepareText(BuiltInText(static_cast<TextKey>(i)));
    return texts;
}

std::wstring PrepareText(std::wstring_view text) {
    std::size_t begin = text.find_first_not_of(L' ');
    if (begin == std::wstring_view::npos) return {};
    text = text.substr(begin, text.find_last_not_of(L' ') - begin + 1);

    // "\n" and "\quote" in one left-to-right pass: neither replacement can
    // form or break the other, so this equals replacing one after the other.
    std::wstring escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == L'\\' && MatchesNoCase(text, i + 1, L"n")) {
            escaped += L"\r\n";
            i += 2;
        } else if (text[i] == L'\\' && MatchesNoCase(text, i + 1, L"quote")) {
            escaped += L'"';
            i += 6;
        } else {
            escaped += text[i++];
        }
    }
    return DeleteMarkerBrackets(escaped);
}

bool KeyValue(std::wstring_view line, std::string_view key, std::wstring& value) {
    if (line.size() < key.size() + 1 || line[key.size()] != L'=') return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (FoldAscii(line[i]) != FoldAscii(static_cast<unsigned char>(key[i]))) return false;
    value.assign(line.substr(key.size() + 1));
    return true;
}

std::size_t ApplyPack(LanguageState& language, std::wstring_view pack) {
    std::wstring value;
    std::size_t applied = 0;
    std::size_t pos = 0;
    while (pos < pack.size()) {
        std::size_t end = pack.find_first_of(L"\r\n", pos);
        std::size_t next = end;
        if (end == std::wstring_view::npos) {
            end = next = pack.size();
        } else {
            ++next;
            if (pack[end] == L'\r' && next < pack.size() && pack[next] == L'\n') ++next;
        }
        std::wstring_view line = pack.substr(pos, end - pos);
        pos = next;
        if (line.empty() || line[0] == L';') continue;
        // Keys differ, and each is followed by "=", so a line assigns at most one.
        for (std::size_t i = 0; i < kTextCount; ++i) {
            TextKey key = static_cast<TextKey>(i);
            if (KeyValue(line, TextKeyName(key), value)) {
                language.texts[i] = PrepareText(value);
                ++applied;
                break;
            }
        }
    }
    return applied;
}

bool IsLanguageName(std::string_view name) {
    return name.find_first_of("\\/:") == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

bool LoadLanguage(Program& program) {
    Os& os = program.os;
    LanguageState& language = program.language;
    const std::string& folder = program.startup.ApplicationPath;
    const std::string& name = program.settings.Language;

    language.texts = BuiltInTexts();
    const bool ownName = IsLanguageName(name);

    const std::string help = folder + "helpfiles\\" + name + ".chm";
    const std::string englishHelp = folder + "helpfiles\\English.chm";
    if (ownName && FileExists(os, help))
        language.HelpFile = help;
    else if (FileExists(os, englishHelp))
        language.HelpFile = englishHelp;

    const std::string pack = folder + "languages\\" + name + ".lng";
    const bool builtIn = text::EqualsNoCase(name, kBuiltInLanguage);
    if (!ownName) return false;
    if (!FileExists(os, pack)) return builtIn;
    std::string bytes;
    if (!os.ReadFile(pack, bytes, kMaxPackBytes + 1)) return false;
    if (bytes.size() > kMaxPackBytes) {
        // Keep only whole lines: a value cut off in the middle is worse than
        // the built-in text. CR and LF bytes are never part of a multi-byte
        // character.
        bytes.resize(kMaxPackBytes);
        std::size_t lastEnd = bytes.find_last_of("\r\n");
        bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd);
    }
    // A file that sets no text at all is no pack (a file in another
    // encoding, say), even though it changes nothing.
    return ApplyPack(language, os.AnsiToWide(bytes)) > 0;
}

void ShowLanguageNotice(Program& program) {
    ShowFileNotice(
        program, TextKey::main_msglanguage_error,
        program.startup.ApplicationPath + "languages\\" + program.settings.Language + ".lng");
}

const std::wstring& Text(const LanguageState& language, std::string_view key) {
    static const std::wstring empty;
    TextKey found;
    if (!FindTextKey(key, found)) return empty;
    return Text(language, found);
}

}  // namespace kelvra
