#include "platform/win32/win32_os.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/win32/command_line.h"
#include "platform/win32/handles.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

namespace {

using win32::UniqueFile;
using win32::UniqueHandle;

// Callers ask for buffers of a few hundred characters; a huge size is a
// mistake, and capping it keeps a typo from allocating gigabytes.
constexpr uint32_t kMaxBuffer = 1u << 20;

// A zeroed buffer for a call that takes `size` characters. It has two spare
// characters beyond what the call is told, so an answer that exactly fills
// the buffer still ends in NUL even where a call forgets the terminator.
std::vector<char> CallBuffer(uint32_t size) {
    return std::vector<char>(std::size_t{size} + 2, '\0');
}

uint32_t Capped(uint32_t size) {
    return std::min(size, kMaxBuffer);
}

// The predefined roots are 32-bit values that Windows sign-extends into a
// 64-bit HKEY; every other key is the handle the system returned.
HKEY ToHkey(RegKey key) {
    if (key >= 0x80000000u && key <= 0x800000FFu) {
        const auto value = static_cast<LONG>(static_cast<uint32_t>(key));
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value));
    }
    return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
    return reinterpret_cast<RegKey>(key);
}

const char* OrNull(const std::string* text) {
    return text ? text->c_str() : nullptr;
}

}  // namespace

// --- process and system ------------------------------------------------------------

bool Win32Os::GetVersionEx(OsVersion& out) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    out.majorVersion = info.dwMajorVersion;
    out.minorVersion = info.dwMinorVersion;
    out.buildNumber = info.dwBuildNumber;
    out.platformId = info.dwPlatformId;
    out.csdVersion.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    return true;
}

bool Win32Os::GetVersionExtended(OsVersion& out) {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
#pragma GCC diagnostic pop
    out.majorVersion = info.dwMajorVersion;
    out.minorVersion = info.dwMinorVersion;
    out.buildNumber = info.dwBuildNumber;
    out.platformId = info.dwPlatformId;
    out.csdVersion.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    out.servicePackMajor = info.wServicePackMajor;
    out.servicePackMinor = info.wServicePackMinor;
    out.suiteMask = info.wSuiteMask;
    out.productType = info.wProductType;
    out.reserved = info.wReserved;
    return true;
}

// Both calls are missing from older systems' kernel32, so they are looked up
// at run time instead of being imported.
bool Win32Os::GetProductInfo(uint32_t osMajor, uint32_t osMinor, uint32_t spMajor, uint32_t spMinor,
                             uint32_t& product) {
    using Fn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
    const auto fn = win32::SystemFunction<Fn>(L"kernel32.dll", "GetProductInfo");
    if (!fn) return false;
    DWORD value = 0;
    if (!fn(osMajor, osMinor, spMajor, spMinor, &value)) return false;
    product = value;
    return true;
}

uint16_t Win32Os::NativeProcessorArchitecture() {
    using Fn = void(WINAPI*)(LPSYSTEM_INFO);
    const auto native = win32::SystemFunction<Fn>(L"kernel32.dll", "GetNativeSystemInfo");
    SYSTEM_INFO info{};
    if (native)
        native(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

int Win32Os::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

std::string Win32Os::SystemDirectory() {
    for (uint32_t size = MAX_PATH; size < (1u << 16); size *= 2) {
        std::vector<char> buffer = CallBuffer(size);
        UINT n = GetSystemDirectoryA(buffer.data(), size);
        if (n == 0) return {};
        if (n < size) return std::string(buffer.data(), n);
    }
    return {};
}

std::string Win32Os::ModuleFileName() {
    // The call truncates silently (and on old systems without a NUL) when the
    // buffer is too small; grow until the answer is shorter than the buffer.
    for (uint32_t size = MAX_PATH; size < (1u << 17); size *= 2) {
        std::vector<char> buffer = CallBuffer(size);
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (n == 0) return {};
        if (n < size) return std::string(buffer.data(), n);
    }
    return {};
}

std::string Win32Os::CommandLineArguments() {
    const char* line = GetCommandLineA();
    return line ? win32::ArgumentsAfterProgramName(line) : std::string();
}

bool Win32Os::GetFileVersion(const std::string& path, FileVersion& out) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return false;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &length) || !block ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, block, sizeof(info));
    if (info.dwSignature != 0xFEEF04BDu) return false;
    out.major = HIWORD(info.dwFileVersionMS);
    out.minor = LOWORD(info.dwFileVersionMS);
    out.build = HIWORD(info.dwFileVersionLS);
    out.revision = LOWORD(info.dwFileVersionLS);
    return true;
}

