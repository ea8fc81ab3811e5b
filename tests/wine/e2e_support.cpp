#include "wine/e2e_support.h"

#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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
    if (folder.empty()) return;  // "*" would be the current folder
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

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(h);
    return ok;
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

// Under Wine the source tree is reachable through drive Z:, the Unix root.
std::string SourcePath(const std::string& relative) {
    std::string path = "Z:" KELVRA_SOURCE_DIR "/" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
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
    // A program file copied a moment ago was once refused under load; the
    // start is tried again while the refusal lasts, and its code is told.
    DWORD firstError = 0;
    const bool started = WaitUntil([&] {
        if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info))
            return true;
        if (!firstError) firstError = GetLastError();
        return false;
    });
    if (firstError)
        std::fprintf(stderr, "CreateProcess(%s) failed with %lu%s\n", exe.c_str(), firstError,
                     started ? "; a later try started it" : "");
    if (!started) return false;
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

// ---------------------------------------------------------------------------
// Drive commands driven from outside

std::wstring DosDeviceTarget(char letter) {
    const wchar_t device[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    std::wstring target(4096, L'\0');
    const DWORD n = QueryDosDeviceW(device, target.data(), static_cast<DWORD>(target.size()));
    if (n == 0) return {};
    // The first of the answer's NUL-separated strings is the one in force.
    target.resize(target.find(L'\0'));
    return target;
}

void RemoveDosDevice(char letter) {
    const char device[] = {letter, ':', '\0'};
    // Bounded: a definition that cannot be removed must not hang the test.
    for (int i = 0; i < 8 && !DosDeviceTarget(letter).empty(); ++i)
        DefineDosDeviceA(DDD_REMOVE_DEFINITION, device, nullptr);
}

std::string TitleUtf8(HWND hwnd) {
    wchar_t title[1024] = {};
    GetWindowTextW(hwnd, title, 1024);
    return Utf8(title);
}

HWND WaitForDialog(DWORD processId, const std::string& fragment, DWORD milliseconds) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            for (HWND hwnd : VisibleWindowsOf(processId, "#32770", ""))
                if (TitleUtf8(hwnd).find(fragment) != std::string::npos) found = hwnd;
            return found != nullptr;
        },
        milliseconds);
    return found;
}

