// Support for the end-to-end tests that drive the real Kelvra.exe and
// kelvrashell.exe under Wine: scratch program folders, process starts,
// window searches and settings-file reads, all through the Windows API.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kelvra::e2e {

// Folder of the running test program, ending in "\": the built .exe files lie there.
std::string BuildFolder();
// A fresh, empty folder under the temp folder, ending in "\".
std::string MakeScratchFolder(const std::string& tag);
void RemoveTree(const std::string& folder);
bool CopyInto(const std::string& file, const std::string& folder,
              const std::string& newName = "");
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileThere(const std::string& path);

std::string UserName();
// The settings section of the user running the tests.
std::string UserSection();
std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "<missing>");

// A started process; the handle is closed with the object.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
    bool Start(const std::string& exe, const std::string& arguments);
    // True when the process ended within the time; exit code in `code`.
    bool Wait(DWORD milliseconds, DWORD* code = nullptr);
    DWORD id() const { return id_; }
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Top-level windows of a process whose title contains `fragment`.
std::vector<HWND> WindowsOf(DWORD processId, const std::string& fragment);
// All top-level windows whose title contains `fragment`.
std::vector<HWND> WindowsTitled(const std::string& fragment);
// Polls until the process shows such a window; null on timeout.
HWND WaitForWindow(DWORD processId, const std::string& fragment, DWORD milliseconds);
// Polls for a message box (#32770) of the process; null on timeout.
HWND WaitForMessageBox(DWORD processId, DWORD milliseconds);
std::string WindowTitle(HWND hwnd);

// Points the user's "AppData" shell folder at another folder for the life of
// the object, so that per-user settings files land in a test folder.
class AppDataRedirect {
public:
    explicit AppDataRedirect(const std::string& folder);
    ~AppDataRedirect();

private:
    std::string old_;
    bool had_ = false;
};

// Reads and restores one registry string value around a test.
class RegistryValueGuard {
public:
    RegistryValueGuard(HKEY root, const std::string& subkey, const std::string& name);
    ~RegistryValueGuard();

private:
    HKEY root_;
    std::string subkey_, name_, old_;
    bool had_ = false;
};

bool GetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  std::string& value);
void SetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  const std::string& value);
void DeleteRegValue(HKEY root, const std::string& subkey, const std::string& name);

// A letter that holds nothing now, from the end of the alphabet.
char FreeLetter(char below = 'Z');

}  // namespace kelvra::e2e
