// The text table, its built-in texts and language packs.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "language/text_keys.h"

namespace kelvra {

struct Program;

using TextTable = std::array<std::wstring, kTextCount>;

// Every built-in text after PrepareText, in table order.
TextTable BuiltInTexts();

struct LanguageState {
    // Starts out with the built-in texts, so every key has a text even before
    // the first LoadLanguage.
    TextTable texts = BuiltInTexts();
    // The help file the Help menu opens; empty until one has been found.
    std::string HelpFile;
};

// Packs larger than this are read only up to their last complete line within
// it: real packs are a few kilobytes, and the limit keeps a wrong file from
// filling the memory.
constexpr std::size_t kMaxPackBytes = 8u << 20;

// Trims blanks, resolves "\n" and "\quote" (any letter case) and deletes the
// marker brackets "<!@" and "@!>" until none is left.
std::wstring PrepareText(std::wstring_view text);

// True when the line assigns the key: the key in any letter case in the first
// column, directly followed by "=". The value is the rest of the line,
// untrimmed; it is left unchanged when the line does not match.
bool KeyValue(std::wstring_view line, std::string_view key, std::wstring& value);

// Applies the assignments of a pack's text (already converted to wide
// characters) over the current table and returns how many there were. CR LF,
// a lone CR and a lone LF each end a line, so a pack edited on another system
// reads the same. Blank lines, comments (";" in the first column) and lines
// that assign no key are skipped.
std::size_t ApplyPack(LanguageState& language, std::wstring_view pack);

// True when a language name can only name a file inside "languages\" (and
// "helpfiles\"): no folder separator, no drive colon, no "..". The setting
// comes from an editable file, and a path there must not load texts (or a
// help file) from anywhere else.
bool IsLanguageName(std::string_view name);

// The language of the built-in texts; it needs no pack.
constexpr std::string_view kBuiltInLanguage = "Deutsch";

// Resets the table to the built-in texts, chooses the help file and applies
// the pack named by the setting Language, if the program folder holds one.
// A Language that is no language name keeps the built-in texts and names no
// help file of its own. False when the chosen language cannot be used: no
// language name, no pack (other than for the built-in language), a pack that
// cannot be read or sets no text. The built-in texts are shown then.
bool LoadLanguage(Program& program);
// Tells the user that the chosen language's pack cannot be used.
void ShowLanguageNotice(Program& program);

inline const std::wstring& Text(const LanguageState& language, TextKey key) {
    return language.texts[Index(key)];
}
// The current text of a key by name; empty for an unknown name.
const std::wstring& Text(const LanguageState& language, std::string_view key);

}  // namespace kelvra