HWND WaitForBox(DWORD processId, const std::string& titleFragment, DWORD milliseconds, int textId) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            for (HWND hwnd : VisibleWindowsOf(processId, "#32770", "")) {
                const std::string title = TitleUtf8(hwnd);
                if (title.empty() || title.find(titleFragment) == std::string::npos) continue;
                HWND text = GetDlgItem(hwnd, textId);
                if (text && !LongWindowText(text).empty()) {
                    found = hwnd;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

namespace {
BOOL CALLBACK AppendChildText(HWND hwnd, LPARAM lParam) {
    auto* texts = reinterpret_cast<std::string*>(lParam);
    *texts += LongWindowText(hwnd) + "\n";
    return TRUE;
}
}  // namespace

std::string ChildTexts(HWND parent) {
    std::string texts;
    EnumChildWindows(parent, &AppendChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SetControlText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 10000, &result) &&
           result == TRUE;
}

namespace {
// The text of the tree item the chooser has selected.
std::string SelectedTreeText(HWND tree) {
    const auto item =
        static_cast<HTREEITEM>(reinterpret_cast<void*>(Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
    if (!item) return {};
    RemoteMemory memory(tree, kTextOffset + kRemoteChars * sizeof(wchar_t));
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = reinterpret_cast<wchar_t*>(memory.At(kTextOffset));
    info.cchTextMax = kRemoteChars;
    const std::wstring zeros(kRemoteChars, L'\0');
    if (!memory.Write(0, &info, sizeof info) ||
        !memory.Write(kTextOffset, zeros.data(), zeros.size() * sizeof(wchar_t)) ||
        !Send(tree, TVM_GETITEMW, 0, memory.At()))
        return {};
    return ReadRemoteText(memory, kRemoteChars);
}

// What the chooser's tree shows for the last part of a path: the folder's
// name, or for a drive root an item naming the drive ("... (C:)").
bool ShowsPath(const std::string& shown, const std::wstring& path) {
    std::wstring leaf = path;
    while (!leaf.empty() && leaf.back() == L'\\') leaf.pop_back();
    if (leaf.size() == 2 && leaf[1] == L':') return shown.find(Utf8(leaf)) != std::string::npos;
    return shown == Utf8(leaf.substr(leaf.find_last_of(L'\\') + 1));
}
}  // namespace

bool ChooseFolder(HWND chooser, const std::wstring& path, const std::function<void()>& beforeOk) {
    // The path is read in the chooser's process: it must lie there.
    RemoteMemory memory(chooser, (path.size() + 1) * sizeof(wchar_t));
    if (!memory.Write(0, path.c_str(), (path.size() + 1) * sizeof(wchar_t))) return false;
    // The chooser takes a selection only once its tree is filled; until
    // then the message is lost. Asked again until the tree shows the path.
    HWND tree = nullptr;
    const bool selected = WaitUntil(
        [&] {
            if (!tree) tree = ChildOfClass(chooser, "SysTreeView32");
            if (!tree || Send(tree, TVM_GETCOUNT, 0, 0) == 0) return false;
            Send(chooser, BFFM_SETSELECTIONW, TRUE, memory.At());
            return ShowsPath(SelectedTreeText(tree), path);
        },
        kStateTimeout, 200);
    if (beforeOk) beforeOk();
    PressDialogButton(chooser, IDOK);
    // The chooser reads the path before it closes; the memory may go then.
    return WaitUntil([&] { return !IsWindow(chooser); }) && selected;
}

bool SelectListRow(HWND list, int row) {
    RemoteMemory memory(list, sizeof(LVITEMW));
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!memory.Write(0, &state, sizeof state)) return false;
    if (!Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.At())) return false;
    Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row;
}

RECT ListRowOnScreen(HWND list, int row) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    RemoteMemory memory(list, sizeof bounds);
    if (!memory.Write(0, &bounds, sizeof bounds) ||
        !Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.At()) ||
        !memory.Read(0, &bounds, sizeof bounds))
        return {};
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

namespace {
INPUT MouseInput(POINT at, DWORD flags) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, width - 1);
    input.mi.dy = MulDiv(at.y, 65535, height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

bool SendMouse(POINT at, DWORD flags) {
    INPUT input = MouseInput(at, flags);
    const bool sent = SendInput(1, &input, sizeof input) == 1;
    // Pacing, not a wait for a state: the target sees each step as its own
    // event, as it would from a hand.
    PumpFor(30);
    return sent;
}
}  // namespace

bool MouseDragHeld(POINT from, POINT to) {
    constexpr int kSteps = 12;
    bool ok = SendMouse(from, 0) && SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; ok && i <= kSteps; ++i) {
        const POINT at = {from.x + (to.x - from.x) * i / kSteps,
                          from.y + (to.y - from.y) * i / kSteps};
        ok = SendMouse(at, 0);
    }
    return ok;
}

bool MouseRelease(POINT at) {
    return SendMouse(at, MOUSEEVENTF_LEFTUP);
}

bool MouseDrag(POINT from, POINT to) {
    const bool ok = MouseDragHeld(from, to);
    return MouseRelease(to) && ok;
}

bool SendDpiChanged(HWND window, int dpi, const RECT& suggested) {
    // The rectangle is passed by address: it must lie in the target.
    RemoteMemory memory(window, sizeof suggested);
    if (!memory.ok() || !memory.Write(0, &suggested, sizeof suggested)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), memory.At(),
                               SMTO_ABORTIFHUNG, kStateTimeout, &result) != 0;
}

long ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    if (!screen) return -1;
    const COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    if (c == CLR_INVALID) return -1;
    return static_cast<long>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

