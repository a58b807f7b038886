// The scan reads the places once and matches every examined program in one pass; on each of
// these machines it must give the rows and findings that searching each program on its own
// gives (the reference search in ReferenceScan).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/ScanCycle.h"
#include "unit/engine/ReferenceScan.h"
#include "unit/windows/MainTestSupport.h"

namespace {

using maintest::Program;
using platform::RootKey;
using platform::sim::SimSystem;

constexpr std::uint32_t kListen = platform::kTcpStateListen;
const std::string kRunKey = scantest::kRunKey;
const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};
const Program kMyAlpha{30, "C:\\Other\\myalpha.exe"};
const Program kLong{40, "C:\\Apps\\LongProgramName.exe", true};
const Program kHijacked{60, "C:\\Apps\\hijacked.exe", true};

void PutRun(SimSystem& sys, const std::string& name, const std::string& command) {
    sys.reg().PutString(RootKey::CurrentUser, kRunKey, name, command);
}

void Own(SimSystem& sys, const Program& program, std::uint16_t port) {
    maintest::AddProcess(sys, program);
    sys.procs().AddSocket(program.pid, kListen, port);
}

struct Machine {
    const char* name;
    bool ignoreSafe;
    std::string rules;
    std::function<void(SimSystem&)> populate;
    std::size_t rows;  // how many rows the scan lists there, so that no case is empty
};

void PrintTo(const Machine& machine, std::ostream* os) { *os << machine.name; }

std::string Fol(const std::string& section, const std::string& path) {
    return scantest::PathRule(section, "FOL", path);
}

const std::vector<Machine>& Machines() {
    static const std::vector<Machine> machines = {
        {"SamePlaceTwice", false, scantest::RunRule("A") + scantest::RunRule("B"),
         [](SimSystem& sys) {
             Own(sys, kAlpha, 1);
             PutRun(sys, "Alpha", kAlpha.path);
         },
         1},
        {"FolderPerAccount", false,
         Fol("PerUser", "Documents and Settings\\*USER*\\Startup") + Fol("Shared", "Common"),
         [](SimSystem& sys) {
             sys.users().SetUsers({"alice", "bob"});
             Own(sys, kAlpha, 1);
             Own(sys, kBeta, 2);
             sys.fs().AddFile("C:\\Documents and Settings\\alice\\Startup\\alpha.exe", "x");
             sys.fs().AddFile("C:\\Documents and Settings\\bob\\Startup\\alpha.exe.bak", "x");
             sys.fs().AddFile("C:\\Documents and Settings\\bob\\Startup\\.beta.exe", "x");
             sys.fs().AddFile("C:\\Common\\beta.exe.lnk", "x");
         },
         2},
        {"DisabledAndEnabledMixed", false,
         scantest::RunRule() + scantest::IniRule("Load", "win.ini", "windows", "load") +
             scantest::PathRule("Batch", "FIL", "start.bat"),
         [](SimSystem& sys) {
             Own(sys, kAlpha, 1);
             Own(sys, kBeta, 2);
             PutRun(sys, "Off", kAlpha.path + ".bak /min");
             PutRun(sys, "On", kAlpha.path);
             PutRun(sys, "BetaOff", kBeta.path + ".bak");
             sys.fs().AddFile("C:\\WINDOWS\\win.ini", "[windows]\r\nload=beta.exe.bak alpha.exe\r\n");
             sys.fs().AddFile("C:\\start.bat", "alpha.exe.bak\r\nbeta.exe\nalpha.exe\r\n\x1a" "alpha.exe");
         },
         2},
        {"IgnoreSafe", true, scantest::RunRule(),
         [](SimSystem& sys) {
             Own(sys, kAlpha, 1);
             Own(sys, kBeta, 2);
             PutRun(sys, "AlphaOff", kAlpha.path + ".bak");
             PutRun(sys, "BetaOff", kBeta.path + ".bak");
             PutRun(sys, "BetaOn", kBeta.path);
             Own(sys, kHijacked, 3);
             PutRun(sys, "HijackedOff", kHijacked.path + ".bak");
         },
         2},  // beta, and the hijacked program with its disabled hit
        {"SubstringAndShortNames", false,
         scantest::RunRule() +
             scantest::RegRule("Services", "HKEY_LOCAL_MACHINE", "SYSTEM\\Svc", "ENUM2") +
             scantest::RegRule("Check", "HKEY_LOCAL_MACHINE", kRunKey, "CHECK", "Shell"),
         [](SimSystem& sys) {
             Own(sys, kAlpha, 1);
             Own(sys, kMyAlpha, 2);
             Own(sys, kLong, 3);
             sys.fs().SetShortName(kLong.path, "LONGPR~1.EXE");
             PutRun(sys, "My", "\"" + kMyAlpha.path + "\" /q");
             PutRun(sys, "Short", "C:\\APPS\\LONGPR~1.EXE.BAK");
             sys.reg().PutString(RootKey::LocalMachine, "SYSTEM\\Svc\\One", "Image", "longprogramname.exe");
             sys.reg().Put(RootKey::LocalMachine, "SYSTEM\\Svc\\One", "Start",
                           platform::RegType::Dword, std::string(4, '\2'));
             sys.reg().PutString(RootKey::LocalMachine, "SYSTEM\\Svc\\Two", "Image", "ALPHA.EXE");
             sys.reg().PutString(RootKey::LocalMachine, kRunKey, "Shell", "explorer.exe myalpha.exe");
         },
         3},
        {"ActiveSetupStubs", false, scantest::RunRule(),
         [](SimSystem& sys) {
             Own(sys, kAlpha, 1);
             PutRun(sys, "Alpha", kAlpha.path);
             PutRun(sys, "Tool", "C:\\Dir\\tool.exe.bak");
             sys.fs().AddFile("C:\\Dir\\tool.exe.bak", "MZ");
             maintest::PutStub(sys, "{A}", kAlpha.path + " /install");
             maintest::PutStub(sys, "{B}", "C:\\Dir\\tool.exe.bak /x");
             maintest::PutStub(sys, "{C}", kAlpha.path);
             maintest::PutStub(sys, "{D}", kAlpha.path);
             sys.reg().PutString(RootKey::LocalMachine, maintest::kComponents + "\\{D}",
                                 "IsInstalled", "0");
             maintest::PutStub(sys, "{E}", "C:\\Nowhere\\none.exe /x");
         },
         4},
    };
    return machines;
}