bool Win32Os::GetFileVersionString(const std::string& path, const std::string& name,
                                   std::wstring& out) {
    out.clear();
    // An empty name or one with a backslash would address a whole table.
    if (name.empty() || name.find('\\') != std::string::npos) return false;
    const std::wstring widePath = AnsiToWide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(widePath.c_str(), 0, size, data.data())) return false;

    // The string tables the translation list names, in its order; then the
    // two that resource editors write by default, for files whose list is
    // missing or names a table they lack.
    std::vector<DWORD> tables;
    void* block = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &block, &length) && block) {
        const UINT count = length / (2 * sizeof(WORD));
        for (UINT i = 0; i < count; ++i) {
            WORD pair[2];
            std::memcpy(pair, static_cast<const BYTE*>(block) + i * sizeof pair, sizeof pair);
            tables.push_back(MAKELONG(pair[1], pair[0]));  // language high, code page low
        }
    }
    tables.push_back(0x040904B0u);  // US English, Unicode
    tables.push_back(0x040904E4u);  // US English, Windows-1252
    const std::wstring wideName = AnsiToWide(name);
    for (DWORD table : tables) {
        wchar_t key[64];
        swprintf(key, sizeof key / sizeof key[0], L"\\StringFileInfo\\%08lx\\",
                 static_cast<unsigned long>(table));
        const std::wstring query = key + wideName;
        block = nullptr;
        length = 0;
        if (!VerQueryValueW(data.data(), query.c_str(), &block, &length) || !block) continue;
        // The length counts characters, with the terminator on some systems.
        const auto* text = static_cast<const wchar_t*>(block);
        out.assign(text, wcsnlen(text, length));
        return true;
    }
    return false;
}

bool Win32Os::GetUserName(std::string& out, uint32_t size) {
    out.clear();
    size = Capped(size);
    std::vector<char> buffer = CallBuffer(size);
    DWORD n = size;
    if (!GetUserNameA(buffer.data(), &n)) return false;
    out.assign(buffer.data(), strnlen(buffer.data(), size));
    return true;
}

// --- INI files -----------------------------------------------------------------------

uint32_t Win32Os::GetPrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& def, std::string& out, uint32_t size,
                                          const std::string& file) {
    out.clear();
    size = Capped(size);
    if (size == 0) return 0;
    std::vector<char> buffer = CallBuffer(size);
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                       size, file.c_str());
    n = std::min<DWORD>(n, size - 1);
    out.assign(buffer.data(), n);
    return n;
}

bool Win32Os::WritePrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string* value, const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), OrNull(value), file.c_str()) !=
           0;
}

// --- registry ------------------------------------------------------------------------

int32_t Win32Os::RegOpenKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                              RegKey& out) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(ToHkey(root), subkey.c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) out = FromHkey(key);
    return rc;
}

int32_t Win32Os::RegCreateKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                                RegKey& out, uint32_t& disposition) {
    HKEY key = nullptr;
    DWORD how = 0;
    LONG rc = RegCreateKeyExA(ToHkey(root), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              access, nullptr, &key, &how);
    if (rc == ERROR_SUCCESS) {
        out = FromHkey(key);
        disposition = how;
    }
    return rc;
}