ShellLinkInfo ReadShellLink(const std::wstring& file) {
    ShellLinkInfo info;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
                wchar_t text[1024] = {};
                info.read = SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH));
                info.target = text;
                text[0] = L'\0';
                link->GetDescription(text, 1024);
                info.description = text;
                text[0] = L'\0';
                link->GetArguments(text, 1024);
                info.arguments = text;
                text[0] = L'\0';
                link->GetWorkingDirectory(text, 1024);
                info.workingFolder = text;
            }
            persist->Release();
        }
        link->Release();
    }
    if (com) CoUninitialize();
    return info;
}

namespace {
// A PNG is complete once its last chunk, IEND, is written.
bool CompletePng(const std::string& path) {
    static const char kEnd[] = "IEND\xAE\x42\x60\x82";
    const std::string bytes = ReadBytes(path);
    return bytes.size() > 8 && bytes.compare(bytes.size() - 8, 8, kEnd, 8) == 0;
}
}  // namespace

bool SaveScreenshot(const std::string& unixPath) {
    if (GetFileAttributesA("Z:\\usr\\bin\\import") == INVALID_FILE_ATTRIBUTES) return false;
    std::string dosPath = "Z:" + unixPath;
    std::replace(dosPath.begin(), dosPath.end(), '/', '\\');
    DeleteFileA(dosPath.c_str());
    // start /unix runs a program of the host system; Windows programs
    // cannot start one directly.
    std::string command = "start.exe /unix /usr/bin/import -window root \"" + unixPath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return WaitUntil([&] { return CompletePng(dosPath); }, 30000, 200);
}

// ---------------------------------------------------------------------------
// Drive letters, popup menus and the mouse

std::string DefinedLetters() {
    std::string letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (!DosDeviceTarget(letter).empty()) letters += letter;
    return letters;
}

char HighestUndefinedLetter(char below) {
    for (char letter = below; letter >= 'A'; --letter)
        if (DosDeviceTarget(letter).empty()) return letter;
    return 0;
}

char LowestUndefinedLetter(char above) {
    for (char letter = above; letter <= 'Z'; ++letter)
        if (DosDeviceTarget(letter).empty()) return letter;
    return 0;
}

DosDeviceGuard::DosDeviceGuard() : before_(DefinedLetters()) {}

DosDeviceGuard::~DosDeviceGuard() {
    for (char letter : Added()) RemoveDosDevice(letter);
}

std::string DosDeviceGuard::Added() const {
    std::string added;
    for (char letter : DefinedLetters())
        if (before_.find(letter) == std::string::npos) added += letter;
    return added;
}

