// The scan cycle: which socket owners are examined, in what order, and what their rows say.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "core/engine/ScanCycle.h"
#include "unit/windows/MainTestSupport.h"

namespace {

using maintest::Hijacked;
using maintest::Program;
using platform::AddressFamily;
using platform::TcpRow;
using scantest::Detected;

constexpr std::uint32_t kListen = platform::kTcpStateListen;
constexpr std::uint32_t kEstab = platform::kTcpStateEstab;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};

class ScanCycleTest : public scantest::ScanTest {
protected:
    void SetUp() override {
        WriteRules(scantest::RunRule());
        maintest::AddParent(sys);
    }

    // A running program, started with Windows through the Run key when named.
    void Start(const Program& program, const std::string& runName = "") {
        maintest::AddProcess(sys, program);
        if (!runName.empty()) PutRun(runName, program.path);
    }

    void AddV6Socket(std::uint32_t pid, std::uint32_t state, std::uint16_t port) {
        TcpRow row;
        row.family = AddressFamily::V6;
        row.state = state;
        row.owningPid = pid;
        row.localPort = port;
        sys.procs().AddTcpRow(row);
    }

    zorvik::ScanStatus Scan() {
        std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        return zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    }

    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.At(i).caption);
        return out;
    }

    scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;
};

TEST_F(ScanCycleTest, OneRowPerProcessAtItsFirstListeningOrConnectedSocket) {
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    // The table is sorted by local port; alpha's first socket is one that is not examined.
    sys.procs().AddSocket(kAlpha.pid, platform::kTcpStateTimeWait, 50);
    sys.procs().AddSocket(kBeta.pid, kListen, 60);
    for (std::uint16_t port : {70, 71, 72}) sys.procs().AddSocket(kAlpha.pid, kListen, port);
    for (std::uint16_t port : {80, 81}) sys.procs().AddSocket(kAlpha.pid, kEstab, port);

    EXPECT_EQ(Scan(), zorvik::ScanStatus::Done);

    ASSERT_EQ(Captions(), (std::vector<std::string>{kBeta.path, kAlpha.path}));
    const zorvik::ProcessRow& alpha = list.At(1);
    EXPECT_EQ(alpha.pid, "10");
    EXPECT_EQ(alpha.details, Detected(1));
    ASSERT_NE(alpha.data, nullptr);
    ASSERT_EQ(alpha.data->RegList.size(), 1u);
    EXPECT_EQ(alpha.data->RegList[0].Name, "Alpha");
}

TEST_F(ScanCycleTest, EachProcessIsExaminedOnceHoweverManySockets) {
    Start(kAlpha, "Alpha");
    sys.procs().AddSocket(kAlpha.pid, kListen, 70);
    Scan();
    const std::size_t opensForOneSocket = sys.procs().OpenAccesses().size();
    ASSERT_GT(opensForOneSocket, 0u);

    list.Clear();
    for (std::uint16_t port : {71, 72, 73, 74}) sys.procs().AddSocket(kAlpha.pid, kEstab, port);
    Scan();
    EXPECT_EQ(sys.procs().OpenAccesses().size(), 2 * opensForOneSocket);
    EXPECT_EQ(list.Count(), 1u);
}

TEST_F(ScanCycleTest, ProcessPassedOverIsNotRetriedAtItsLaterSockets) {
    sys.fs().AddFile(kAlpha.path, "MZ");
    platform::sim::SimProcess locked;
    locked.pid = kAlpha.pid;
    locked.imagePath = kAlpha.path;
    locked.openable = false;
    locked.openableLimited = false;
    sys.procs().AddProcess(locked);
    PutRun("Alpha", kAlpha.path);
    sys.procs().AddSocket(locked.pid, kListen, 70);
    sys.procs().AddSocket(locked.pid, kListen, 71);
    sys.procs().AddSocket(locked.pid, kEstab, 72);

    Scan();

    EXPECT_EQ(list.Count(), 0u);
    // One path lookup: the full try, then the limited one; never again for the other sockets.
    EXPECT_EQ(sys.procs().OpenAccesses().size(), 2u);
}

TEST_F(ScanCycleTest, SocketsInOtherStatesAreNotExamined) {
    Start(kAlpha, "Alpha");
    for (std::uint32_t state : {platform::kTcpStateTimeWait, platform::kTcpStateCloseWait,
                                platform::kTcpStateSynSent, platform::kTcpStateClosed, 3u + 1u})
        sys.procs().AddSocket(kAlpha.pid, state);

    Scan();

    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(sys.procs().OpenAccesses().empty()) << "no process was even opened";
}

