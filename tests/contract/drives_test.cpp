#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, LogicalDriveStringsListRootsAndReportTheSizeNeeded) {
    std::string list;
    const uint32_t length = os().GetLogicalDriveStrings(1024, list);
    ASSERT_GT(length, 0u);
    ASSERT_EQ(length % 4, 0u);
    ASSERT_EQ(list.size(), length + 1u);
    for (uint32_t i = 0; i < length; i += 4) {
        EXPECT_TRUE(list[i] >= 'A' && list[i] <= 'Z') << list.substr(i, 3);
        EXPECT_EQ(list.substr(i + 1, 3), std::string(":\\\0", 3));
    }
    EXPECT_EQ(list.back(), '\0');
    EXPECT_NE(list.find(std::string("C:\\\0", 4)), std::string::npos);

    std::string exact;
    EXPECT_EQ(os().GetLogicalDriveStrings(length + 1, exact), length);
    EXPECT_EQ(exact, list);
    std::string small = "stale";
    EXPECT_EQ(os().GetLogicalDriveStrings(length, small), length + 1);
    EXPECT_EQ(small, "");
    EXPECT_EQ(os().GetLogicalDriveStrings(0, small), length + 1);
}

TEST_F(ContractTest, DriveTypesAndVolumes) {
    const char free = env->FreeLetter();
    ASSERT_NE(free, 0);
    const std::string freeRoot = std::string(1, free) + ":\\";
    EXPECT_EQ(os().GetDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(os().GetDriveType("c:\\"), kDriveFixed);
    EXPECT_EQ(os().GetDriveType(freeRoot), kDriveNoRootDir);

    std::string label = "stale";
    std::string fileSystem = "stale";
    EXPECT_TRUE(os().GetVolumeInformation("C:\\", label, fileSystem));
    EXPECT_FALSE(fileSystem.empty());
    EXPECT_FALSE(os().GetVolumeInformation(freeRoot, label, fileSystem));
    EXPECT_EQ(label, "");
    EXPECT_EQ(fileSystem, "");
}

TEST_F(ContractTest, ThreadErrorModeIsTheThreadsOwn) {
    const uint32_t process = os().SetErrorMode(0);
    uint32_t previous = 0xFFFF;
    ASSERT_TRUE(os().SetThreadErrorMode(kSemFailCriticalErrors, previous));
    EXPECT_EQ(previous & kSemFailCriticalErrors, 0u);
    uint32_t was = 0;
    EXPECT_FALSE(os().SetThreadErrorMode(0x0004, was));  // not a thread mode
    EXPECT_TRUE(os().SetThreadErrorMode(previous, was));
    EXPECT_EQ(was, kSemFailCriticalErrors);
    EXPECT_EQ(os().SetErrorMode(process), 0u);  // the process's mode stayed
}

}  // namespace kelvra::contract
