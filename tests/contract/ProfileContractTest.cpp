// Profile (INI) files read and written through the platform's profile services, with the
// reading rules of the system's profile functions.
#include <gtest/gtest.h>

#include "ContractEnv.h"
#include "WineQuirks.h"

namespace {

platform::Profile& Ini() { return contract::env().System().profile(); }
platform::Files& Fs() { return contract::env().System().files(); }

class ProfileContract : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = contract::env().ScratchDir();
        file_ = dir_ + "test.ini";
    }

    void WriteFile(const std::string& bytes) { ASSERT_TRUE(Fs().WriteAll(file_, bytes).ok); }
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& fallback = "<default>") {
        return Ini().ReadString(file_, section, key, fallback);
    }

    std::string dir_;
    std::string file_;
};

TEST_F(ProfileContract, ValuesLoseSurroundingBlanksAndOnePairOfQuotes) {
    WriteFile(
        "[Main]\r\n"
        "  Plain   =   value with  inner blanks   \r\n"
        "Double=\"quoted value\"\r\n"
        "Single='single'\r\n"
        "Padded=  \"  kept inside  \"  \r\n"
        "Twice=\"\"twice\"\"\r\n"
        "Open=\"no closing quote\r\n"
        "Mixed=\"mixed'\r\n"
        "Inner=a \"b\" c\r\n"
        "Lone=\"\r\n"
        "Empty=\r\n"
        "Tab=\tx\t\r\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Plain", "value with  inner blanks"},
        {"Double", "quoted value"},
        {"Single", "single"},
        {"Padded", "  kept inside  "},
        {"Twice", "\"twice\""},
        {"Open", "\"no closing quote"},
        {"Mixed", "\"mixed'"},
        {"Inner", "a \"b\" c"},
        {"Lone", "\""},
        {"Empty", ""},
        {"Tab", "x"},
    };
    for (const auto& [key, expected] : cases) EXPECT_EQ(Read("Main", key), expected) << key;
}

TEST_F(ProfileContract, SectionAndKeyNamesMatchWithoutRegardToCase) {
    WriteFile("[Core]\r\nIgnoreSafe=1\r\n[GUI]\r\nfrmMainWidth=900\r\n");
    EXPECT_EQ(Read("core", "IGNORESAFE"), "1");
    EXPECT_EQ(Read("gui", "FRMMAINWIDTH"), "900");
    EXPECT_EQ(Read("GUI", "IgnoreSafe"), "<default>") << "a key of another section";
}

TEST_F(ProfileContract, MissingFileSectionOrKeyGivesTheDefault) {
    WriteFile("[Here]\r\nKey=value\r\nNoEquals\r\n");
    EXPECT_EQ(Read("Here", "Other"), "<default>");
    EXPECT_EQ(Read("Elsewhere", "Key"), "<default>");
    EXPECT_EQ(Read("Here", "NoEquals"), "<default>") << "a line without '=' holds no value";
    EXPECT_EQ(Ini().ReadString(dir_ + "missing.ini", "Here", "Key", "fallback"), "fallback");
    EXPECT_EQ(Read("Here", "Other", ""), "");
    EXPECT_EQ(Read("Here", "Other", "trailing  "), "trailing") << "the default loses trailing blanks";
}

// A win.ini-style load= entry padded past any fixed buffer still names its program at the end.
TEST_F(ProfileContract, ValuesOfAnyLengthAreReadWhole) {
    std::string longValue;
    for (int i = 0; i < 3000; ++i) longValue += static_cast<char>('a' + i % 26);
    std::string padded = std::string(70000, ' ') + "x" + std::string(70000, ',') + "C:\\bot.exe";
    WriteFile("[Long]\r\nValue=" + longValue + "\r\nExact=" + longValue.substr(0, 2047) +
              "\r\nQuoted=\"" + longValue + "\"\r\nload=" + padded + "\r\n");
    EXPECT_EQ(Read("Long", "Value"), longValue);
    EXPECT_EQ(Read("Long", "Exact"), longValue.substr(0, 2047));
    EXPECT_EQ(Read("Long", "Quoted"), longValue);
    EXPECT_EQ(Read("Long", "load"), padded.substr(70000));
}

