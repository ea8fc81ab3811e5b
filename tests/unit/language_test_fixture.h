// A simulated machine with a program folder, for the language tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "language/language.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "sim/simulated_windows.h"

namespace kelvra::test {

class LanguageFixture : public ::testing::Test {
  protected:
    static constexpr const char* kFolder = "C:\\Program Files\\Kelvra\\";

    LanguageFixture() {
        program.startup.ApplicationPath = kFolder;
        sim.AddFolder(std::string(kFolder) + "languages");
    }

    std::string PackPath(const std::string& name) {
        return std::string(kFolder) + "languages\\" + name + ".lng";
    }
    void AddPack(const std::string& name, const std::string& bytes) {
        sim.AddFile(PackPath(name), bytes);
    }
    // True when the chosen language could be used.
    bool Load(const std::string& language) {
        program.settings.Language = language;
        return LoadLanguage(program);
    }
    const std::wstring& T(TextKey key) const { return Text(program.language, key); }
    // True when every entry holds its built-in text.
    bool AllBuiltIn() const { return program.language.texts == BuiltInTexts(); }

    sim::SimulatedWindows sim;
    sim::ScriptedUi ui;
    Program program{sim, ui};
};

}  // namespace kelvra::test
