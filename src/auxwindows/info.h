// The info window's texts: program, version, legal notice and the language
// pack in use. The window itself only shows them.
#pragma once

#include <string>

#include "platform/os.h"

namespace kelvra {

struct Program;

// The maker's web site, opened by the window's button.
inline constexpr wchar_t kWebsiteUrl[] = L"https://kelvra.example.org/";

struct InfoTexts {
    std::wstring Title;
    std::wstring CmdWebsite;
    std::wstring Label1;  // program name and version
    std::wstring Label2;  // legal notice
    std::wstring Label3;  // language pack and its version
    std::wstring Label4;  // the pack's date and author
};

// The "LegalCopyright" entry of the running file's version resource; empty
// when the file has none.
std::wstring ProgramCopyright(Os& os);

// The texts as the window shows them when it opens now: in the language
// active at this moment.
InfoTexts ComputeInfoTexts(Program& program, const std::wstring& legalCopyright);

}  // namespace kelvra
