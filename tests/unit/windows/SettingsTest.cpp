// Settings.ini: read into the windows at creation and first show, written back at shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/settings/SettingsFile.h"
#include "unit/windows/AppTestSupport.h"

namespace {

using apptest::kSettingsPath;
using platform::NotifyAction;
using platform::MessageIcon;

TEST(SettingsFileTest, StoredNumbersReadAsDecimalOrHexOrTheFallback) {
    struct Case { std::string text; int value; };
    const Case cases[] = {
        {"0", 0}, {"729", 729}, {"-12", -12}, {"+7", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"0x1F", 31}, {"0X1f", 31}, {"0x7FFFFFFF", 2147483647}, {"0xFFFFFFFF", -1},
        // Not numbers: the fallback.
        {"", -99}, {"0x", -99}, {"0X", -99}, {"abc", -99}, {"12a", -99}, {"1 2", -99},
        {"-", -99}, {"2147483648", -99}, {"0x100000000", -99}, {"0xG", -99}, {"$10", -99},
        {"1.5", -99},
    };
    for (const Case& c : cases) EXPECT_EQ(zorvik::SettingsIntOf(c.text, -99), c.value) << c.text;
}

TEST(SettingsFileTest, TheFileLiesBesideTheProgram) {
    platform::sim::SimSystem sys;
    sys.fs().SetOwnPath("D:\\Tools\\Bot Finder\\Zorvik.exe");
    EXPECT_EQ(zorvik::SettingsFilePath(sys), "D:\\Tools\\Bot Finder\\Settings.ini");
}

class SettingsTest : public apptest::AppTest {};

TEST_F(SettingsTest, WithoutAFileEverythingHasItsDefaultAndTheFirstSaveMakesIt) {
    ASSERT_FALSE(SettingsText());
    Start();
    EXPECT_EQ(Form().OuterWidth(), 729);
    EXPECT_EQ(Form().OuterHeight(), 427);
    EXPECT_FALSE(Form().Maximised());
    EXPECT_EQ(Trust().Form().OuterWidth(), 345);
    EXPECT_EQ(Trust().Form().OuterHeight(), 259);
    EXPECT_FALSE(Op().ChkAutoScan.Checked());
    EXPECT_FALSE(Op().ChkMin.Checked());
    EXPECT_FALSE(Op().ChkStartWin.Checked());
    EXPECT_FALSE(Op().ChkIgnoreSafe.Checked());
    EXPECT_TRUE(Op().ChkWatch.Checked());
    EXPECT_TRUE(Main().Watching());
    EXPECT_EQ(Op().EdtInt.Text(), "0");
    EXPECT_EQ(Trust().Count(), 0u);
    EXPECT_TRUE(Main().ReadCloseTip()) << "the notice is wanted until clicked";
    EXPECT_FALSE(SettingsText()) << "nothing is written before the shutdown";

    Main().Exit1Click();
    ASSERT_TRUE(SettingsText()) << "the first save creates the file";
    EXPECT_EQ(Setting("AutoScan", "Enabled"), "0");
    EXPECT_EQ(Setting("AutoScan", "Interval"), "0");
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), "729");
    EXPECT_EQ(Setting("GUI", "frmTrustWidth"), "345");
    EXPECT_EQ(Setting("Core", "WatchPlaces"), "1");
    EXPECT_EQ(Setting("Core", "CloseTip"), "<none>") << "never written at shutdown";
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

TEST_F(SettingsTest, EverySettingIsLoadedIntoItsControl) {
    WriteSettings(
        "[AutoScan]\r\nEnabled=1\r\nInterval=45\r\n[GUI]\r\nClose=1\r\nfrmMainWidth=800\r\n"
        "frmMainHeight=0x1F4\r\nZoomed=0\r\nfrmTrustHeight=300\r\nfrmTrustWidth=400\r\n"
        "[Core]\r\nIgnoreSafe=7\r\nWatchPlaces=0\r\n[Trusted]\r\n0=C:\\Tools\\Agent.exe\r\n");
    Start();
    EXPECT_EQ(Form().OuterWidth(), 800);
    EXPECT_EQ(Form().OuterHeight(), 500) << "0x1F4";
    EXPECT_TRUE(Op().ChkAutoScan.Checked());
    EXPECT_TRUE(Op().EdtInt.Enabled()) << "checking the box ran its click handler";
    EXPECT_EQ(Op().EdtInt.Text(), "45");
    EXPECT_EQ(Op().UpInt.Position(), 45);
    EXPECT_TRUE(Op().ChkMin.Checked());
    EXPECT_TRUE(Op().ChkIgnoreSafe.Checked()) << "any value but 0";
    EXPECT_FALSE(Op().ChkWatch.Checked());
    EXPECT_FALSE(Main().Watching());
    EXPECT_EQ(Trust().Form().OuterHeight(), 300);
    EXPECT_EQ(Trust().Form().OuterWidth(), 400);
    ASSERT_EQ(Trust().Count(), 1u);
    EXPECT_EQ(Trust().Entry(0), "C:\\Tools\\Agent.exe");
}

