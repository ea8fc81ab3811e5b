#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, NetworkCallsFailWithoutHarmForUnknownShares) {
    const char letter = env->FreeLetter();
    ASSERT_NE(letter, 0);
    const std::string device = std::string(1, letter) + ":";
    NetResource resource;
    resource.localName = device;
    resource.remoteName = "\\\\kelvra-no-such-server\\share";
    EXPECT_NE(os().WNetAddConnection2(resource, nullptr, nullptr, 0), 0u);
    EXPECT_EQ(os().GetDriveType(device + "\\"), kDriveNoRootDir);
    std::string list;
    os().GetLogicalDriveStrings(1024, list);
    EXPECT_EQ(list.find(device + "\\"), std::string::npos);

    std::string remote = "stale";
    uint32_t size = 260;
    EXPECT_NE(os().WNetGetConnection(device, remote, size), 0u);
    EXPECT_EQ(remote, "");
    EXPECT_NE(os().WNetCancelConnection(device, true), 0u);
}

TEST_F(ContractTest, NetworkConnectionOfALocalDriveIsAnError) {
    std::string remote = "stale";
    uint32_t size = 260;
    EXPECT_NE(os().WNetGetConnection("C:", remote, size), 0u);
    EXPECT_EQ(remote, "");
}

}  // namespace kelvra::contract
