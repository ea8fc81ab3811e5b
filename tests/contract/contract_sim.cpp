#include "contract/contract.h"
#include "sim/simulated_windows.h"

namespace kelvra::contract {
namespace {

constexpr uint32_t kSelfProcessId = 4242;
constexpr char kSelfExe[] = "kelvra_tests.exe";

class SimEnvironment : public Environment {
  public:
    SimEnvironment() {
        sim_.AddFolder("C:\\Scratch");
        sim_.AddTopWindow(0x4242, "Contract", kSelfProcessId, kSelfExe);
        sim_.SetFileVersion(sim_.SystemDirectory() + "\\kernel32.dll", {5, 1, 2600, 5512});
        // What contract_version.rc gives the test program under Wine.
        sim_.SetFileVersionString(sim_.ModuleFileName(), "LegalCopyright",
                                  L"Copyright \u00A9 Kelvra contract");
        sim_.SetFileVersionString(sim_.ModuleFileName(), "Comments", L"");
    }
    Os& os() override { return sim_; }
    std::string Scratch() override {
        const std::string folder = "C:\\Scratch\\t" + std::to_string(++count_);
        sim_.AddFolder(folder);
        return folder + "\\";
    }
    bool IsWine() const override { return false; }
    char FreeLetter() override {
        for (char letter = 'Z'; letter > 'C'; --letter) {
            std::string ignored;
            if (sim_.GetDriveType(std::string(1, letter) + ":\\") == kDriveNoRootDir &&
                sim_.QueryDosDevice(std::string(1, letter) + ":", ignored, 260) == 0)
                return letter;
        }
        return 0;
    }
    void MakeFile(const std::string& path, const std::string& bytes) override {
        sim_.AddFile(path, bytes);
    }
    std::string ReadBytes(const std::string& path) override { return sim_.FileContents(path); }
    void HoldFile(const std::string& path, bool held) override { sim_.HoldFile(path, held); }
    void MakeReadOnly(const std::string& path) override { sim_.SetFolderReadOnly(path); }
    std::string ScratchKey() override {
        const std::string subkey = "Software\\KelvraContract\\k" + std::to_string(++count_);
        RegKey key = 0;
        uint32_t disposition = 0;
        if (sim_.RegCreateKeyEx(kHkeyCurrentUser, subkey, 0x3F, key, disposition) == 0)
            sim_.RegCloseKey(key);
        return subkey;
    }
    void DenyRegistryWrites(RegKey root, const std::string& subkey) override {
        sim_.DenyRegistryWrites(root, subkey);
    }
    uint32_t ProcessId() override { return kSelfProcessId; }
    std::string ExeName() override { return kSelfExe; }
    std::uintptr_t MakeTopWindow(const std::string& title) override {
        const std::uintptr_t handle = 0x5000 + ++count_;
        sim_.AddTopWindow(handle, title, kSelfProcessId, kSelfExe);
        return handle;
    }

    bool ReadLink(const std::string& path, LinkFields& out) override {
        sim::SimulatedWindows::ShellLink link;
        if (!sim_.ReadShellLink(path, link)) return false;
        out = LinkFields{link.target, link.description, link.arguments, link.workingFolder};
        return true;
    }

  private:
    sim::SimulatedWindows sim_;
    int count_ = 0;
};

}  // namespace

std::unique_ptr<Environment> MakeEnvironment() {
    return std::make_unique<SimEnvironment>();
}

}  // namespace kelvra::contract