TEST_F(SettingsTest, ABrokenSizeFallsBackToTheDefault) {
    WriteSettings("[GUI]\r\nfrmMainWidth=wide\r\nfrmMainHeight=\r\nfrmTrustWidth=12px\r\n");
    Start();
    EXPECT_EQ(Form().OuterWidth(), 729);
    EXPECT_EQ(Form().OuterHeight(), 427);
    EXPECT_EQ(Trust().Form().OuterWidth(), 345);
}

TEST_F(SettingsTest, AZoomedWindowOpensMaximisedWithoutReadingTheSize) {
    WriteSettings("[GUI]\r\nZoomed=1\r\nfrmMainWidth=900\r\nfrmMainHeight=600\r\n");
    Create();
    EXPECT_TRUE(Form().Maximised());
    EXPECT_NE(Form().OuterWidth(), 900);
    EXPECT_EQ(Form().OuterWidth(), platform::sim::kSimScreenWidth);
}

TEST_F(SettingsTest, TheIntervalShowsWhatTheArrowsHold) {
    struct Case { std::string stored; std::string shown; };
    const Case cases[] = {
        {"300", "300"},     // beyond the arrows' range of 0 to 100: kept
        {"70000", "4464"},  // the arrows' position is a 16-bit number
        {"-5", "-5"},
        {"0x10", "0"},      // the box holds seconds in decimal only
    };
    for (const Case& c : cases) {
        WriteSettings("[AutoScan]\r\nInterval=" + c.stored + "\r\n");
        Start();
        EXPECT_EQ(Op().EdtInt.Text(), c.shown) << c.stored;
        app.reset();
    }
}

TEST_F(SettingsTest, AnIntervalThatIsNoNumberReadsAsZeroAndTheRestStillLoads) {
    ListProgram();
    for (const std::string stored : {"", "abc", "12 s"}) {
        WriteSettings("[AutoScan]\r\nEnabled=1\r\nInterval=" + stored +
                      "\r\n[GUI]\r\nClose=1\r\nfrmTrustWidth=400\r\n[Core]\r\nIgnoreSafe=1\r\n");
        Start();
        EXPECT_TRUE(gui.MessageBoxes().empty()) << "'" << stored << "'";
        EXPECT_EQ(Op().EdtInt.Text(), "0") << "'" << stored << "'";
        EXPECT_TRUE(Op().ChkMin.Checked()) << "'" << stored << "'";
        EXPECT_TRUE(Op().ChkIgnoreSafe.Checked()) << "'" << stored << "'";
        EXPECT_EQ(Trust().Form().OuterWidth(), 400) << "'" << stored << "'";
        EXPECT_EQ(Main().LstProc.RowCount(), 1) << "the first scan ran for '" << stored << "'";
        app.reset();
        gui.ClearRecords();
    }
}