void ExpectSameRows(const zorvik::ProcessList& scan, const zorvik::ProcessList& reference) {
    ASSERT_EQ(scan.Count(), reference.Count());
    for (std::size_t i = 0; i < scan.Count(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const zorvik::ProcessRow& got = scan.At(i);
        const zorvik::ProcessRow& want = reference.At(i);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.pid, want.pid);
        EXPECT_EQ(got.details, want.details);
        ASSERT_TRUE(got.data && want.data);
        const zorvik::ProcInfo& a = *got.data;
        const zorvik::ProcInfo& b = *want.data;
        ASSERT_EQ(a.RegList.size(), b.RegList.size());
        for (std::size_t k = 0; k < a.RegList.size(); ++k) {
            EXPECT_EQ(a.RegList[k].Root, b.RegList[k].Root);
            EXPECT_EQ(a.RegList[k].Key, b.RegList[k].Key);
            EXPECT_EQ(a.RegList[k].Name, b.RegList[k].Name);
            EXPECT_EQ(a.RegList[k].Disabled, b.RegList[k].Disabled) << a.RegList[k].Name;
        }
        ASSERT_EQ(a.IniList.size(), b.IniList.size());
        for (std::size_t k = 0; k < a.IniList.size(); ++k) {
            EXPECT_EQ(a.IniList[k].FileName, b.IniList[k].FileName);
            EXPECT_EQ(a.IniList[k].Section, b.IniList[k].Section);
            EXPECT_EQ(a.IniList[k].Ident, b.IniList[k].Ident);
            EXPECT_EQ(a.IniList[k].Disabled, b.IniList[k].Disabled);
        }
        for (auto lists : {std::make_pair(&a.FolList, &b.FolList),
                           std::make_pair(&a.FilList, &b.FilList)}) {
            ASSERT_EQ(lists.first->size(), lists.second->size());
            for (std::size_t k = 0; k < lists.first->size(); ++k) {
                EXPECT_EQ((*lists.first)[k].Path, (*lists.second)[k].Path);
                EXPECT_EQ((*lists.first)[k].Disabled, (*lists.second)[k].Disabled) << k;
                EXPECT_EQ((*lists.first)[k].Entry, (*lists.second)[k].Entry) << k;
            }
        }
    }
}

