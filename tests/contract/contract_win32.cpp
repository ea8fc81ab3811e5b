// The contract environment on the real system (run under Wine): the Os is a
// Win32Os, and set-up and clean-up go straight to the Windows API so that
// they do not depend on the code under test.
#include <cctype>
#include <map>
#include <vector>

#include "contract/contract.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace kelvra::contract {
namespace {

using win32::UniqueCom;
using win32::UniqueFile;
using win32::UniqueFind;
using win32::UniqueKey;
using win32::UniqueLocal;

// Removes a folder with everything in it; read-only entries as well.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (find) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find.get(), &found));
    }
    find.Reset();
    RemoveDirectoryA(folder.c_str());
}

// Security descriptor text in, DACL applied to an open key; false on failure.
bool SetKeyDacl(HKEY root, const std::string& subkey, const char* sddl) {
    UniqueKey key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    UniqueLocal owner(descriptor);
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
}

HKEY RootKey(RegKey root) {
    switch (root) {
        case kHkeyClassesRoot:
            return HKEY_CLASSES_ROOT;
        case kHkeyLocalMachine:
            return HKEY_LOCAL_MACHINE;
        default:
            return HKEY_CURRENT_USER;
    }
}

// A name part made of the test's name: letters, digits and '-' only.
std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? info->name() : "none";
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    return name.substr(0, 40);
}

class WineEnvironment : public Environment {
  public:
    WineEnvironment() : pid_(std::to_string(GetCurrentProcessId())) {
        // The first program after a server start can run before Wine's mount
        // manager has listed the drives (seen on a loaded machine): wait for C:.
        static const bool ready = [] {
            for (int i = 0; i < 600 && !(GetLogicalDrives() & (1u << 2)); ++i) Sleep(100);
            return true;
        }();
        (void)ready;
    }