TEST_F(ScanCycleTest, ProcessIdZeroIsNeverListed) {
    sys.procs().AddSocket(0, kListen);
    sys.procs().AddSocket(0, kEstab);
    PutRun("Idle", "C:\\WINDOWS\\idle.exe");
    Scan();
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ScanCycleTest, TrustedProgramIsNotListedEvenWhenItLooksHijacked) {
    Program program = kAlpha;
    program.hijacked = true;
    Start(program, "Alpha");
    sys.procs().AddSocket(program.pid, kListen);
    trusted.entries = {"c:\\APPS\\Alpha.EXE"};

    Scan();

    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ScanCycleTest, StartupsAndHijackGiveOneRowWithBothInTheDetails) {
    Program program = kAlpha;
    program.hijacked = true;
    Start(program, "Alpha");
    PutRun("Alpha2", program.path + " /min");
    sys.procs().AddSocket(program.pid, kListen);

    Scan();

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).details, Hijacked(Detected(2)));
    EXPECT_EQ(list.At(0).data->RegList.size(), 2u);
}

TEST_F(ScanCycleTest, HijackAloneGivesARowWithCountZeroAndEmptyFindings) {
    Program program = kAlpha;
    program.hijacked = true;
    Start(program);
    sys.procs().AddSocket(program.pid, kListen);

    Scan();

    ASSERT_EQ(list.Count(), 1u);
    const zorvik::ProcessRow& row = list.At(0);
    EXPECT_EQ(row.caption, program.path);
    EXPECT_EQ(row.pid, "10");
    EXPECT_EQ(row.details, Hijacked(Detected(0)));
    ASSERT_NE(row.data, nullptr);
    EXPECT_TRUE(row.data->RegList.empty());
    EXPECT_TRUE(row.data->IniList.empty());
    EXPECT_TRUE(row.data->FolList.empty());
    EXPECT_TRUE(row.data->FilList.empty());
}

// A process whose name cannot be read is no program "Unknown": a start-up that mentions the
// word does not make it a listed one.
TEST_F(ScanCycleTest, ProcessWithAnUnreadableNameIsNotSearchedAsUnknown) {
    platform::sim::SimProcess process;
    process.pid = 30;
    process.parentPid = maintest::kParentPid;
    process.imagePath = "C:\\Apps\\hidden.exe";
    process.fileNameReadable = false;
    process.imageNameReadable = false;
    sys.procs().AddProcess(process);
    sys.procs().AddSocket(process.pid, kListen);
    PutRun("Unknown", "C:\\Unknown\\unknown.exe");

    Scan();

    EXPECT_EQ(list.Count(), 0u);
}

// Flagged by the hijack test, the same process is listed, with none of the start-ups that
// the word "Unknown" would have matched.
TEST_F(ScanCycleTest, HijackedProcessWithAnUnreadableNameIsListedWithNoStartups) {
    platform::sim::SimProcess process;
    process.pid = 30;
    process.parentPid = maintest::kParentPid;
    process.imagePath = "C:\\Apps\\hidden.exe";
    process.fileNameReadable = false;
    process.imageNameReadable = false;
    process.threads = {maintest::kSuspendedAtStart, maintest::kRunning};
    sys.procs().AddProcess(process);
    sys.procs().AddSocket(process.pid, kListen);
    PutRun("Unknown", "C:\\Unknown\\unknown.exe");

    Scan();

    ASSERT_EQ(Captions(), (std::vector<std::string>{"Unknown"}));
    const zorvik::ProcessRow& row = list.At(0);
    EXPECT_EQ(row.details, Hijacked(Detected(0)));
    ASSERT_NE(row.data, nullptr);
    EXPECT_TRUE(row.data->RegList.empty());
}

TEST_F(ScanCycleTest, NoStartupsAndNoHijackGivesNoRow) {
    Start(kAlpha);
    sys.procs().AddSocket(kAlpha.pid, kListen);
    Scan();
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ScanCycleTest, AllDisabledWithIgnoreSafeIsListedOnlyWhenHijacked) {
    options.ignoreSafe = true;
    Start(kAlpha);
    PutRun("Alpha", kAlpha.path + ".bak");
    Program hijacked = kBeta;
    hijacked.hijacked = true;
    Start(hijacked);
    PutRun("Beta", kBeta.path + ".bak /x");
    sys.procs().AddSocket(kAlpha.pid, kListen, 70);
    sys.procs().AddSocket(kBeta.pid, kListen, 71);

    Scan();

    ASSERT_EQ(Captions(), (std::vector<std::string>{kBeta.path}));
    EXPECT_EQ(list.At(0).details, Hijacked(Detected(1)));
    ASSERT_EQ(list.At(0).data->RegList.size(), 1u);
    EXPECT_TRUE(list.At(0).data->RegList[0].Disabled);
}

TEST_F(ScanCycleTest, ListenerOnlyInTheIpv6TableIsFound) {
    Start(kAlpha, "Alpha");
    AddV6Socket(kAlpha.pid, kListen, 443);
    AddV6Socket(kBeta.pid, platform::kTcpStateTimeWait, 444);
    Start(kBeta, "Beta");

    Scan();

    EXPECT_EQ(Captions(), (std::vector<std::string>{kAlpha.path}));
}

