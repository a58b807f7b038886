// Paging of the simulated user list: entry limits, the preferred length, resume indexes,
// failures from a given call on.
#include <gtest/gtest.h>

#include "platform/sim/system/SimSystem.h"

namespace {

using platform::kNetMoreData;
using platform::kNetSuccess;
using platform::sim::SimSystem;

std::vector<std::string> Users(int count, std::size_t nameLength) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string n = "u" + std::to_string(i);
        names.push_back(n + std::string(nameLength - n.size(), 'x'));
    }
    return names;
}

TEST(SimAccountsTest, PreferredLengthLimitsAPage) {
    // Each entry costs 24 bytes of record, its name in wide characters with a zero and two
    // empty wide strings: 8-letter names 46 bytes, 400 bytes hold 8; 40-letter names 110, 3.
    struct Case {
        std::size_t nameLength;
        std::uint32_t preferred;
        std::uint32_t requested;
        std::size_t expected;
    };
    for (const Case c : {Case{8, 400, 100, 8}, Case{40, 400, 100, 3}, Case{8, 400, 5, 5},
                         Case{8, 46, 100, 1}, Case{8, 45, 100, 1}, Case{8, 92, 100, 2}, Case{200, 400, 100, 1}}) {
        SimSystem sys;
        sys.users().SetUsers(Users(20, c.nameLength));
        auto page = sys.accounts().QueryDisplayUsers(0, c.requested, c.preferred);
        EXPECT_EQ(page.entries.size(), c.expected) << c.nameLength << "/" << c.preferred << "/" << c.requested;
        EXPECT_EQ(page.result, kNetMoreData);
    }
}

TEST(SimAccountsTest, ResumingWithTheNextIndexListsEveryoneOnceThenSucceeds) {
    SimSystem sys;
    const auto all = Users(25, 8);
    sys.users().SetUsers(all);
    std::vector<std::string> seen;
    std::uint32_t resume = 0;
    std::vector<std::uint32_t> results;
    for (int guard = 0; guard < 20; ++guard) {
        auto page = sys.accounts().QueryDisplayUsers(resume, 100, 400);
        results.push_back(page.result);
        for (const auto& e : page.entries) {
            EXPECT_GT(e.nextIndex, resume) << "indexes increase";
            seen.push_back(e.name);
            resume = e.nextIndex;
        }
        if (page.result != kNetMoreData) break;
    }
    EXPECT_EQ(seen, all);
    EXPECT_EQ(results, (std::vector<std::uint32_t>{kNetMoreData, kNetMoreData, kNetMoreData, kNetSuccess}));
    EXPECT_EQ(sys.users().CallCount(), 4);
}

TEST(SimAccountsTest, IndexesAreNotPositions) {
    SimSystem sys;
    sys.users().SetUsers({"Administrator", "Guest", "bob"});
    auto first = sys.accounts().QueryDisplayUsers(0, 1, 400);
    ASSERT_EQ(first.entries.size(), 1u);
    EXPECT_NE(first.entries[0].nextIndex, 1u) << "resuming with a count must not work by chance";
    auto second = sys.accounts().QueryDisplayUsers(first.entries[0].nextIndex, 5, 400);
    ASSERT_EQ(second.entries.size(), 2u);
    EXPECT_EQ(second.entries[0].name, "Guest");
    EXPECT_EQ(second.result, kNetSuccess);
    auto past = sys.accounts().QueryDisplayUsers(second.entries[1].nextIndex, 5, 400);
    EXPECT_TRUE(past.entries.empty());
    EXPECT_EQ(past.result, kNetSuccess);
}

TEST(SimAccountsTest, NoUsersIsOneSuccessfulEmptyPage) {
    SimSystem sys;
    auto page = sys.accounts().QueryDisplayUsers(0, 100, 400);
    EXPECT_EQ(page.result, kNetSuccess);
    EXPECT_TRUE(page.entries.empty());
}

TEST(SimAccountsTest, FailuresStartAtTheGivenCall) {
    SimSystem sys;
    sys.users().SetUsers(Users(30, 8));
    sys.users().FailFromCall(1, 5);
    auto first = sys.accounts().QueryDisplayUsers(0, 100, 400);
    EXPECT_EQ(first.result, kNetMoreData);
    EXPECT_EQ(first.entries.size(), 8u);
    for (int i = 0; i < 2; ++i) {
        auto failed = sys.accounts().QueryDisplayUsers(first.entries.back().nextIndex, 100, 400);
        EXPECT_EQ(failed.result, 5u);
        EXPECT_TRUE(failed.entries.empty());
    }
    EXPECT_EQ(sys.users().CallCount(), 3);
}

}  // namespace
