// The sockets library's start and end.
#include <gtest/gtest.h>

#include "ContractEnv.h"

namespace {

TEST(SocketsContract, StartupSucceedsAgainAfterCleanup) {
    auto& sockets = contract::env().System().sockets();
    ASSERT_TRUE(sockets.Startup());
    sockets.Cleanup();
    ASSERT_TRUE(sockets.Startup());
    // A second start while started is counted by the library and needs its own end.
    EXPECT_TRUE(sockets.Startup());
    sockets.Cleanup();
    sockets.Cleanup();
}

}  // namespace
