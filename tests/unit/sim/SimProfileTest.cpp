// The simulated profile functions where the exact bytes matter: the name-list buffer rule,
// the rewritten file, comments, lines outside sections, duplicate sections, locks.
#include <gtest/gtest.h>

#include "platform/sim/system/SimIni.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::sim::NamesThatFit;
using platform::sim::ProfileValueText;
using platform::sim::SimSystem;

// Three 8-letter sections ("section1\0section2\0section3\0\0" needs 28 bytes). Windows
// answers bufferSize - 2 for 29 bytes and less, and then the last name is left out.
TEST(SimProfileNamesTest, NameListBufferRule) {
    const std::vector<std::string> three = {"section1", "section2", "section3"};
    struct Case {
        std::size_t buffer;
        std::size_t kept;
    };
    for (const Case c : {Case{100, 3}, Case{30, 3}, Case{29, 2}, Case{28, 2}, Case{27, 2}, Case{21, 2},
                         Case{20, 1}, Case{19, 1}, Case{12, 1}, Case{11, 0}, Case{2, 0}, Case{0, 0}}) {
        auto kept = NamesThatFit(three, c.buffer);
        ASSERT_EQ(kept.size(), c.kept) << c.buffer;
        for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(kept[i], three[i]);
    }
    // After the first name that does not fit, no shorter one is taken either.
    EXPECT_EQ(NamesThatFit({"a", "a-much-longer-name", "b"}, 13), std::vector<std::string>{"a"});
}

TEST(SimProfileNamesTest, ValueTextRemovesQuotesWithinTheBuffer) {
    EXPECT_EQ(ProfileValueText("\"abc\"", 2048), "abc");
    EXPECT_EQ(ProfileValueText("'abc'", 2048), "abc");
    EXPECT_EQ(ProfileValueText("\"", 2048), "\"");
    EXPECT_EQ(ProfileValueText("\"\"", 2048), "");
    EXPECT_EQ(ProfileValueText("abcdef", 4), "abc");
    // A quoted value longer than the buffer loses its opening quote; the closing one is
    // beyond what is copied.
    EXPECT_EQ(ProfileValueText("\"abcdef\"", 4), "abc");
    EXPECT_EQ(ProfileValueText("\"ab\"", 4), "ab");
}

class SimProfileTest : public ::testing::Test {
protected:
    std::string Read(const std::string& section, const std::string& key) {
        return sys.profile().ReadString(kFile, section, key, "<default>");
    }
    static constexpr const char* kFile = "C:\\Zorvik\\Settings.ini";
    SimSystem sys;
};

TEST_F(SimProfileTest, WriteRewritesTheFileWithCrLfAndKeepsOtherLines) {
    sys.fs().AddFile(kFile, "; settings\n[GUI]\nClose=1\n\n[Core]\r\nIgnoreSafe=0");
    ASSERT_TRUE(sys.profile().WriteString(kFile, "gui", "Zoomed", "0"));
    ASSERT_TRUE(sys.profile().WriteString(kFile, "Core", "IgnoreSafe", "1"));
    ASSERT_TRUE(sys.profile().WriteString(kFile, "AutoScan", "Enabled", "1"));
    EXPECT_EQ(*sys.fs().Content(kFile),
              "; settings\r\n[GUI]\r\nClose=1\r\nZoomed=0\r\n\r\n[Core]\r\nIgnoreSafe=1\r\n"
              "[AutoScan]\r\nEnabled=1\r\n");
}

TEST_F(SimProfileTest, CommentsAndLinesBeforeTheFirstSectionAreNoKeys) {
    sys.fs().AddFile(kFile, "Stray=1\r\n[S]\r\n;Note=2\r\nReal=3\r\n  ; indented=4\r\n");
    EXPECT_EQ(sys.profile().KeyNames(kFile, "S"), std::vector<std::string>{"Real"});
    EXPECT_EQ(Read("S", ";Note"), "<default>");
    EXPECT_EQ(Read("", "Stray"), "<default>");
    EXPECT_EQ(Read("S", "Stray"), "<default>");
}

TEST_F(SimProfileTest, DuplicateSectionsAreListedButTheFirstIsRead) {
    sys.fs().AddFile(kFile, "[A]\r\nk=first\r\n[B]\r\n[a]\r\nk=second\r\nonly=here\r\n");
    EXPECT_EQ(sys.profile().SectionNames(kFile), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(Read("A", "k"), "first");
    EXPECT_EQ(Read("A", "only"), "<default>");
    ASSERT_TRUE(sys.profile().EraseSection(kFile, "a"));
    EXPECT_EQ(sys.profile().SectionNames(kFile), (std::vector<std::string>{"B", "a"}));
    EXPECT_EQ(Read("A", "k"), "second");
}

TEST_F(SimProfileTest, BareNamesFollowTheWindowsDirectory) {
    sys.fs().SetWindowsDirectory("D:\\WINNT");
    ASSERT_TRUE(sys.profile().WriteString("system.ini", "boot", "shell", "explorer.exe"));
    EXPECT_EQ(*sys.fs().Content("D:\\WINNT\\system.ini"), "[boot]\r\nshell=explorer.exe\r\n");
    EXPECT_EQ(sys.profile().ReadString("SYSTEM.INI", "Boot", "Shell", ""), "explorer.exe");
    EXPECT_FALSE(sys.fs().Exists("C:\\WINDOWS\\system.ini"));
}

TEST_F(SimProfileTest, RefusedAndImpossibleWrites) {
    sys.fs().AddFile(kFile, "[GUI]\r\nClose=1\r\n");
    sys.fs().Lock(kFile, true);
    EXPECT_FALSE(sys.profile().WriteString(kFile, "GUI", "Close", "0"));
    EXPECT_EQ(Read("GUI", "Close"), "<default>") << "a locked file cannot be read either";
    sys.fs().Lock(kFile, false);
    EXPECT_EQ(*sys.fs().Content(kFile), "[GUI]\r\nClose=1\r\n");

    ASSERT_TRUE(sys.fs().SetAttributes(kFile, platform::kAttrReadOnly));
    EXPECT_FALSE(sys.profile().EraseSection(kFile, "NotThere")) << "the file is opened for writing";
    EXPECT_FALSE(sys.profile().WriteString("C:\\Nowhere\\x.ini", "S", "k", "v"));
    EXPECT_FALSE(sys.profile().WriteString("", "S", "k", "v"));
}

TEST_F(SimProfileTest, EraseOnAMissingFileLeavesAnEmptyFile) {
    EXPECT_TRUE(sys.profile().EraseSection(kFile, "Trusted"));
    EXPECT_EQ(sys.fs().Content(kFile), std::optional<std::string>(""));
}

}  // namespace
