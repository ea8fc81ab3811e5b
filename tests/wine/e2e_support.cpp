#include "wine/e2e_support.h"

#include <algorithm>
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
    std::string folder = std::string(temp) + "kelvra-e2e-" + std::to_string(GetCurrentProcessId()) +
                         "-" + tag + "-" + std::to_string(++counter);
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
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
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

bool Process::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
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

std::vector<HWND> WindowsTitled(const std::string& fragment) {
    return WindowsOf(0, fragment);
}

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
    LONG rc =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
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

// ---------------------------------------------------------------------------
// Driving windows of another process

namespace {

// A hung target must fail the test, not stop the whole run.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// Text buffers in the target are this many characters.
constexpr int kRemoteChars = 2048;
constexpr std::size_t kTextOffset = 256;  // the structure comes first

std::string ReadRemoteText(const RemoteMemory& memory, LRESULT length) {
    std::wstring text(kRemoteChars, L'\0');
    memory.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t));
    const std::size_t n =
        std::min<std::size_t>(length < 0 ? 0 : static_cast<std::size_t>(length), text.size());
    text.resize(std::min(n, text.find(L'\0')));
    return Utf8(text);
}

}  // namespace

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::string ClassOf(HWND hwnd) {
    char cls[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds, DWORD step) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return done();
        PumpFor(step);
    }
    return true;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, const std::string& cls,
                                   const std::string& fragment) {
    std::vector<HWND> found;
    for (HWND hwnd : WindowsOf(processId, fragment))
        if (IsWindowVisible(hwnd) && (cls.empty() || ClassOf(hwnd) == cls)) found.push_back(hwnd);
    return found;
}

HWND WaitForVisibleWindow(DWORD processId, const std::string& cls, const std::string& fragment,
                          DWORD milliseconds) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> windows = VisibleWindowsOf(processId, cls, fragment);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        milliseconds);
    return found;
}

namespace {
struct ChildSearch {
    std::string cls;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (ClassOf(hwnd) != search->cls) return TRUE;
    search->found = hwnd;
    return FALSE;
}
}  // namespace

HWND ChildOfClass(HWND parent, const std::string& cls) {
    ChildSearch search{cls};
    EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string LongWindowText(HWND hwnd) {
    const LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
    return Utf8(text);
}

RemoteMemory::RemoteMemory(HWND owner, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
        base_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteMemory::~RemoteMemory() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

LPARAM RemoteMemory::At(std::size_t offset) const {
    return reinterpret_cast<LPARAM>(base_ + offset);
}

bool RemoteMemory::Write(std::size_t offset, const void* data, std::size_t size) {
    SIZE_T done = 0;
    return base_ && offset + size <= size_ &&
           WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
}

bool RemoteMemory::Read(std::size_t offset, void* data, std::size_t size) const {
    SIZE_T done = 0;
    return base_ && offset + size <= size_ &&
           ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
}

int ListRowCount(HWND list) {
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListText(HWND list, int row, int column) {
    RemoteMemory memory(list, kTextOffset + kRemoteChars * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.At(kTextOffset));
    item.cchTextMax = kRemoteChars;
    const std::wstring zeros(kRemoteChars, L'\0');
    if (!memory.Write(0, &item, sizeof item) ||
        !memory.Write(kTextOffset, zeros.data(), zeros.size() * sizeof(wchar_t)))
        return "<no remote memory>";
    const LRESULT n = Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory.At());
    return ReadRemoteText(memory, n);
}

std::string ListColumnCaption(HWND list, int column) {
    RemoteMemory memory(list, kTextOffset + kRemoteChars * sizeof(wchar_t));
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = reinterpret_cast<wchar_t*>(memory.At(kTextOffset));
    info.cchTextMax = kRemoteChars;
    const std::wstring zeros(kRemoteChars, L'\0');
    if (!memory.Write(0, &info, sizeof info) ||
        !memory.Write(kTextOffset, zeros.data(), zeros.size() * sizeof(wchar_t)))
        return "<no remote memory>";
    if (!Send(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), memory.At())) return "<none>";
    return ReadRemoteText(memory, kRemoteChars);
}

std::vector<int> ListColumnOrder(HWND list, int columns) {
    std::vector<int> order(static_cast<std::size_t>(columns), -1);
    RemoteMemory memory(list, order.size() * sizeof(int));
    if (!memory.Write(0, order.data(), order.size() * sizeof(int))) return {};
    if (!Send(list, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns), memory.At())) return {};
    memory.Read(0, order.data(), order.size() * sizeof(int));
    return order;
}

