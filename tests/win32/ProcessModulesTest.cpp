// The module services agree with what this process knows of itself.
#include <gtest/gtest.h>

#include "platform/System.h"
#include "platform/win32/WindowsApi.h"

namespace {

constexpr std::uint32_t kQueryAndRead = platform::kProcessQueryInformation | platform::kProcessVmRead;

TEST(ProcessModules, FirstModuleAndItsBaseAreThisProgramsImage) {
    auto system = platform::CreateSystem();
    auto& procs = system->processes();
    const auto image = reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(nullptr));

    auto process = platform::OpenProcess(procs, ::GetCurrentProcessId(), kQueryAndRead);
    ASSERT_TRUE(process);
    EXPECT_EQ(procs.FirstModule(process.get()), image);
    auto base = procs.FirstModuleBase(::GetCurrentProcessId());
    ASSERT_TRUE(base.has_value());
    EXPECT_EQ(*base, image);
}

TEST(ProcessModules, FullImageNameExistsFromVistaOn) {
    auto system = platform::CreateSystem();
    auto& procs = system->processes();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(::GetVersionExA(&version));
#pragma GCC diagnostic pop
    auto process = platform::OpenProcess(procs, ::GetCurrentProcessId(),
                                         platform::kProcessQueryLimitedInformation);
    ASSERT_TRUE(process);
    auto name = procs.FullImageName(process.get());
    if (version.dwMajorVersion < 6) {
        EXPECT_FALSE(name.has_value());
        return;
    }
    ASSERT_TRUE(name.has_value());
    char own[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    EXPECT_EQ(::lstrcmpiA(name->c_str(), own), 0) << *name;
}

}  // namespace
