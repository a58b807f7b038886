// Verdicts on whole simulated machines under the shipped rules: Windows' own programs on a
// fresh Windows 10, the programs a typical user installs, and a bot passing for svchost.exe
// among them; and what the cache spares a second scan.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/engine/ScanCycle.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/base/AsciiLower.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupRows.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/machines/TypicalUserMachine.h"

namespace {

using zorvik::VerdictLevel;

std::string ShippedRules() {
    std::ifstream in(ZORVIK_SHIPPED_RULES, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Scan(platform::sim::SimSystem& sys, zorvik::ProcessList& list,
          zorvik::VerdictCache* cache = nullptr) {
    scantest::SwitchOptions options;
    scantest::VectorTrustedList trusted;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    zorvik::AddEvidence(sys, list, cache);
}

std::string Describe(const zorvik::ProcessRow& row) {
    std::string text = row.caption + ": " + zorvik::VerdictLevelName(row.verdict->level);
    for (const zorvik::VerdictReason& reason : row.verdict->reasons)
        text += "\n  " + reason.code + " " + reason.text;
    return text;
}

const zorvik::ProcessRow* RowOf(const zorvik::ProcessList& list, const std::string& caption) {
    for (std::size_t i = 0; i < list.Count(); ++i)
        if (list.At(i).caption == caption) return &list.At(i);
    return nullptr;
}

TEST(MachineVerdictTest, FreshWindows10ListsOnlyWindowsOwnPrograms) {
    platform::sim::SimSystem sys;
    machines::BuildFreshWindows10(sys, ShippedRules());
    zorvik::ProcessList list;
    Scan(sys, list);
    ASSERT_GT(list.Count(), 0u);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zorvik::ProcessRow& row = list.At(i);
        ASSERT_TRUE(row.verdict) << row.caption;
        EXPECT_EQ(row.startsOther.size(), zorvik::HitCount(*row.data)) << row.caption;
        // OneDrive comes with Windows 10 but is signed as Microsoft signs its applications.
        const bool oneDrive = row.caption.find("OneDrive.exe") != std::string::npos;
        EXPECT_EQ(row.verdict->level, oneDrive ? VerdictLevel::Verified : VerdictLevel::Windows)
            << Describe(row);
    }
}

TEST(MachineVerdictTest, TypicalUsersProgramsAreListedAndNoneIsSuspicious) {
    platform::sim::SimSystem sys;
    machines::BuildTypicalUserMachine(sys, ShippedRules());
    zorvik::ProcessList list;
    Scan(sys, list);
    for (const machines::InstalledApp& app : machines::InstalledApps())
        EXPECT_TRUE(RowOf(list, app.program.path)) << app.program.path << " is not listed";
    for (std::size_t i = 0; i < list.Count(); ++i) {
        ASSERT_TRUE(list.At(i).verdict) << list.At(i).caption;
        EXPECT_NE(list.At(i).verdict->level, VerdictLevel::Suspicious) << Describe(list.At(i));
    }
}

// The bot of the issue: svchost.exe in the user's AppData, started from a Run value, found in
// the ImagePath of every service svchost.exe hosts because they name "svchost.exe".
TEST(MachineVerdictTest, SvchostInAppDataIsSuspiciousAndTheServicesStartAnotherFile) {
    platform::sim::SimSystem sys;
    machines::BuildTypicalUserMachine(sys, ShippedRules());
    const std::string bot = machines::kRoamingAppData + "Microsoft\\svchost.exe";
    sys.fs().AddFile(bot, "MZ");
    platform::sim::SimProcess process;
    process.pid = 7000;
    process.imagePath = bot;
    sys.procs().AddProcess(process);
    sys.procs().AddSocket(7000, platform::kTcpStateListen, 6667);
    sys.reg().PutString(platform::RootKey::CurrentUser, scantest::kRunKey, "Host", bot);

    zorvik::ProcessList list;
    Scan(sys, list);

    const zorvik::ProcessRow* row = RowOf(list, bot);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->verdict->level, VerdictLevel::Suspicious);
    ASSERT_FALSE(row->verdict->reasons.empty());
    EXPECT_EQ(row->verdict->reasons[0].code, "masquerade") << Describe(*row);
    const std::vector<zorvik::StartupRow> hits = zorvik::StartupRowsOf(*row->data);
    ASSERT_EQ(row->startsOther.size(), hits.size());
    std::size_t services = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (hits[i].kind == zorvik::StartupKind::Svc) {
            ++services;
            EXPECT_EQ(zorvik::AsciiLower(row->startsOther[i]), "c:\\windows\\system32\\svchost.exe");
        } else {
            EXPECT_EQ(row->startsOther[i], "") << hits[i].caption;
        }
    }
    EXPECT_GT(services, 0u);
}

// A second scan with the cache verifies no file again; a file written since is read afresh.
TEST(MachineVerdictTest, TheCacheSparesUnchangedFilesOnly) {
    platform::sim::SimSystem sys;
    machines::BuildTypicalUserMachine(sys, ShippedRules());
    zorvik::VerdictCache cache;
    zorvik::ProcessList first;
    Scan(sys, first, &cache);
    const auto afterFirst = sys.facts().Asked();
    ASSERT_GT(afterFirst.signatures, 0);

    zorvik::ProcessList second;
    Scan(sys, second, &cache);
    const auto afterSecond = sys.facts().Asked();
    EXPECT_EQ(afterSecond.signatures, afterFirst.signatures);
    EXPECT_EQ(afterSecond.catalogs, afterFirst.catalogs);
    EXPECT_EQ(afterSecond.hashes, afterFirst.hashes);
    for (std::size_t i = 0; i < second.Count(); ++i)
        EXPECT_EQ(second.At(i).verdict->level, first.At(i).verdict->level) << second.At(i).caption;

    sys.fs().AddFile(machines::InstalledApps().front().program.path, "MZ changed");
    zorvik::ProcessList third;
    Scan(sys, third, &cache);
    EXPECT_EQ(sys.facts().Asked().hashes, afterSecond.hashes + 1);
}

}  // namespace
