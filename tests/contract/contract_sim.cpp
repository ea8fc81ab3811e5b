#include "contract/contract.h"
#include "sim/simulated_windows.h"

namespace kelvra::contract {
namespace {

class SimEnvironment : public Environment {
public:
    SimEnvironment() { sim_.AddFolder("C:\\Scratch"); }
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

private:
    sim::SimulatedWindows sim_;
    int count_ = 0;
};

}  // namespace

std::unique_ptr<Environment> MakeEnvironment() { return std::make_unique<SimEnvironment>(); }

}  // namespace kelvra::contract
