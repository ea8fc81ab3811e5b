// The Os boundary on the real Windows API (the 8-bit "A" functions, so every
// string is in the system code page).
#pragma once

#include "platform/os.h"

namespace kelvra {

class Win32Os : public Os {
  public:
    Win32Os() = default;

    bool GetVersionEx(OsVersion& out) override;
    bool GetVersionExtended(OsVersion& out) override;
    bool GetProductInfo(uint32_t osMajor, uint32_t osMinor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t& product) override;
    uint16_t NativeProcessorArchitecture() override;
    int GetSystemMetrics(int index) override;
    std::string SystemDirectory() override;
    std::string ModuleFileName() override;
    std::string CommandLineArguments() override;
    bool GetFileVersion(const std::string& path, FileVersion& out) override;
    bool GetFileVersionString(const std::string& path, const std::string& name,
                              std::wstring& out) override;
    bool GetUserName(std::string& out, uint32_t size) override;

    uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                     const std::string& def, std::string& out, uint32_t size,
                                     const std::string& file) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string* value, const std::string& file) override;

    int32_t RegOpenKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                         RegKey& out) override;
    int32_t RegCreateKeyEx(RegKey root, const std::string& subkey, uint32_t access, RegKey& out,
                           uint32_t& disposition) override;
    int32_t RegSetValueEx(RegKey key, const std::string& name, uint32_t type,
                          const std::string& data) override;
    int32_t RegQueryValueEx(RegKey key, const std::string& name, uint32_t* type, std::string* data,
                            uint32_t* size) override;
    int32_t RegEnumKeyEx(RegKey key, uint32_t index, std::string& name) override;
    int32_t RegDeleteKey(RegKey root, const std::string& subkey) override;
    int32_t RegDeleteValue(RegKey key, const std::string& name) override;
    int32_t RegFlushKey(RegKey key) override;
    int32_t RegCloseKey(RegKey key) override;

    uint32_t GetFileAttributes(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    uint32_t GetLongPathName(const std::string& path, std::string& out, uint32_t size) override;
    uint32_t GetShortPathName(const std::string& path, std::string& out, uint32_t size) override;
    bool GetFullPathName(const std::string& path, std::string& out) override;
    bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) override;
    int32_t ReadFileStatus(const std::string& path, std::string& bytes,
                           std::size_t maxBytes) override;
    int32_t ReplaceFileContents(const std::string& path, const std::string& bytes) override;
    std::vector<std::string> FindFiles(const std::string& pattern) override;

    uint32_t GetLogicalDriveStrings(uint32_t size, std::string& out) override;
    uint32_t GetDriveType(const std::string& root) override;
    bool GetVolumeInformation(const std::string& root, std::string& label,
                              std::string& fileSystem) override;
    uint32_t SetErrorMode(uint32_t mode) override;
    bool SetThreadErrorMode(uint32_t mode, uint32_t& previous) override;
    bool DefineDosDevice(uint32_t flags, const std::string& device,
                         const std::string* target) override;
    uint32_t QueryDosDevice(const std::string& device, std::string& out, uint32_t size) override;

    uint32_t WNetAddConnection2(const NetResource& resource, const std::string* password,
                                const std::string* user, uint32_t flags) override;
    uint32_t WNetCancelConnection(const std::string& name, bool force) override;
    uint32_t WNetGetConnection(const std::string& localName, std::string& remoteName,
                               uint32_t& size) override;

    std::vector<TopWindow> TopLevelWindows() override;
    std::string ProcessExeName(uint32_t processId) override;
    void ActivateWindow(std::uintptr_t handle) override;

    // Through IShellLinkW and IPersistFile (the shell's automation object
    // cannot save a link under Wine). Expects COM to be initialised on the
    // thread, as WinMain does; initialises it for the call otherwise.
    bool CreateShellLink(const std::string& linkFile, const std::string& target,
                         const std::string& arguments, const std::wstring& description,
                         const std::string& workingFolder) override;
    void ShellChangeNotify(int32_t event, const std::string& path) override;

    // win32_elevation.cpp
    uint32_t TokenElevationType() override;
    bool LinkedTokenInOtherSession() override;
    LaunchResult ShellExecuteAsDesktop(const std::string& file,
                                       const std::string& parameters) override;
    LaunchResult RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                    uint32_t& exitCode) override;
    int32_t CreateLogonTask(const std::string& name, const std::string& program,
                            const std::string& arguments) override;
    int32_t DeleteLogonTask(const std::string& name) override;
    bool LogonTaskExists(const std::string& name) override;
    std::vector<std::string> ProgramFilesFolders() override;
    uint32_t WNetCancelConnectionHere(const std::string& name, bool force) override;

    std::wstring AnsiToWide(const std::string& text) override;
    std::string WideToAnsi(const std::wstring& text) override;
    bool WideToAnsiExact(const std::wstring& text, std::string& out) override;
    uint32_t CharUpperBuff(std::string& text) override;
};

}  // namespace kelvra