    ~WineEnvironment() override {
        // Letters a test handed out may still carry its definitions when it
        // failed half-way; the Wine server outlives this program.
        for (char letter : letters_) {
            const std::string device = std::string(1, letter) + ":";
            char answer[1024];
            for (int i = 0; i < 8 && QueryDosDeviceA(device.c_str(), answer, sizeof(answer)); ++i)
                DefineDosDeviceA(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
        }
        for (HWND window : windows_) DestroyWindow(window);
        for (const auto& entry : held_) CloseHandle(entry.second);
        for (const auto& [root, subkey] : denied_)
            SetKeyDacl(RootKey(root), subkey, "D:(A;;KA;;;WD)");
        for (const std::string& subkey : keys_) {
            RegDeleteTreeA(HKEY_CURRENT_USER, subkey.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, subkey.c_str());
        }
        for (const std::string& folder : folders_) RemoveTree(folder);
        if (!base_.empty()) RemoveDirectoryA(base_.c_str());  // only when now empty
    }

    Os& os() override { return os_; }
    bool IsWine() const override { return true; }

    std::string Scratch() override {
        if (base_.empty()) {
            char temp[MAX_PATH + 2] = {};
            DWORD n = GetTempPathA(MAX_PATH + 1, temp);
            if (n == 0 || n > MAX_PATH) {
                ADD_FAILURE() << "no temp folder";
                return "C:\\";
            }
            base_ = std::string(temp, n) + "kelvra-contract-" + pid_;
            CreateDirectoryA(base_.c_str(), nullptr);
        }
        const std::string folder =
            base_ + "\\" + CurrentTestName() + "-" + std::to_string(++count_);
        RemoveTree(folder);
        if (!CreateDirectoryA(folder.c_str(), nullptr))
            ADD_FAILURE() << "cannot make scratch folder " << folder;
        folders_.push_back(folder);
        return folder + "\\";
    }

    char FreeLetter() override {
        const DWORD used = GetLogicalDrives();
        for (char letter = 'Y'; letter > 'C'; --letter) {
            if (used & (1u << (letter - 'A'))) continue;
            char answer[1024];
            if (QueryDosDeviceA((std::string(1, letter) + ":").c_str(), answer, sizeof(answer)))
                continue;
            letters_.push_back(letter);
            return letter;
        }
        ADD_FAILURE() << "no free drive letter";
        return 0;
    }

    void MakeFile(const std::string& path, const std::string& bytes) override {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) ||
            written != bytes.size())
            ADD_FAILURE() << "cannot write " << path;
    }

    std::string ReadBytes(const std::string& path) override {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string bytes;
        if (!file) return bytes;
        char chunk[4096];
        DWORD got = 0;
        while (::ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0)
            bytes.append(chunk, got);
        return bytes;
    }

    void HoldFile(const std::string& path, bool held) override {
        if (!held) {
            auto it = held_.find(path);
            if (it != held_.end()) {
                CloseHandle(it->second);
                held_.erase(it);
            }
            return;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            ADD_FAILURE() << "cannot hold " << path;
        else
            held_[path] = file;
    }

    void MakeReadOnly(const std::string& path) override {
        if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY))
            ADD_FAILURE() << "cannot make " << path << " read-only";
    }

    std::string ScratchKey() override {
        const std::string subkey = "Software\\KelvraContract-" + pid_ + "-" + CurrentTestName() +
                                   "-" + std::to_string(++count_);
        RegDeleteTreeA(HKEY_CURRENT_USER, subkey.c_str());
        UniqueKey key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
            ADD_FAILURE() << "cannot make scratch key " << subkey;
        keys_.push_back(subkey);
        return subkey;
    }

    void DenyRegistryWrites(RegKey root, const std::string& subkey) override {
        // Everyone is refused setting values (0x2) and making subkeys (0x4)
        // and is allowed everything else; the DACL is protected from
        // inheritance so the deny entry is all that counts.
        if (!SetKeyDacl(RootKey(root), subkey, "D:P(D;;0x6;;;WD)(A;;KA;;;WD)"))
            ADD_FAILURE() << "cannot deny writes on " << subkey;
        denied_.emplace_back(root, subkey);
    }

    uint32_t ProcessId() override { return GetCurrentProcessId(); }

    std::string ExeName() override {
        char path[MAX_PATH + 2] = {};
        DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH + 1);
        std::string full(path, n <= MAX_PATH ? n : 0);
        std::size_t slash = full.find_last_of("\\/");
        return slash == std::string::npos ? full : full.substr(slash + 1);
    }

    std::uintptr_t MakeTopWindow(const std::string& title) override {
        static const char kClass[] = "KelvraContractWindow";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClass;
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        HWND window = CreateWindowExA(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window) windows_.push_back(window);
        return reinterpret_cast<std::uintptr_t>(window);
    }

    bool ReadLink(const std::string& path, LinkFields& out) override {
        const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        bool ok = false;
        {
            UniqueCom<IShellLinkW> link;
            UniqueCom<IPersistFile> file;
            wchar_t wide[MAX_PATH + 1] = {};
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, link.put())) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put())) &&
                SUCCEEDED(file->Load(wide, STGM_READ))) {
                wchar_t text[1024] = {};
                link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
                out.target = Narrow(text);
                text[0] = 0;
                link->GetDescription(text, 1024);
                out.description = text;
                text[0] = 0;
                link->GetArguments(text, 1024);
                out.arguments = Narrow(text);
                text[0] = 0;
                link->GetWorkingDirectory(text, MAX_PATH);
                out.workingFolder = Narrow(text);
                ok = true;
            }
        }
        if (com) CoUninitialize();
        return ok;
    }

  private:
    static std::string Narrow(const wchar_t* text) {
        char narrow[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow) - 1, nullptr, nullptr);
        return narrow;
    }

    Win32Os os_;
    std::string pid_;
    std::string base_;
    int count_ = 0;
    std::vector<std::string> folders_;
    std::vector<std::string> keys_;
    std::vector<std::pair<RegKey, std::string>> denied_;
    std::vector<char> letters_;
    std::vector<HWND> windows_;
    std::map<std::string, HANDLE> held_;
};

}  // namespace

std::unique_ptr<Environment> MakeEnvironment() {
    return std::make_unique<WineEnvironment>();
}

}  // namespace kelvra::contract