TEST_F(ProfileContract, NamesComeInFileOrderAndOnlyKeysWithValuesAreListed) {
    WriteFile(
        "[Zeta]\r\n"
        "b=1\r\n"
        "NoEquals\r\n"
        "A=2\r\n"
        "; a note\r\n"
        "\r\n"
        "c=\r\n"
        "[alpha]\r\n"
        "[Mid]\r\n"
        "x=y\r\n");
    EXPECT_EQ(Ini().SectionNames(file_), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(Ini().KeyNames(file_, "zeta"), (std::vector<std::string>{"b", "A", "c"}));
    EXPECT_TRUE(Ini().KeyNames(file_, "alpha").empty());
    EXPECT_TRUE(Ini().KeyNames(file_, "Missing").empty());
    EXPECT_TRUE(Ini().SectionNames(dir_ + "missing.ini").empty());
}

// 5,000 names of 50 characters need about 255,000 bytes, far past the first buffer: every
// one is listed, none cut short.
TEST_F(ProfileContract, NameListsHoldEveryWholeName) {
    const int count = 5000;
    auto nameAt = [](int i) {
        std::string n = "Name" + std::to_string(10000 + i);
        return n + std::string(50 - n.size(), 'x');
    };
    std::string sections, keys = "[Keys]\r\n";
    for (int i = 0; i < count; ++i) {
        sections += "[" + nameAt(i) + "]\r\n";
        keys += nameAt(i) + "=v\r\n";
    }
    WriteFile(keys + sections);

    auto sectionNames = Ini().SectionNames(file_);
    ASSERT_EQ(sectionNames.size(), count + 1u) << "Keys and all the others";
    EXPECT_EQ(sectionNames[0], "Keys");
    auto keyNames = Ini().KeyNames(file_, "Keys");
    ASSERT_EQ(keyNames.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(keyNames[i], nameAt(i));
        EXPECT_EQ(sectionNames[i + 1], nameAt(i));
    }
}

TEST_F(ProfileContract, WritesAddKeysAtTheEndOfTheirSectionAndSectionsAtTheEnd) {
    WriteFile("[First]\r\na=1\r\nb=2\r\n[Second]\r\nc=3\r\n");
    ASSERT_TRUE(Ini().WriteString(file_, "first", "New", "added"));
    ASSERT_TRUE(Ini().WriteString(file_, "Third", "d", "4"));
    ASSERT_TRUE(Ini().WriteString(file_, "FIRST", "a", "changed"));
    ASSERT_TRUE(Ini().WriteString(file_, "First", "B", "changed too"));

    EXPECT_EQ(Ini().SectionNames(file_), (std::vector<std::string>{"First", "Second", "Third"}));
    auto keys = Ini().KeyNames(file_, "First");
    ASSERT_EQ(keys.size(), 3u) << "an existing key, whatever its case, is not added again";
    EXPECT_EQ(keys[0], "a");
    EXPECT_TRUE(keys[1] == "b" || keys[1] == "B") << keys[1];
    EXPECT_EQ(keys[2], "New");
    EXPECT_EQ(Read("First", "New"), "added");
    EXPECT_EQ(Read("First", "a"), "changed");
    EXPECT_EQ(Read("First", "b"), "changed too");
    EXPECT_EQ(Read("Second", "c"), "3");
    EXPECT_EQ(Read("Third", "d"), "4");
}

TEST_F(ProfileContract, WritingCreatesTheFileAndEmptyValuesStay) {
    ASSERT_TRUE(Ini().WriteString(file_, "AutoScan", "Interval", ""));
    ASSERT_TRUE(Ini().WriteString(file_, "AutoScan", "Enabled", "1"));
    EXPECT_TRUE(Fs().Attributes(file_).has_value());
    EXPECT_EQ(Read("AutoScan", "Interval"), "") << "stored empty, not missing";
    EXPECT_EQ(Read("AutoScan", "Enabled"), "1");
    EXPECT_EQ(Ini().KeyNames(file_, "AutoScan"), (std::vector<std::string>{"Interval", "Enabled"}));
}

TEST_F(ProfileContract, WrittenValuesReadBackAsWritten) {
    const std::vector<std::string> values = {"C:\\Program Files\\Viewer\\view.exe", "300", "0",
                                             "a=b", "with ; semicolon"};
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(Ini().WriteString(file_, "Trusted", std::to_string(i), values[i]));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(Read("Trusted", std::to_string(i)), values[i]);
}

TEST_F(ProfileContract, EraseSectionRemovesItsKeysOnly) {
    WriteFile("[Trusted]\r\n0=a\r\n1=b\r\n[GUI]\r\nClose=1\r\n");
    EXPECT_TRUE(Ini().EraseSection(file_, "trusted"));
    EXPECT_EQ(Ini().SectionNames(file_), std::vector<std::string>{"GUI"});
    EXPECT_EQ(Read("Trusted", "0"), "<default>");
    EXPECT_EQ(Read("GUI", "Close"), "1");
    EXPECT_TRUE(Ini().EraseSection(file_, "NotThere"));
    EXPECT_EQ(Read("GUI", "Close"), "1");

    // Rewritten after the erase, the section comes back at the end.
    ASSERT_TRUE(Ini().WriteString(file_, "Trusted", "0", "c"));
    EXPECT_EQ(Ini().SectionNames(file_), (std::vector<std::string>{"GUI", "Trusted"}));
    EXPECT_EQ(Ini().KeyNames(file_, "Trusted"), std::vector<std::string>{"0"});
}

TEST_F(ProfileContract, ReadOnlyFileRefusesWrites) {
    WriteFile("[GUI]\r\nClose=1\r\n");
    ASSERT_TRUE(Fs().SetAttributes(file_, platform::kAttrReadOnly));
    if (contract::RunningUnderWine() && Fs().WriteAll(file_, "[GUI]\r\nClose=1\r\n").ok) {
        Fs().SetAttributes(file_, platform::kAttrNormal);
        GTEST_SKIP() << "Wine keeps the read-only flag as file permissions, which root ignores";
    }
    EXPECT_FALSE(Ini().WriteString(file_, "GUI", "Close", "0"));
    EXPECT_FALSE(Ini().WriteString(file_, "New", "Key", "1"));
    EXPECT_EQ(Read("GUI", "Close"), "1");
    EXPECT_EQ(Read("New", "Key"), "<default>");
    ASSERT_TRUE(Fs().SetAttributes(file_, platform::kAttrNormal));
}

TEST_F(ProfileContract, BareFileNameLiesInTheWindowsDirectory) {
    // A name as unique as the scratch folder's own.
    std::string folder = dir_.substr(0, dir_.size() - 1);
    std::string bare = folder.substr(folder.rfind('\\') + 1) + ".ini";
    std::string windowsDir = Fs().WindowsDirectory();
    std::string full = windowsDir + (windowsDir.back() == '\\' ? "" : "\\") + bare;
    ASSERT_FALSE(Fs().Attributes(full).has_value()) << full;

    if (!Ini().WriteString(bare, "Section", "Key", "in windows dir"))
        GTEST_SKIP() << "this account may not write to the Windows directory";
    std::string bytes;
    bool written = Fs().ReadAll(full, bytes).ok;
    std::string bare_read = Ini().ReadString(bare, "Section", "Key", "");
    std::string full_read = Ini().ReadString(full, "Section", "Key", "");
    Fs().Delete(full);

    EXPECT_TRUE(written) << full;
    EXPECT_NE(bytes.find("in windows dir"), std::string::npos);
    EXPECT_EQ(bare_read, "in windows dir");
    EXPECT_EQ(full_read, "in windows dir");
}

}  // namespace