int32_t Win32Os::RegSetValueEx(RegKey key, const std::string& name, uint32_t type,
                               const std::string& data) {
    if (data.size() > UINT32_MAX) return ERROR_INVALID_PARAMETER;
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

int32_t Win32Os::RegQueryValueEx(RegKey key, const std::string& name, uint32_t* type,
                                 std::string* data, uint32_t* size) {
    DWORD kind = REG_NONE;
    if (!data) {
        DWORD needed = 0;
        LONG rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &kind, nullptr,
                                   size ? &needed : nullptr);
        if (rc == ERROR_SUCCESS) {
            if (type) *type = kind;
            if (size) *size = needed;
        }
        return rc;
    }
    if (!size) return ERROR_INVALID_PARAMETER;
    const uint32_t capacity = Capped(*size);
    std::vector<char> buffer = CallBuffer(capacity);
    DWORD n = capacity;
    LONG rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &kind,
                               reinterpret_cast<BYTE*>(buffer.data()), &n);
    if (rc == ERROR_SUCCESS) {
        n = std::min<DWORD>(n, capacity);
        data->assign(buffer.data(), n);
        *size = n;
        if (type) *type = kind;
    } else if (rc == ERROR_MORE_DATA) {
        *size = n;
        if (type) *type = kind;
    }
    return rc;
}

int32_t Win32Os::RegEnumKeyEx(RegKey key, uint32_t index, std::string& name) {
    // A key name has at most 255 characters; in a double-byte code page
    // that can be twice as many bytes.
    char buffer[2 * 256];
    DWORD size = sizeof(buffer);
    LONG rc = RegEnumKeyExA(ToHkey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name.assign(buffer, std::min<DWORD>(size, sizeof(buffer)));
    return rc;
}

int32_t Win32Os::RegDeleteKey(RegKey root, const std::string& subkey) {
    return RegDeleteKeyA(ToHkey(root), subkey.c_str());
}

int32_t Win32Os::RegDeleteValue(RegKey key, const std::string& name) {
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

int32_t Win32Os::RegFlushKey(RegKey key) {
    return ::RegFlushKey(ToHkey(key));
}

int32_t Win32Os::RegCloseKey(RegKey key) {
    return ::RegCloseKey(ToHkey(key));
}

// --- files and folders ---------------------------------------------------------------

uint32_t Win32Os::GetFileAttributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool Win32Os::CreateDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

namespace {

// Both path conversions answer alike: the length without NUL when the path
// fits, the size needed (with NUL) when it does not, 0 on failure.
template <typename Convert>
uint32_t ConvertPath(Convert convert, const std::string& path, std::string& out, uint32_t size) {
    out.clear();
    size = Capped(size);
    std::vector<char> buffer = CallBuffer(size);
    DWORD n = convert(path.c_str(), buffer.data(), size);
    if (n == 0) return 0;
    if (n >= size) return n;
    out.assign(buffer.data(), n);
    return n;
}

}  // namespace

uint32_t Win32Os::GetLongPathName(const std::string& path, std::string& out, uint32_t size) {
    return ConvertPath(GetLongPathNameA, path, out, size);
}

uint32_t Win32Os::GetShortPathName(const std::string& path, std::string& out, uint32_t size) {
    return ConvertPath(GetShortPathNameA, path, out, size);
}

bool Win32Os::GetFullPathName(const std::string& path, std::string& out) {
    out.clear();
    // The answer is the needed size (with its NUL) while the buffer is too small.
    for (DWORD size = MAX_PATH;;) {
        std::vector<char> buffer = CallBuffer(size);
        const DWORD n = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
        if (n == 0) return false;
        if (n < size) {
            out.assign(buffer.data(), n);
            return true;
        }
        if (n > (1u << 16)) return false;
        size = n + 1;
    }
}

bool Win32Os::ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    return ReadFileStatus(path, bytes, maxBytes) == ERROR_SUCCESS;
}

int32_t Win32Os::ReadFileStatus(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    // Others may keep the file open for reading or writing (a log, say), or
    // replace it meanwhile; a file held exclusively fails to open, as does a
    // folder.
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return static_cast<int32_t>(GetLastError());
    LARGE_INTEGER length{};
    if (GetFileSizeEx(file.get(), &length) && length.QuadPart > 0)
        bytes.reserve(static_cast<std::size_t>(
            std::min<ULONGLONG>(static_cast<ULONGLONG>(length.QuadPart), maxBytes)));
    char chunk[65536];
    while (bytes.size() < maxBytes) {
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(sizeof(chunk), maxBytes - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, want, &got, nullptr)) {
            const DWORD error = GetLastError();
            bytes.clear();
            return static_cast<int32_t>(error != ERROR_SUCCESS ? error : ERROR_READ_FAULT);
        }
        if (got == 0) break;
        bytes.append(chunk, std::min(got, want));
    }
    return ERROR_SUCCESS;
}

