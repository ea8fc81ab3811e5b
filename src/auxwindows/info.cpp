#include "auxwindows/info.h"

#include "language/language.h"
#include "program.h"

namespace kelvra {

std::wstring ProgramCopyright(Os& os) {
    std::wstring copyright;
    if (!os.GetFileVersionString(os.ModuleFileName(), "LegalCopyright", copyright))
        copyright.clear();
    return copyright;
}

InfoTexts ComputeInfoTexts(Program& program, const std::wstring& legalCopyright) {
    const LanguageState& language = program.language;
    const std::wstring name =
        L"Kelvra V" + program.os.AnsiToWide(program.startup.ApplicationVersion);
    InfoTexts texts;
    texts.Title = name + L" - " + Text(language, TextKey::info_title);
    texts.CmdWebsite = Text(language, TextKey::info_cmdwebsite);
    texts.Label1 = name;
    texts.Label2 = legalCopyright;
    texts.Label3 = L"Language Pack '" + Text(language, TextKey::author_language) + L"' V" +
                   Text(language, TextKey::author_version);
    // An empty date leaves two blanks between the sign and the name; the
    // line is built the same way whatever the pack holds.
    texts.Label4 = L"\u00A9 " + Text(language, TextKey::author_date) + L" " +
                   Text(language, TextKey::author_name);
    return texts;
}

}  // namespace kelvra
