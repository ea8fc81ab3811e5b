#include "wine/e2e_support.h"

#include <cstdio>

namespace kelvra::e2e {

static const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full = path;
    return full.substr(0, full.find_last_of('\\') + 1);
}

std::string MakeScratchFolder(const std::string& tag) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "kelvra-e2e-" +
                         std::to_string(GetCurrentProcessId()) + "-" + tag + "-" +
                         std::to_string(++counter);
    RemoveTree(folder + "\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    std::string bare = folder.substr(0, folder.size() - 1);
    RemoveDirectoryA(bare.c_str());
}

bool CopyInto(const std::string& file, const std::string& folder, const std::string& newName) {
    std::string name = newName.empty() ? file.substr(file.find_last_of('\\') + 1) : newName;
    return CopyFileA(file.c_str(), (folder + name).c_str(), FALSE) != FALSE;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

bool FileThere(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string UserSection() {
    std::string name = UserName();
    CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return "USER=" + name;
}

std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def) {
    char buffer[1024] = {};
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                       sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

Process::~Process() {
    if (process_) CloseHandle(process_);
}

bool Process::Start(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool Process::Wait(DWORD milliseconds, DWORD* code) {
    if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(process_, code);
    return true;
}

void Process::Kill() {
    if (process_) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
}

std::string WindowTitle(HWND hwnd) {
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    return title;
}

namespace {
struct Search {
    DWORD processId;  // 0: any
    std::string fragment;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search->processId && pid != search->processId) return TRUE;
    if (WindowTitle(hwnd).find(search->fragment) != std::string::npos)
        search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOf(DWORD processId, const std::string& fragment) {
    Search search{processId, fragment, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> WindowsTitled(const std::string& fragment) { return WindowsOf(0, fragment); }

HWND WaitForWindow(DWORD processId, const std::string& fragment, DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += 50) {
        std::vector<HWND> found = WindowsOf(processId, fragment);
        if (!found.empty()) return found.front();
        Sleep(50);
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD processId, DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += 50) {
        for (HWND hwnd : WindowsOf(processId, "")) {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (std::string(cls) == "#32770") return hwnd;
        }
        Sleep(50);
    }
    return nullptr;
}

bool GetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    value = buffer;
    return true;
}

void SetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void DeleteRegValue(HKEY root, const std::string& subkey, const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

AppDataRedirect::AppDataRedirect(const std::string& folder) {
    had_ = GetRegString(HKEY_CURRENT_USER, kShellFolders, "AppData", old_);
    SetRegString(HKEY_CURRENT_USER, kShellFolders, "AppData", folder);
}

AppDataRedirect::~AppDataRedirect() {
    if (had_)
        SetRegString(HKEY_CURRENT_USER, kShellFolders, "AppData", old_);
    else
        DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, "AppData");
}

RegistryValueGuard::RegistryValueGuard(HKEY root, const std::string& subkey,
                                       const std::string& name)
    : root_(root), subkey_(subkey), name_(name) {
    had_ = GetRegString(root, subkey, name, old_);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (had_)
        SetRegString(root_, subkey_, name_, old_);
    else
        DeleteRegValue(root_, subkey_, name_);
}

char FreeLetter(char below) {
    DWORD used = GetLogicalDrives();
    for (char letter = below; letter > 'D'; --letter)
        if (!(used & (1u << (letter - 'A')))) return letter;
    return 0;
}

}  // namespace kelvra::e2e