namespace {

// How long a replace waits for readers that block it.
constexpr DWORD kReplaceWaitMs = 500;

// Writes all bytes to a new file and flushes them to the disk.
DWORD WriteThrough(const std::string& path, const std::string& bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &wrote, nullptr))
            return GetLastError();
        if (wrote == 0) return ERROR_WRITE_FAULT;
        done += wrote;
    }
    if (!FlushFileBuffers(file.get())) return GetLastError();
    return ERROR_SUCCESS;
}

}  // namespace

int32_t Win32Os::ReplaceFileContents(const std::string& path, const std::string& bytes) {
    // Windows refuses to replace a read-only file; Wine's rename would not,
    // and the file's owner made it read-only to keep it as it is.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
        if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
    }
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    // A name of its own for every save, so that two processes saving at the
    // same moment never write into one temporary file.
    char temp[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), "kel", 0, temp) == 0)
        return static_cast<int32_t>(GetLastError());
    DWORD error = WriteThrough(temp, bytes);
    // A reader that has the file open (without delete sharing on Windows;
    // at all under Wine) blocks the replace while it reads: a scanner, a
    // backup tool, a second Kelvra. Readers are quick; try again for a while.
    const DWORD start = GetTickCount();
    while (error == ERROR_SUCCESS) {
        if (MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            break;
        error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            GetTickCount() - start > kReplaceWaitMs)
            break;
        error = ERROR_SUCCESS;
        Sleep(1);
    }
    if (error != ERROR_SUCCESS) DeleteFileA(temp);
    return static_cast<int32_t>(error);
}

std::vector<std::string> Win32Os::FindFiles(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    win32::UniqueFind find(FindFirstFileA(pattern.c_str(), &found));
    if (!find) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    return names;
}

// --- drives and the DOS-device table ---------------------------------------------------

uint32_t Win32Os::GetLogicalDriveStrings(uint32_t size, std::string& out) {
    out.clear();
    size = Capped(size);
    std::vector<char> buffer = CallBuffer(size);
    DWORD n = GetLogicalDriveStringsA(size, buffer.data());
    if (n == 0) return 0;
    if (n >= size) return n;           // the size needed
    out.assign(buffer.data(), n + 1);  // the list and its closing NUL
    return n;
}

uint32_t Win32Os::GetDriveType(const std::string& root) {
    return GetDriveTypeA(root.c_str());
}

bool Win32Os::GetVolumeInformation(const std::string& root, std::string& label,
                                   std::string& fileSystem) {
    label.clear();
    fileSystem.clear();
    char name[MAX_PATH + 2] = {};
    char system[MAX_PATH + 2] = {};
    DWORD serial = 0;
    DWORD maxComponent = 0;
    DWORD flags = 0;
    if (!GetVolumeInformationA(root.c_str(), name, MAX_PATH + 1, &serial, &maxComponent, &flags,
                               system, MAX_PATH + 1))
        return false;
    label.assign(name, strnlen(name, MAX_PATH + 1));
    fileSystem.assign(system, strnlen(system, MAX_PATH + 1));
    return true;
}

uint32_t Win32Os::SetErrorMode(uint32_t mode) {
    return ::SetErrorMode(mode);
}

bool Win32Os::SetThreadErrorMode(uint32_t mode, uint32_t& previous) {
    DWORD old = 0;
    const bool ok = ::SetThreadErrorMode(mode, &old) != 0;
    previous = old;
    return ok;
}

bool Win32Os::DefineDosDevice(uint32_t flags, const std::string& device,
                              const std::string* target) {
    return DefineDosDeviceA(flags, device.c_str(), OrNull(target)) != 0;
}

