// The process menu's commands: Terminate Process, Add to Trusted Program List, Open Location.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::Program;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const Program kBeta{20, "C:\\Apps\\beta.exe"};

class ProcessActionsTest : public maintest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start(kAlpha);
        PutUserRun("Alpha", kAlpha.path);
        Start(kBeta);
        PutUserRun("Beta", kBeta.path);
        Rescan();
    }
    // Right-clicks the program's row and chooses the command; whileOpen runs with the menu open.
    void Choose(const std::string& path, std::uint32_t id, std::function<void()> whileOpen = {}) {
        const int row = ProcessRow(path);
        ASSERT_GE(row, 0) << path;
        gui.QueueMenuChoice(id, std::move(whileOpen));
        RightClick(row);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> out;
        for (int row = 0; row < frmMain.LstProc.RowCount(); ++row)
            out.push_back(frmMain.LstProc.RowCaption(row));
        return out;
    }
    std::vector<std::string> TrustedEntries() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < frmTrust.Count(); ++i) out.push_back(frmTrust.Entry(i));
        return out;
    }
    void ExpectBox(const std::string& text, const std::string& title, platform::MessageIcon icon) {
        ASSERT_EQ(BoxCount(), 1u);
        EXPECT_EQ(gui.MessageBoxes()[0].text, text);
        EXPECT_EQ(gui.MessageBoxes()[0].title, title);
        EXPECT_EQ(gui.MessageBoxes()[0].icon, icon);
        EXPECT_EQ(gui.MessageBoxes()[0].owner, "frmMain");
    }
};

// ---- Terminate Process -----------------------------------------------------------------------

TEST_F(ProcessActionsTest, TerminateEndsTheProcessThenRescansAfterTheBoxIsClosed) {
    std::vector<std::string> listedWhileBoxOpen;
    gui.WhileMessageBoxOpen = [&](const platform::sim::MessageBoxRecord&) {
        listedWhileBoxOpen = Listed();
    };

    Choose(kAlpha.path, zorvik::kTerminateProcessId);

    ExpectBox("Process Terminated", "Success", platform::MessageIcon::Information);
    EXPECT_FALSE(sys.procs().IsRunning(kAlpha.pid));
    EXPECT_EQ(listedWhileBoxOpen, (std::vector<std::string>{kAlpha.path, kBeta.path}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{kBeta.path}));
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
}

TEST_F(ProcessActionsTest, TerminateAsksForTheTerminateRightOnly) {
    // A service: the query and memory rights are refused, ending it is allowed.
    platform::sim::SimProcess service;
    service.pid = 30;
    service.imagePath = "C:\\Apps\\service.exe";
    service.openable = false;
    sys.fs().AddFile(service.imagePath, "MZ");
    sys.procs().AddProcess(service);
    sys.procs().AddSocket(service.pid, platform::kTcpStateListen, 5000);
    PutUserRun("Service", service.imagePath);
    Rescan();
    const std::size_t opensBefore = sys.procs().OpenAccesses().size();
    gui.WhileMessageBoxOpen = [&](const platform::sim::MessageBoxRecord&) {
        ASSERT_EQ(sys.procs().OpenAccesses().size(), opensBefore + 1);
        EXPECT_EQ(sys.procs().OpenAccesses().back(), platform::kProcessTerminate);
    };

    Choose(service.imagePath, zorvik::kTerminateProcessId);

    ExpectBox("Process Terminated", "Success", platform::MessageIcon::Information);
    EXPECT_FALSE(sys.procs().IsRunning(service.pid));
}

TEST_F(ProcessActionsTest, TerminateOfAProcessThatEndedMeanwhileSaysSoAndRescans) {
    sys.procs().RemoveProcess(kAlpha.pid);

    Choose(kAlpha.path, zorvik::kTerminateProcessId);

    ExpectBox("Unable to Terminate Process", "Error", platform::MessageIcon::Error);
    EXPECT_EQ(Listed(), (std::vector<std::string>{kBeta.path}));
}

TEST_F(ProcessActionsTest, TerminateRefusedLeavesTheProgramListed) {
    sys.procs().RemoveProcess(kAlpha.pid);
    platform::sim::SimProcess guarded;
    guarded.pid = kAlpha.pid;
    guarded.imagePath = kAlpha.path;
    guarded.terminable = false;
    sys.procs().AddProcess(guarded);
    sys.procs().AddSocket(kAlpha.pid, platform::kTcpStateListen, 1000);

    Choose(kAlpha.path, zorvik::kTerminateProcessId);

    ExpectBox("Unable to Terminate Process", "Error", platform::MessageIcon::Error);
    EXPECT_TRUE(sys.procs().IsRunning(kAlpha.pid));
    EXPECT_EQ(Listed(), (std::vector<std::string>{kAlpha.path, kBeta.path}));
}