namespace {

// Wine's own mount-manager request that makes (or, without a folder,
// removes) a drive letter backed by a Unix folder.
struct WineUnixDrive {
    ULONG size, type, fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;
    USHORT mount_point_offset, device_offset, label_offset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d /* MOUNTMGRCONTROLTYPE */, 32, METHOD_BUFFERED,
                                            FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool DefineUnixDrive(char letter, const std::string& unixFolder) {
    HANDLE manager =
        CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    const std::size_t size =
        sizeof(WineUnixDrive) + (unixFolder.empty() ? 0 : unixFolder.size() + 1);
    std::vector<char> buffer(size, '\0');
    auto* request = reinterpret_cast<WineUnixDrive*>(buffer.data());
    request->size = static_cast<ULONG>(size);
    request->type = DRIVE_FIXED;
    request->letter = static_cast<WCHAR>(letter - 'A' + 'a');
    if (!unixFolder.empty()) {
        request->mount_point_offset = sizeof(WineUnixDrive);
        unixFolder.copy(buffer.data() + sizeof(WineUnixDrive), unixFolder.size());
    }
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(),
                                      static_cast<DWORD>(size), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done != FALSE;
}

// Where Wine's mount manager keeps the type of each drive it made.
const char kWineDrives[] = "Software\\Wine\\Drives";
std::string DriveTypeName(char letter) {
    return std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":";
}

// The Unix path of a Windows path, from Wine's own export; empty elsewhere.
std::string UnixPathOf(const std::string& path) {
    using Fn = char*(CDECL*)(LPCWSTR);
    const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return {};
    std::wstring wide(path.begin(), path.end());
    char* found = fn(wide.c_str());
    if (!found) return {};
    std::string result = found;
    HeapFree(GetProcessHeap(), 0, found);
    return result;
}

}  // namespace

ReachableSubstDrive::ReachableSubstDrive(char letter, const std::string& folder) : letter_(letter) {
    const std::string device = std::string(1, letter) + ":";
    if (!DosDeviceTarget(letter).empty()) return;
    std::string type;
    hadType_ = GetRegString(HKEY_LOCAL_MACHINE, kWineDrives, DriveTypeName(letter), type);
    const std::string unixFolder = UnixPathOf(folder);
    if (unixFolder.empty() || !DefineUnixDrive(letter, unixFolder)) return;
    mounted_ = true;
    // The mount manager's device entry goes; the link on disk that gives
    // file access stays, and the letter now reads as a subst drive.
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    ok_ = DefineDosDeviceA(0, device.c_str(), folder.c_str()) != FALSE &&
          GetFileAttributesA((device + "\\").c_str()) != INVALID_FILE_ATTRIBUTES;
}

ReachableSubstDrive::~ReachableSubstDrive() {
    const std::string device = std::string(1, letter_) + ":";
    if (!mounted_) return;
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    DefineUnixDrive(letter_, "");
    // Removing the drive leaves its device entry and its type behind.
    RemoveDosDevice(letter_);
    if (!hadType_) DeleteRegValue(HKEY_LOCAL_MACHINE, kWineDrives, DriveTypeName(letter_));
}

HWND PopupMenuOf(DWORD processId) {
    std::vector<HWND> menus = VisibleWindowsOf(processId, "#32768", "");
    return menus.empty() ? nullptr : menus.front();
}

HWND WaitForPopupMenu(DWORD processId, DWORD milliseconds) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = PopupMenuOf(processId)) != nullptr; }, milliseconds);
    return menu;
}

bool WaitForNoPopupMenu(DWORD processId, DWORD milliseconds) {
    return WaitUntil([&] { return PopupMenuOf(processId) == nullptr; }, milliseconds);
}

std::vector<bool> PopupItemsEnabled(HWND menu) {
    RECT r = {};
    if (!GetWindowRect(menu, &r)) return {};
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 8 || height <= 8) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<bool> items;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        // Per pixel row: 2 holds dark (enabled) text, 1 only grey text.
        std::vector<int> rows(static_cast<std::size_t>(height), 0);
        constexpr int kBorder = 4;  // frame and the separators' ends
        for (int y = kBorder; y < height - kBorder; ++y) {
            for (int x = kBorder; x < width - kBorder; ++x) {
                const DWORD p = pixels[y * width + x];
                const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
                const int light = (red + green + blue) / 3;
                const bool neutral = std::abs(red - green) < 24 && std::abs(green - blue) < 24;
                if (neutral && light < 70) rows[y] = 2;
                if (neutral && light >= 90 && light <= 190 && rows[y] == 0) rows[y] = 1;
            }
        }
        // A band of rows with text is an item; a separator is a line or two.
        constexpr int kMinTextHeight = 4;
        for (int y = 0; y < height;) {
            if (rows[y] == 0) {
                ++y;
                continue;
            }
            int end = y;
            bool dark = false;
            for (; end < height && rows[end] != 0; ++end) dark = dark || rows[end] == 2;
            if (end - y >= kMinTextHeight) items.push_back(dark);
            y = end;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return items;
}

std::string MessageBoxText(HWND box) {
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));
    std::string out = Utf8(text);
    for (std::size_t at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", at))
        out.erase(at, 1);
    return out;
}

bool PressKeys(const std::vector<WORD>& keys) {
    for (WORD key : keys)
        if (!PressKey(key)) return false;
    return true;
}

bool ClickAt(POINT screen, bool right) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, width - 1);
        input.mi.dy = MulDiv(screen.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

}  // namespace kelvra::e2e
