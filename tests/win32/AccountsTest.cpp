// The account list names the user running the tests, in the ANSI code page.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/System.h"
#include "platform/win32/WindowsApi.h"

namespace {

TEST(Accounts, ListIncludesTheCurrentUser) {
    char user[257] = {};
    DWORD size = sizeof user;
    ASSERT_TRUE(::GetUserNameA(user, &size));
    auto system = platform::CreateSystem();
    std::vector<std::string> names;
    std::uint32_t resume = 0;
    for (int call = 0; call < 1000; ++call) {
        auto page = system->accounts().QueryDisplayUsers(resume, 100, 400);
        for (const auto& entry : page.entries) {
            names.push_back(entry.name);
            resume = entry.nextIndex;
        }
        if (page.result != platform::kNetMoreData || page.entries.empty()) break;
    }
    auto same = [&](const std::string& name) { return ::lstrcmpiA(name.c_str(), user) == 0; };
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), same)) << "no account named " << user;
}

}  // namespace
