// The main window watching the start-up places: a change reads its place again and rescans,
// the balloon names what is new, rows with a new entry are marked until clicked, and the option
// switches it all off.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/windows/main/EntryBalloon.h"
#include "unit/windows/AppTestSupport.h"

namespace {

using platform::RootKey;

const std::string kMissingRunKey = "Software\\Vendor\\Missing\\Run";
const std::string kStartupFolder = "C:\\Users\\bob\\Startup";
const std::string kTaskFolder = "C:\\WINDOWS\\Tasks";
const std::string kRunPlace = "HKEY_CURRENT_USER\\" + scantest::kRunKey;

class WatchTest : public apptest::AppTest {
protected:
    void SetUp() override {
        sys.fs().AddFile(scantest::kRulesPath,
                         scantest::RunRule() +
                             scantest::RegRule("Later", "HKEY_LOCAL_MACHINE", kMissingRunKey,
                                               "ENUM") +
                             scantest::PathRule("Startup", "FOL", "Users\\*USER*\\Startup") +
                             scantest::PathRule("Tasks", "FOL", "WINDOWS\\Tasks"));
        sys.users().SetUsers({"bob"});
        sys.fs().AddDirectory(kStartupFolder);
        sys.fs().AddDirectory(kTaskFolder);
        maintest::AddParent(sys);
    }
    // Every scan takes one process snapshot.
    std::size_t Scans() { return sys.procs().QuerySizes().size(); }
    std::vector<std::string> EntryBalloons() const {
        std::vector<std::string> texts;
        for (const platform::NotifyIconData& b : Balloons())
            if (b.infoTitle == zorvik::kEntryBalloonTitle) texts.push_back(b.infoText);
        return texts;
    }
    void DeleteRun(const std::string& name) {
        platform::RegKey key = platform::OpenKey(sys.registry(), RootKey::CurrentUser,
                                                 scantest::kRunKey, platform::KeyAccess::All);
        sys.registry().DeleteValue(key.get(), name);
    }
    platform::Colour RowColour(int row) { return Main().LstProcCustomDrawItem(row); }
};

TEST_F(WatchTest, EachChangeRescansOnceAndTheBalloonNamesWhatIsNew) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> balloons;
    };
    const Case cases[] = {
        {"a value added, naming a program that does not run",
         [this] { maintest::PutRun(sys, "Later", "C:\\Apps\\later.exe /quiet"); },
         {"New start-up entry: later.exe in " + kRunPlace}},
        {"its text changed",
         [this] { maintest::PutRun(sys, "Agent40", "\"C:\\Apps\\agent.exe\" -x"); },
         {"Changed start-up entry: agent.exe in " + kRunPlace}},
        {"a value removed", [this] { DeleteRun("Agent40"); }, {}},
        {"a key made under a missing parent",
         [this] {
             sys.reg().PutString(RootKey::LocalMachine, kMissingRunKey, "Deep", "C:\\deep.exe");
         },
         {"New start-up entry: deep.exe in HKEY_LOCAL_MACHINE\\" + kMissingRunKey}},
        {"a file in a start-up folder",
         [this] { sys.fs().AddFile(kStartupFolder + "\\bot.exe", "MZ"); },
         {"New start-up entry: bot.exe in " + kStartupFolder}},
        {"a task file",
         [this] { sys.fs().AddFile(kTaskFolder + "\\Update.job", "job"); },
         {"New start-up entry: update.job in " + kTaskFolder}},
        {"1,000 values in one burst",
         [this] {
             for (int i = 1000; i < 2000; ++i)
                 maintest::PutRun(sys, "Bot" + std::to_string(i), "C:\\b" + std::to_string(i));
         },
         {"New start-up entry: b1000 in " + kRunPlace + "\nNew start-up entry: b1001 in " +
          kRunPlace + "\nand 998 more"}},
    };
    // One run of the program, in the tray, sees the changes one after another.
    ListProgram();  // agent.exe, its Run value "Agent40"
    Start({"s"});
    ASSERT_TRUE(InTray());
    ASSERT_TRUE(Main().Watching());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t scans = Scans();
        const std::size_t balloons = EntryBalloons().size();
        c.change();
        gui.ProcessMessages();
        EXPECT_EQ(Scans(), scans + 1) << "one scan";
        EXPECT_EQ(Main().RulesReadLast(), 1u) << "the rule of the place that changed, alone";
        const std::vector<std::string> all = EntryBalloons();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(balloons),
                                           all.end()),
                  c.balloons);
    }
}

TEST_F(WatchTest, ARowWithANewEntryIsRedUntilClicked) {
    const maintest::Program other{41, "C:\\Apps\\other.exe"};
    ListProgram();
    ListProgram(other);
    Start();
    ASSERT_EQ(Main().LstProc.RowCount(), 2);
    EXPECT_EQ(RowColour(0), platform::kBlack) << "nothing is new at the first scan";

    maintest::PutRun(sys, "Again", "C:\\Apps\\agent.exe /again");
    gui.ProcessMessages();
    ASSERT_EQ(Main().LstProc.RowCaption(0), apptest::kAgent.path);
    EXPECT_EQ(RowColour(0), platform::kRed);
    EXPECT_EQ(RowColour(1), platform::kBlack);
    Main().BtnScanClick();
    EXPECT_EQ(RowColour(0), platform::kRed) << "until the user has seen it";

    gui.PressRow(Main().LstProc, platform::MouseButton::Left, 0);
    EXPECT_EQ(RowColour(0), platform::kBlack);
    Main().BtnScanClick();
    EXPECT_EQ(RowColour(0), platform::kBlack);
}

TEST_F(WatchTest, DisablingAnEntryIsNoNewsAndKeepsTheStartupListShown) {
    ListProgram();
    Start();
    gui.PressRow(Main().LstProc, platform::MouseButton::Left, 0);
    ASSERT_EQ(Main().LstStart.RowCount(), 1);
    Main().LstStart.SetSelectedRow(0);
    Main().DisableStartup1Click();
    const std::size_t scans = Scans();
    gui.ProcessMessages();
    EXPECT_EQ(Scans(), scans) << "the change the program made itself changed nothing to tell";
    EXPECT_TRUE(EntryBalloons().empty());
    EXPECT_EQ(Main().LstProc.SelectedRow(), 0);
    ASSERT_EQ(Main().LstStart.RowCount(), 1);
    EXPECT_EQ(Main().LstStartCustomDrawItem(0), platform::kGreen);
}

TEST_F(WatchTest, TheOptionSwitchesTheWatchOffAndOn) {
    Start();
    ASSERT_TRUE(Main().Watching());
    gui.Click(Op().ChkWatch);
    EXPECT_FALSE(Main().Watching());
    const std::size_t scans = Scans();
    maintest::PutRun(sys, "Later", "C:\\later.exe");
    gui.ProcessMessages();
    EXPECT_EQ(Scans(), scans) << "no watch, no scan";

    gui.Click(Op().ChkWatch);
    EXPECT_TRUE(Main().Watching());
    maintest::PutRun(sys, "Later", "C:\\later.exe /again");
    gui.ProcessMessages();
    EXPECT_EQ(Scans(), scans + 1);
    EXPECT_EQ(EntryBalloons().size(), 1u) << "new to the scan before";

    Main().Exit1Click();
    EXPECT_FALSE(Main().Watching());
}

}  // namespace
