// A scan of a fresh Windows 10, which runs no bot: what it lists is noise. The rules shipped
// today must list no program the rules shipped before did not: a place Windows itself fills
// (a service's DLL, an LSA package, a print monitor, an accessibility program) must not list
// one of Windows' own programs by itself.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "core/engine/ScanCycle.h"
#include "core/engine/startup/StartupKinds.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/machines/FreshWindows10.h"

namespace {

std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The programs a scan with the rules lists, each with its hits.
std::multiset<std::string> Listed(const std::string& rules, std::size_t& hits) {
    platform::sim::SimSystem sys;
    machines::BuildFreshWindows10(sys, rules);
    scantest::SwitchOptions options;
    scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    std::multiset<std::string> listed;
    hits = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        listed.insert(list.At(i).caption);
        hits += zorvik::HitCount(*list.At(i).data);
    }
    return listed;
}

TEST(FreshWindowsNoiseTest, TodaysRulesListNoProgramTheClassicRulesDidNot) {
    const std::string classic = FileText(ZORVIK_CLASSIC_RULES);
    const std::string today = FileText(ZORVIK_SHIPPED_RULES);
    ASSERT_FALSE(classic.empty());
    ASSERT_FALSE(today.empty());
    std::size_t classicHits = 0;
    std::size_t todayHits = 0;

    const std::multiset<std::string> before = Listed(classic, classicHits);
    const std::multiset<std::string> after = Listed(today, todayHits);

    std::cout << "note: a fresh Windows 10 lists " << before.size() << " programs (" << classicHits
              << " start-up entries) with the classic rules, " << after.size() << " ("
              << todayHits << ") with today's\n";
    EXPECT_EQ(after, before);
    // Windows' own socket owners the rules name nowhere stay unlisted either way.
    EXPECT_EQ(after.count(machines::kSystem32 + "services.exe"), 0u);
    EXPECT_EQ(after.count(machines::kSystem32 + "wininit.exe"), 0u);
}

}  // namespace
