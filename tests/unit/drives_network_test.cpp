#include <gtest/gtest.h>

#include "drives/keywords.h"
#include "drives/network.h"
#include "drives/scan.h"
#include "drives_machine.h"

namespace kelvra::test {
namespace {

TEST(ConnectionPath, LetterFormsAndLocalPaths) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Connect(sim, 'N', "\\\\srv\\share"));
    struct Case {
        std::string path;
        std::string result;
    };
    const Case cases[] = {
        {"N", "\\\\srv\\share\\"},
        {"N:", "\\\\srv\\share\\"},
        {"n:", "\\\\srv\\share\\"},
        {"N:\\", "\\\\srv\\share\\"},
        {"N:\\Docs", "\\\\srv\\share\\Docs\\"},
        {"C:\\Data", "C:\\Data\\"},
        {"C:\\Data\\", "C:\\Data\\"},
        {"C", "C:\\"},
        {"Q:", "Q:\\"},
        {"\\\\srv\\share", "\\\\srv\\share\\"},
        {"", "\\"},
        {"\\", "\\:\\"},  // a single character always gets its colon
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ConnectionPath(sim, c.path), c.result);
    }
}

TEST(ConnectionPath, RememberedButUnconnectedLetterIsNoConnection) {
    sim::SimulatedWindows sim;
    RememberConnection(sim, 'J', "\\\\srv\\docs");
    EXPECT_EQ(ConnectionPath(sim, "J:"), "J:\\");
    EXPECT_FALSE(IsNetworkPath(sim, "J:"));
}

TEST(ConnectionPath, RemoteNameTooLongForTheBufferFallsBack) {
    sim::SimulatedWindows sim;
    const std::string remote = "\\\\srv\\" + std::string(520, 's');
    sim.AddShare(remote);
    ASSERT_TRUE(Connect(sim, 'N', remote));
    EXPECT_EQ(ConnectionPath(sim, "N:"), "N:\\");
}

TEST(IsNetworkPath, OnlyConnectedLettersAndUncPaths) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Connect(sim, 'N', "\\\\srv\\share"));
    ASSERT_TRUE(Subst(sim, 'D', "C:\\Data"));
    EXPECT_TRUE(IsNetworkPath(sim, "N:"));
    EXPECT_TRUE(IsNetworkPath(sim, "N:\\Folder"));
    EXPECT_TRUE(IsNetworkPath(sim, "\\\\srv\\share\\x"));
    for (const char* path : {"Q:", "C:", "D:", "D:\\", ""}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(IsNetworkPath(sim, path));
    }
}

TEST(ConnectNetworkDrive, PersistenceDecidesWhatTheNextScanSees) {
    for (bool persistent : {false, true}) {
        SCOPED_TRACE(persistent);
        TestMachine m;
        m.Started();
        m.sim.AddShare("\\\\srv\\share");
        ASSERT_TRUE(
            ConnectNetworkDrive(m.sim, "\\\\srv\\share", "N:", nullptr, nullptr, persistent));
        EXPECT_TRUE(m.sim.IsConnected('N'));
        EXPECT_EQ(m.sim.RegistryKeyExists(kHkeyCurrentUser, "Network\\N"), persistent);
        RefreshAll(m.program);
        const DriveRecord& row = m.program.drives.main[DriveIndexOf('N')];
        EXPECT_EQ(row.Type, "REMOTE");
        EXPECT_EQ(row.Path, "\\\\srv\\share");
        EXPECT_EQ(row.Permanent, persistent ? "YES" : "");
    }
}

TEST(ConnectNetworkDrive, TakesTheLetterFromTheFirstCharacter) {
    for (const char* local : {"N", "n:", "N:\\Folder"}) {
        SCOPED_TRACE(local);
        sim::SimulatedWindows sim;
        sim.AddShare("\\\\srv\\share");
        EXPECT_TRUE(ConnectNetworkDrive(sim, "\\\\srv\\share", local, nullptr, nullptr, false));
        EXPECT_TRUE(sim.IsConnected('N'));
    }
}

TEST(ConnectNetworkDrive, FailuresReportFalse) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    sim.ResetCalls();
    EXPECT_FALSE(ConnectNetworkDrive(sim, "\\\\srv\\share", "", nullptr, nullptr, true));
    EXPECT_EQ(sim.TotalCalls(), 0);
    EXPECT_FALSE(ConnectNetworkDrive(sim, "\\\\srv\\none", "N:", nullptr, nullptr, false));
    EXPECT_FALSE(ConnectNetworkDrive(sim, "\\\\srv\\share", "C:", nullptr, nullptr, false));
    EXPECT_FALSE(ConnectNetworkDrive(sim, "\\\\srv\\share", "1:", nullptr, nullptr, false));
    sim.Fail("WNetAddConnection2");
    EXPECT_FALSE(ConnectNetworkDrive(sim, "\\\\srv\\share", "N:", nullptr, nullptr, true));
    EXPECT_FALSE(sim.IsConnected('N'));
    EXPECT_FALSE(sim.RegistryKeyExists(kHkeyCurrentUser, "Network\\N"));
}

TEST(DisconnectNetworkDrive, ReturnsTheSystemsCode) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    ASSERT_TRUE(Connect(sim, 'N', "\\\\srv\\share"));
    EXPECT_EQ(DisconnectNetworkDrive(sim, "N:"), 0u);
    EXPECT_FALSE(IsNetworkPath(sim, "N:"));
    EXPECT_EQ(DisconnectNetworkDrive(sim, "N:"), static_cast<uint32_t>(oserr::kNotConnected));
}

}  // namespace
}  // namespace kelvra::test