class OnePassScanTest : public ::testing::TestWithParam<Machine> {};

TEST_P(OnePassScanTest, GivesTheRowsAndFindingsOfTheSearchOfEachProgramOnItsOwn) {
    const Machine& machine = GetParam();
    SimSystem sys;
    sys.fs().AddFile(scantest::kRulesPath, machine.rules);
    maintest::AddParent(sys);
    machine.populate(sys);
    scantest::SwitchOptions options;
    options.ignoreSafe = machine.ignoreSafe;
    const scantest::VectorTrustedList trusted;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);

    zorvik::ProcessList scan;
    zorvik::ProcessList reference;
    zorvik::ScanCycle(sys, table.get(), options, trusted, scan);
    scantest::ReferenceScanCycle(sys, *table, options, trusted, reference);

    EXPECT_EQ(scan.Count(), machine.rows);
    ExpectSameRows(scan, reference);
}

INSTANTIATE_TEST_SUITE_P(Machines, OnePassScanTest, ::testing::ValuesIn(Machines()),
                         [](const auto& info) { return std::string(info.param.name); });

// A table whose reading is followed by a change on the machine, as when a program starts or
// exits between the TCP table and the steps that follow it.
class ChangingTable : public platform::TcpTable {
public:
    ChangingTable(std::unique_ptr<platform::TcpTable> inner, std::function<void()> change)
        : inner_(std::move(inner)), change_(std::move(change)) {}
    bool Supports(platform::AddressFamily family) const override { return inner_->Supports(family); }
    std::optional<std::vector<platform::TcpRow>> Rows(platform::AddressFamily family) override {
        auto rows = inner_->Rows(family);
        if (change_) std::exchange(change_, nullptr)();
        return rows;
    }

private:
    std::unique_ptr<platform::TcpTable> inner_;
    std::function<void()> change_;
};

struct Change {
    const char* name;
    std::function<void(SimSystem&)> after;  // what happens once the table is read
};

class ScanWhileMachineChangesTest : public ::testing::TestWithParam<Change> {};

TEST_P(ScanWhileMachineChangesTest, ListsOnlyTheProgramsStillThereFromTheTable) {
    SimSystem sys;
    sys.fs().AddFile(scantest::kRulesPath, scantest::RunRule());
    maintest::AddParent(sys);
    Own(sys, kAlpha, 1);
    Own(sys, kBeta, 2);
    PutRun(sys, "Alpha", kAlpha.path);
    PutRun(sys, "Beta", kBeta.path);
    ChangingTable table(zorvik::LoadTcpTableEntry(sys), [&] { GetParam().after(sys); });
    scantest::SwitchOptions options;
    const scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;

    EXPECT_EQ(zorvik::ScanCycle(sys, &table, options, trusted, list), zorvik::ScanStatus::Done);

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).caption, kAlpha.path);
    EXPECT_EQ(list.At(0).details, scantest::Detected(1));
    ASSERT_EQ(list.At(0).data->RegList.size(), 1u);
    EXPECT_EQ(list.At(0).data->RegList[0].Name, "Alpha");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ScanWhileMachineChangesTest,
    ::testing::Values(
        Change{"BetaVanishesBeforeItsPathIsRead",
               [](SimSystem& sys) { sys.procs().RemoveProcess(kBeta.pid); }},
        Change{"GammaStartsAfterTheTableWasRead",
               [](SimSystem& sys) {
                   sys.procs().RemoveProcess(kBeta.pid);
                   const Program gamma{50, "C:\\Apps\\gamma.exe"};
                   Own(sys, gamma, 3);
                   PutRun(sys, "Gamma", gamma.path);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