TEST_F(SettingsTest, TrustedKeysOfAnyNameLoadInFileOrderAndSaveAsNumbers) {
    WriteSettings("[Trusted]\r\nb=C:\\B.exe\r\na=C:\\A.exe\r\n7=\r\n");
    Start();
    ASSERT_EQ(Trust().Count(), 3u);
    EXPECT_EQ(Trust().Entry(0), "C:\\B.exe");
    EXPECT_EQ(Trust().Entry(1), "C:\\A.exe");
    EXPECT_EQ(Trust().Entry(2), "");

    Trust().Append("C:\\C.exe");
    Main().Exit1Click();
    EXPECT_EQ(sys.profile().KeyNames(kSettingsPath, "Trusted"),
              (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(Setting("Trusted", "0"), "C:\\B.exe");
    EXPECT_EQ(Setting("Trusted", "1"), "C:\\A.exe");
    EXPECT_EQ(Setting("Trusted", "2"), "");
    EXPECT_EQ(Setting("Trusted", "3"), "C:\\C.exe");
    EXPECT_EQ(Setting("Trusted", "a"), "<none>");
}

TEST_F(SettingsTest, ATrustedProgramLoadedAtTheFirstShowIsNotListed) {
    ListProgram();
    WriteSettings("[Trusted]\r\nx=" + apptest::kAgent.path + "\r\n");
    Start();
    EXPECT_EQ(Main().LstProc.RowCount(), 0);
}

TEST_F(SettingsTest, AnEmptyTrustedListRemovesTheSection) {
    WriteSettings("[Trusted]\r\n0=C:\\A.exe\r\n[GUI]\r\nClose=0\r\n");
    Start();
    Trust().LstProg.Clear();
    Main().Exit1Click();
    const std::vector<std::string> sections = sys.profile().SectionNames(kSettingsPath);
    EXPECT_EQ(std::count(sections.begin(), sections.end(), "Trusted"), 0);
    EXPECT_EQ(Setting("GUI", "Close"), "0");
}

TEST_F(SettingsTest, TheSaveWritesWhatTheControlsHoldNow) {
    Start();
    gui.Click(Op().ChkAutoScan);
    Op().EdtInt.SetText("");  // an emptied box is saved as it is
    gui.Click(Op().ChkMin);
    gui.Click(Op().ChkIgnoreSafe);
    gui.Click(Op().ChkWatch);
    gui.UserResize(Form(), 640, 480);
    gui.UserResize(Trust().Form(), 350, 270);
    // Closing with "Minimize on Close" checked goes to the tray; Exit ends the program.
    Main().Exit1Click();

    EXPECT_EQ(Setting("AutoScan", "Enabled"), "1");
    EXPECT_EQ(Setting("AutoScan", "Interval"), "");
    EXPECT_EQ(Setting("GUI", "Close"), "1");
    EXPECT_EQ(Setting("Core", "IgnoreSafe"), "1");
    EXPECT_EQ(Setting("Core", "WatchPlaces"), "0");
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), "640");
    EXPECT_EQ(Setting("GUI", "frmMainHeight"), "480");
    EXPECT_EQ(Setting("GUI", "Zoomed"), "0");
    EXPECT_EQ(Setting("GUI", "frmTrustHeight"), "270");
    EXPECT_EQ(Setting("GUI", "frmTrustWidth"), "350");

    // The emptied box starts the next run with no interval, and the run goes on normally.
    app.reset();
    Start();
    EXPECT_EQ(Op().EdtInt.Text(), "0");
    EXPECT_TRUE(Op().ChkMin.Checked());
}

TEST_F(SettingsTest, AMaximisedWindowSavesItsSizeWithZoomed) {
    Start();
    Form().SetMaximised(true);
    Main().Exit1Click();
    EXPECT_EQ(Setting("GUI", "Zoomed"), "1");
    EXPECT_EQ(Setting("GUI", "frmMainWidth"), std::to_string(platform::sim::kSimScreenWidth));
}

TEST_F(SettingsTest, AReadOnlyFileIsLeftAsItWasAndTheUserIsToldOnce) {
    const std::string before = "[Trusted]\r\n0=C:\\A.exe\r\n[AutoScan]\r\nEnabled=0\r\n";
    WriteSettings(before);
    ASSERT_TRUE(sys.fs().SetAttributes(kSettingsPath, platform::kAttrReadOnly));
    Start();
    gui.Click(Op().ChkAutoScan);
    Trust().Append("C:\\B.exe");
    Main().Exit1Click();

    EXPECT_EQ(*SettingsText(), before);
    ASSERT_EQ(gui.MessageBoxes().size(), 1u) << "the writes after the first refusal are skipped";
    const platform::sim::MessageBoxRecord& box = gui.MessageBoxes()[0];
    EXPECT_EQ(box.text, "Unable to save Settings");
    EXPECT_EQ(box.title, "ERROR");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.owner, "frmMain");
    EXPECT_EQ(NotifyCount(NotifyAction::Delete), 1) << "the shutdown goes on";
    EXPECT_TRUE(gui.Terminated());
}

TEST_F(SettingsTest, NothingIsSavedBeforeTheSettingsWereLoaded) {
    // The session ends before the window was ever shown: saving the controls' defaults would
    // wipe the user's trusted list.
    const std::string before = "[Trusted]\r\n0=C:\\A.exe\r\n";
    WriteSettings(before);
    Create();
    Form().Send(platform::kEndSessionMessage, 1, 0);
    EXPECT_EQ(*SettingsText(), before);
    EXPECT_EQ(NotifyCount(NotifyAction::Delete), 1) << "the rest of the shutdown runs";
}

TEST_F(SettingsTest, StartWithWindowsFollowsTheRunValueAndRewritesIt) {
    maintest::PutRun(sys, apptest::kOwnRunValue, "C:\\Old\\Zorvik.exe s");
    WriteSettings("[Options]\r\nStartWin=0\r\n");
    Start();
    EXPECT_TRUE(Op().ChkStartWin.Checked());
    const auto value =
        sys.reg().Get(platform::RootKey::CurrentUser, scantest::kRunKey, apptest::kOwnRunValue);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, std::string("\"C:\\Zorvik\\Zorvik.exe\" s") + '\0');
}

}  // namespace
