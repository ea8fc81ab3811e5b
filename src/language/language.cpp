#include "language/language.h"

#include "program.h"

namespace kelvra {

// Placeholder until the text table exists: only the texts start-up needs.
void LoadLanguage(Program& program) { program.language.texts = {L"<Global>"}; }

const std::wstring& Text(const LanguageState& language, std::string_view key) {
    static const std::wstring empty;
    if (key == "main_stbuserglobal" && !language.texts.empty()) return language.texts[0];
    return empty;
}

}  // namespace kelvra
