// The Os behaviour suite: the same tests run natively on SimulatedWindows and
// under Wine on Win32Os, so the simulation cannot drift from Windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/os.h"

namespace kelvra::contract {

class Environment {
  public:
    virtual ~Environment() = default;
    virtual Os& os() = 0;
    // A fresh, empty, writable folder for one test; ends in "\".
    virtual std::string Scratch() = 0;
    virtual bool IsWine() const = 0;
    // A drive letter that holds no drive, DOS device or connection now.
    virtual char FreeLetter() = 0;
    // Test set-up outside the Os under test: a file with exactly these bytes.
    virtual void MakeFile(const std::string& path, const std::string& bytes) = 0;
    // Test set-up: reads a file's bytes outside the Os under test.
    virtual std::string ReadBytes(const std::string& path) = 0;
    // Test set-up: another program holds the file open without sharing
    // (held), or lets it go again.
    virtual void HoldFile(const std::string& path, bool held) = 0;
    // Test set-up: gives the file the read-only attribute.
    virtual void MakeReadOnly(const std::string& path) = 0;
    // An existing, empty registry key for one test, below HKCU\Software;
    // removed with everything below it afterwards. Returns the subkey path.
    virtual std::string ScratchKey() = 0;
    // Test set-up: opening the (existing) key for writing, setting its values
    // and creating keys below it fail with access denied; reading still works.
    virtual void DenyRegistryWrites(RegKey root, const std::string& subkey) = 0;
    // The running test process and its executable's file name as the process
    // list shows them.
    virtual uint32_t ProcessId() = 0;
    virtual std::string ExeName() = 0;
    // Test set-up: a top-level window of this process with the title; it
    // goes away with the environment. 0 when there is no display to make
    // windows on.
    virtual std::uintptr_t MakeTopWindow(const std::string& title) = 0;
    // Test check: reads a shortcut file back outside the Os under test.
    // False when the file is no shortcut.
    struct LinkFields {
        std::string target;
        std::wstring description;
        std::string arguments;
        std::string workingFolder;
    };
    virtual bool ReadLink(const std::string& path, LinkFields& out) = 0;
};

// Made by contract_sim.cpp (natively) or contract_win32.cpp (under Wine).
std::unique_ptr<Environment> MakeEnvironment();

class ContractTest : public ::testing::Test {
  protected:
    void SetUp() override { env = MakeEnvironment(); }
    Os& os() { return env->os(); }
    std::unique_ptr<Environment> env;
};

}  // namespace kelvra::contract

// Wine differs from Windows here: the case is skipped, never loosened.
#define SKIP_UNDER_WINE(reason)                                \
    do {                                                       \
        if (env->IsWine()) GTEST_SKIP() << "Wine: " << reason; \
    } while (0)