bool SetListColumnOrder(HWND list, const std::vector<int>& order) {
    RemoteMemory memory(list, order.size() * sizeof(int));
    if (!memory.Write(0, order.data(), order.size() * sizeof(int))) return false;
    const bool set = Send(list, LVM_SETCOLUMNORDERARRAY, order.size(), memory.At()) != 0;
    // The header shows the new order only once the list repaints it.
    InvalidateRect(list, nullptr, TRUE);
    return set;
}

std::string StatusText(HWND status, int panel) {
    RemoteMemory memory(status, kTextOffset + kRemoteChars * sizeof(wchar_t));
    const LRESULT length = Send(status, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    if (LOWORD(length) >= kRemoteChars) return "<too long>";
    const std::wstring zeros(kRemoteChars, L'\0');
    if (!memory.Write(kTextOffset, zeros.data(), zeros.size() * sizeof(wchar_t)))
        return "<no remote memory>";
    const LRESULT n = Send(status, SB_GETTEXTW, static_cast<WPARAM>(panel), memory.At(kTextOffset));
    return ReadRemoteText(memory, LOWORD(n));
}

bool FocusControl(HWND top, HWND control) {
    const DWORD target = GetWindowThreadProcessId(top, nullptr);
    const DWORD self = GetCurrentThreadId();
    auto focused = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == top && GetGUIThreadInfo(target, &info) &&
               info.hwndFocus == control;
    };
    return WaitUntil(
        [&] {
            if (focused()) return true;
            SetForegroundWindow(top);
            if (AttachThreadInput(self, target, TRUE)) {
                SetFocus(control);
                AttachThreadInput(self, target, FALSE);
            }
            return focused();
        },
        kStateTimeout, 100);
}

bool PressKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, true);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

bool TrayIconPresent(HWND owner, UINT id) {
    // Changing nothing succeeds exactly when the icon is there.
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

namespace {
// A win-event callback gets no context of its own: it finds the log here.
thread_local WindowCreationLog* activeLog = nullptr;
}  // namespace

WindowCreationLog::WindowCreationLog() {
    activeLog = this;
    hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, &OnEvent, 0, 0,
                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

WindowCreationLog::~WindowCreationLog() {
    if (hook_) UnhookWinEvent(hook_);
    activeLog = nullptr;
}

void CALLBACK WindowCreationLog::OnEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child,
                                         DWORD, DWORD) {
    if (!activeLog || object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
    if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return;  // a control, or gone
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    activeLog->entries_.push_back({pid, ClassOf(hwnd), WindowTitle(hwnd)});
}

bool WindowCreationLog::Seen(DWORD processId, const std::string& cls) {
    PumpFor(0);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.processId == processId && e.cls == cls; });
}

SubstDrive::SubstDrive(char letter, const std::string& folder)
    : device_(std::string(1, letter) + ":") {
    defined_ = DefineDosDeviceA(0, device_.c_str(), folder.c_str()) != FALSE;
}

SubstDrive::~SubstDrive() {
    Remove();
}

void SubstDrive::Remove() {
    if (defined_) DefineDosDeviceA(DDD_REMOVE_DEFINITION, device_.c_str(), nullptr);
    defined_ = false;
}

}  // namespace kelvra::e2e
