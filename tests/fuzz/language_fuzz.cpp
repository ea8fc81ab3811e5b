// Fuzzes the text routines and a whole pack load with arbitrary bytes: the
// input is a pack file, and its text also serves as the argument of
// PrepareText, KeyValue, TextPart and the placeholder filling.
#include <cstddef>
#include <cstdint>
#include <string>

#include "language/language.h"
#include "language/messages.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "sim/simulated_windows.h"

using namespace kelvra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // One machine and program for all runs: LoadLanguage resets the table
    // itself, and building them afresh would dominate the run time.
    static sim::SimulatedWindows* machine = [] {
        auto* m = new sim::SimulatedWindows;
        m->AddFolder("C:\\Kelvra\\languages");
        return m;
    }();
    static sim::ScriptedUi* ui = new sim::ScriptedUi;
    static Program* program = [] {
        auto* p = new Program(*machine, *ui);
        p->startup.ApplicationPath = "C:\\Kelvra\\";
        p->settings.Language = "fuzz";
        return p;
    }();
    ui->Clear();
    const std::wstring text = machine->AnsiToWide(bytes);

    std::wstring prepared = PrepareText(text);
    if (prepared.find(L"<!@") != std::wstring::npos || prepared.find(L"@!>") != std::wstring::npos)
        __builtin_trap();
    std::wstring value;
    KeyValue(text, "main_cmdnew", value);
    KeyValue(text, "", value);
    for (int part = -1; part <= 3; ++part) TextPart(text, part);
    ReplaceAll(text, kPlaceholderDrive, L"$DRIVE$$DRIVE$");

    machine->AddFile("C:\\Kelvra\\languages\\Fuzz.lng", bytes);
    LoadLanguage(*program);
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const std::wstring& t = program->language.texts[i];
        if (t.find(L"<!@") != std::wstring::npos) __builtin_trap();
    }
    program->drives.main[14].Type = size % 2 ? "REMOTE" : "SUBST (FIXED)";
    AskQuestion(*program, TextKey::main_reqdeldrive, 14);
    ShowError(*program, TextKey::main_msgnew_error);
    AskInput(*program, TextKey::main_inplink, InputDefault(*program, TextKey::main_inplink, 24));
    LinkComment(*program, bytes);
    FolderChoiceTitle(*program, 4, size % 3 == 0);
    return 0;
}