uint32_t Win32Os::QueryDosDevice(const std::string& device, std::string& out, uint32_t size) {
    out.clear();
    size = Capped(size);
    std::vector<char> buffer = CallBuffer(size);
    DWORD n = QueryDosDeviceA(device.c_str(), buffer.data(), size);
    if (n == 0 || n > size) return 0;
    out.assign(buffer.data(), n);
    return n;
}

// --- network connections ----------------------------------------------------------------

uint32_t Win32Os::WNetAddConnection2(const NetResource& resource, const std::string* password,
                                     const std::string* user, uint32_t flags) {
    // The structure takes non-const pointers; give it copies it may not change.
    std::string local = resource.localName;
    std::string remote = resource.remoteName;
    NETRESOURCEA net{};
    net.dwType = resource.type;
    net.lpLocalName = local.empty() ? nullptr : local.data();
    net.lpRemoteName = remote.data();
    return WNetAddConnection2A(&net, OrNull(password), OrNull(user), flags);
}

uint32_t Win32Os::WNetCancelConnection(const std::string& name, bool force) {
    return WNetCancelConnection2A(name.c_str(), CONNECT_UPDATE_PROFILE, force ? TRUE : FALSE);
}

uint32_t Win32Os::WNetGetConnection(const std::string& localName, std::string& remoteName,
                                    uint32_t& size) {
    remoteName.clear();
    const uint32_t capacity = Capped(size);
    std::vector<char> buffer = CallBuffer(capacity);
    DWORD n = capacity;
    DWORD rc = WNetGetConnectionA(localName.c_str(), buffer.data(), &n);
    if (rc == ERROR_MORE_DATA) {
        size = n;
    } else if (rc == NO_ERROR || rc == static_cast<DWORD>(oserr::kConnectionUnavailable)) {
        // A remembered but unconnected letter still names its share.
        remoteName.assign(buffer.data(), strnlen(buffer.data(), capacity));
    }
    return rc;
}

// --- windows and processes -----------------------------------------------------------------

std::vector<TopWindow> Win32Os::TopLevelWindows() {
    std::vector<TopWindow> list;
    // Windows come and go during the walk; the bound keeps a changing chain
    // from turning into an endless loop.
    constexpr std::size_t kMaxWindows = 65536;
    for (HWND window = GetTopWindow(nullptr); window && list.size() < kMaxWindows;
         window = GetWindow(window, GW_HWNDNEXT)) {
        TopWindow entry;
        entry.handle = reinterpret_cast<std::uintptr_t>(window);
        int length = GetWindowTextLengthA(window);
        if (length > 0) {
            const uint32_t size = Capped(static_cast<uint32_t>(length) + 1);
            std::vector<char> buffer = CallBuffer(size);
            int n = GetWindowTextA(window, buffer.data(), static_cast<int>(size));
            if (n > 0) entry.title.assign(buffer.data(), std::min<uint32_t>(n, size - 1));
        }
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        entry.processId = processId;
        list.push_back(std::move(entry));
    }
    return list;
}

std::string Win32Os::ProcessExeName(uint32_t processId) {
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId)
            return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof(entry.szExeFile)));
    }
    return {};
}

void Win32Os::ActivateWindow(std::uintptr_t handle) {
    HWND window = reinterpret_cast<HWND>(handle);
    SetForegroundWindow(window);
    ShowWindow(window, SW_SHOWNORMAL);
}

// --- system code page ------------------------------------------------------------------------

std::wstring Win32Os::AnsiToWide(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), n);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::string Win32Os::WideToAnsi(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), n, nullptr, nullptr);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

bool Win32Os::WideToAnsiExact(const std::wstring& text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    if (text.size() > INT_MAX) return false;
    const int length = static_cast<int>(text.size());
    // UTF-8 as the system code page names every character and takes neither
    // the best-fit flag nor the used-default answer; it rejects lone surrogates.
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, used);
    if (n <= 0) return false;
    out.assign(static_cast<std::size_t>(n), '\0');
    usedDefault = FALSE;
    n = WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), n, nullptr, used);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return n > 0 && !usedDefault;
}

uint32_t Win32Os::CharUpperBuff(std::string& text) {
    if (text.empty() || text.size() > MAXDWORD) return 0;
    return CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace kelvra