TEST_F(ScanCycleTest, Ipv6RowsComeAfterIpv4RowsAndShareTheSeenList) {
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    AddV6Socket(kAlpha.pid, kListen, 10);
    AddV6Socket(kBeta.pid, kListen, 11);
    sys.procs().AddSocket(kBeta.pid, kEstab, 9000);

    Scan();

    EXPECT_EQ(Captions(), (std::vector<std::string>{kBeta.path, kAlpha.path}));
}

TEST_F(ScanCycleTest, LegacyTableFunctionListsIpv4Only) {
    sys.procs().SetTcpFunctions(/*extended=*/false, /*legacy=*/true);
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    AddV6Socket(kAlpha.pid, kListen, 443);
    sys.procs().AddSocket(kBeta.pid, kListen, 80);

    EXPECT_EQ(Scan(), zorvik::ScanStatus::Done);
    EXPECT_EQ(Captions(), (std::vector<std::string>{kBeta.path}));
}

TEST_F(ScanCycleTest, WithoutAnyTableFunctionNothingRunsNotEvenActiveSetup) {
    sys.procs().SetTcpFunctions(false, false);
    ASSERT_EQ(zorvik::LoadTcpTableEntry(sys), nullptr);
    Start(kAlpha, "Alpha");
    sys.procs().AddSocket(kAlpha.pid, kListen);
    maintest::PutStub(sys, "{A}", kAlpha.path + " /x");

    EXPECT_EQ(Scan(), zorvik::ScanStatus::NoTcpTable);
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ScanCycleTest, ActiveSetupRowsFollowTheSocketRows) {
    Start(kAlpha, "Alpha");
    sys.procs().AddSocket(kAlpha.pid, kListen);
    sys.fs().AddFile("C:\\Dir\\stub.exe", "MZ");
    maintest::PutStub(sys, "{A}", "C:\\Dir\\stub.exe /x");
    PutRun("Stub", "C:\\Dir\\stub.exe /x");

    Scan();

    ASSERT_EQ(Captions(), (std::vector<std::string>{kAlpha.path, "C:\\Dir\\stub.exe"}));
    EXPECT_EQ(list.At(1).pid, "-1");
}

// Options that fail when read for the second program, as a failing search would.
class FailingOptions : public zorvik::ScanOptions {
public:
    mutable int reads = 0;
    bool IgnoreSafe() const override {
        if (++reads == 2) throw std::runtime_error("search failed");
        return false;
    }
};

TEST_F(ScanCycleTest, ErrorInASearchEndsTheCycleKeepingEarlierRows) {
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    const Program gamma{30, "C:\\Apps\\gamma.exe"};
    Start(gamma, "Gamma");
    sys.procs().AddSocket(kAlpha.pid, kListen, 1);
    sys.procs().AddSocket(kBeta.pid, kListen, 2);
    sys.procs().AddSocket(gamma.pid, kListen, 3);
    maintest::PutStub(sys, "{A}", kAlpha.path + " /x");
    FailingOptions failing;

    std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    EXPECT_THROW(zorvik::ScanCycle(sys, table.get(), failing, trusted, list), std::runtime_error);

    EXPECT_EQ(Captions(), (std::vector<std::string>{kAlpha.path}));
    EXPECT_EQ(failing.reads, 2) << "gamma and the Active Setup check never ran";
}

TEST_F(ScanCycleTest, OneSnapshotPerCycleAndNothingLeftOpen) {
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    sys.procs().AddSocket(kAlpha.pid, kListen, 1);
    sys.procs().AddSocket(kBeta.pid, kListen, 2);
    std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);

    zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    zorvik::ScanCycle(sys, table.get(), options, trusted, list);

    EXPECT_EQ(list.Count(), 4u) << "the cycle only appends";
    EXPECT_EQ(sys.procs().QuerySizes().size(), 2u) << "one snapshot per cycle, not per process";
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

}  // namespace

TEST_F(ScanCycleTest, ListedProgramKeepsItsOwnSocketsOfBothTablesInEveryState) {
    Start(kAlpha, "Alpha");
    Start(kBeta, "Beta");
    sys.procs().AddSocket(kAlpha.pid, platform::kTcpStateTimeWait, 50);
    sys.procs().AddSocket(kAlpha.pid, kListen, 80);
    sys.procs().AddSocket(kBeta.pid, kListen, 81);
    AddV6Socket(kAlpha.pid, kEstab, 443);

    Scan();

    ASSERT_EQ(Captions(), (std::vector<std::string>{kAlpha.path, kBeta.path}));
    const std::vector<TcpRow>& alpha = list.At(0).sockets;
    ASSERT_EQ(alpha.size(), 3u);
    EXPECT_EQ(alpha[0].localPort, 50);
    EXPECT_EQ(alpha[0].state, platform::kTcpStateTimeWait);
    EXPECT_EQ(alpha[1].localPort, 80);
    EXPECT_EQ(alpha[2].family, AddressFamily::V6);
    EXPECT_EQ(alpha[2].localPort, 443);
    ASSERT_EQ(list.At(1).sockets.size(), 1u);
    EXPECT_EQ(list.At(1).sockets[0].localPort, 81);
}
