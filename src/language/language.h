// Text table and language packs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

struct Program;

struct LanguageState {
    std::vector<std::wstring> texts;
    std::string HelpFile;
};

// Resets the table to the built-in texts, chooses the help file and applies
// the pack named by the setting Language.
void LoadLanguage(Program& program);
// The current text of a key; empty for an unknown key.
const std::wstring& Text(const LanguageState& language, std::string_view key);

}  // namespace kelvra
