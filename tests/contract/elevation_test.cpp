#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, ElevationTypeAndItsSession) {
    const uint32_t type = os().TokenElevationType();
    EXPECT_TRUE(type == kElevationDefault || type == kElevationFull || type == kElevationLimited)
        << type;
    // Without a split token there is no other half in another session.
    if (type == kElevationDefault) {
        EXPECT_FALSE(os().LinkedTokenInOtherSession());
    }
    // Wine answers "full" for every program, but both halves of its token
    // share one session: every program sees the same letters.
    if (env->IsWine()) {
        EXPECT_FALSE(os().LinkedTokenInOtherSession());
    }
}

TEST_F(ContractTest, RemovingALogonTaskThatIsNotThereIsNoError) {
    const std::string name = "kelvra contract no such task";
    EXPECT_FALSE(os().LogonTaskExists(name));
    EXPECT_EQ(os().DeleteLogonTask(name), oserr::kSuccess);
}

TEST_F(ContractTest, SessionOnlyDisconnectOfAFreeLetterIsAnError) {
    const char letter = env->FreeLetter();
    ASSERT_NE(letter, 0);
    EXPECT_NE(os().WNetCancelConnectionHere(std::string(1, letter) + ":", true), 0u);
}

}  // namespace kelvra::contract