// ---- Add to Trusted Program List -----------------------------------------------------------

TEST_F(ProcessActionsTest, AddToTrustedAppendsThePathAndRescans) {
    frmTrust.Append("C:\\Other\\tool.exe");

    Choose(kBeta.path, zorvik::kAddToTrustedId);

    EXPECT_EQ(TrustedEntries(), (std::vector<std::string>{"C:\\Other\\tool.exe", kBeta.path}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{kAlpha.path}));
    EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(ProcessActionsTest, AddToTrustedAddsAPathAlreadyOnTheListAgain) {
    // An Active Setup row is trusted by its path, while the check tests the whole command:
    // the row comes back after the rescan, and a second add repeats the entry.
    sys.fs().AddFile("C:\\Dir\\stub.exe", "MZ");
    maintest::PutStub(sys, "{A}", "C:\\Dir\\stub.exe /x");
    PutUserRun("Stub", "C:\\Dir\\stub.exe /x");
    Rescan();
    ASSERT_GE(ProcessRow("C:\\Dir\\stub.exe"), 0);

    Choose("C:\\Dir\\stub.exe", zorvik::kAddToTrustedId);
    ASSERT_GE(ProcessRow("C:\\Dir\\stub.exe"), 0) << "listed again after the rescan";
    Choose("C:\\Dir\\stub.exe", zorvik::kAddToTrustedId);

    EXPECT_EQ(TrustedEntries(), (std::vector<std::string>{"C:\\Dir\\stub.exe", "C:\\Dir\\stub.exe"}));
}

// ---- Open Location -------------------------------------------------------------------------

TEST_F(ProcessActionsTest, OpenLocationOpensTheFolderWithItsBackslashAndChangesNoList) {
    LeftClick(ProcessRow(kAlpha.path));
    const Program gamma{30, "C:\\Apps\\gamma.exe"};
    Start(gamma);
    PutUserRun("Gamma", gamma.path);  // would be listed by a rescan

    Choose(kAlpha.path, zorvik::kOpenLocationId);

    ASSERT_EQ(shell.Executions().size(), 1u);
    const platform::ShellExecuteRequest& open = shell.Executions()[0];
    EXPECT_EQ(open.owner, nullptr);
    EXPECT_EQ(open.verb, "OPEN");
    EXPECT_EQ(open.file, "C:\\Apps\\");
    EXPECT_EQ(open.parameters, "");
    EXPECT_EQ(open.directory, "");
    EXPECT_EQ(open.show, platform::kShowNormal);
    EXPECT_EQ(Listed(), (std::vector<std::string>{kAlpha.path, kBeta.path}));
    EXPECT_EQ(frmMain.LstStart.RowCount(), 1);
}

// ---- A rescan while the menu is open -------------------------------------------------------

TEST_F(ProcessActionsTest, CommandsFindNoRowAfterARescanWhileTheMenuWasOpen) {
    const auto rescan = [&] { frmMain.BtnScanClick(); };

    Choose(kAlpha.path, zorvik::kTerminateProcessId, rescan);
    Choose(kAlpha.path, zorvik::kAddToTrustedId, rescan);
    Choose(kAlpha.path, zorvik::kOpenLocationId, rescan);

    EXPECT_TRUE(sys.procs().IsRunning(kAlpha.pid));
    EXPECT_EQ(BoxCount(), 0u);
    EXPECT_EQ(frmTrust.Count(), 0u);
    EXPECT_TRUE(shell.Executions().empty());
    EXPECT_EQ(Listed(), (std::vector<std::string>{kAlpha.path, kBeta.path}));
}

TEST_F(ProcessActionsTest, CommandsWithNoSelectedRowDoNothing) {
    frmMain.LstProc.SetSelectedRow(-1);
    frmMain.TerminateProcess();
    frmMain.AddtoTrustedProgramList();
    frmMain.OpenLocation();
    EXPECT_EQ(BoxCount(), 0u);
    EXPECT_EQ(frmTrust.Count(), 0u);
    EXPECT_TRUE(shell.Executions().empty());
    EXPECT_TRUE(sys.procs().IsRunning(kAlpha.pid));
}

}  // namespace
