// File services in scratch folders: listings, attributes, short and long names, reads at an
// offset, whole-file reads and writes with their error codes, moves.
#include <gtest/gtest.h>

#include <set>

#include "ContractEnv.h"
#include "WineQuirks.h"

namespace {

using platform::FindEntry;
using platform::kAttrDirectory;
using platform::kAttrReadOnly;

platform::Files& Fs() { return contract::env().System().files(); }

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// At most eight characters, a dot and three, upper case or digits or the few others 8.3
// allows, no blanks.
bool IsShortNameShaped(const std::string& name) {
    std::size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos)
        return false;
    for (char c : name)
        if (c == ' ' || (c >= 'a' && c <= 'z')) return false;
    return true;
}

class FilesContract : public ::testing::Test {
protected:
    void SetUp() override { dir_ = contract::env().ScratchDir(); }

    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(Fs().WriteAll(dir_ + name, bytes).ok) << name;
    }

    std::string dir_;  // with its trailing backslash
};

TEST_F(FilesContract, ListingStartsWithDotsThenHoldsEveryEntry) {
    Write("a.txt", "a");
    Write(".hidden", "dot name");
    Write("..double", "two dots");
    ASSERT_TRUE(Fs().CreateDirectory(dir_ + "Sub Folder"));

    for (const char* mask : {"*", "*.*"}) {
        auto entries = Fs().List(dir_ + mask);
        ASSERT_TRUE(entries.has_value()) << mask;
        ASSERT_EQ(entries->size(), 6u) << mask;
        EXPECT_EQ((*entries)[0].name, ".");
        EXPECT_EQ((*entries)[1].name, "..");
        EXPECT_NE((*entries)[0].attributes & kAttrDirectory, 0u);
        EXPECT_NE((*entries)[1].attributes & kAttrDirectory, 0u);
        std::set<std::string> rest;
        for (std::size_t i = 2; i < entries->size(); ++i) {
            const FindEntry& e = (*entries)[i];
            rest.insert(e.name);
            bool isFolder = (e.attributes & kAttrDirectory) != 0;
            EXPECT_EQ(isFolder, e.name == "Sub Folder") << e.name;
        }
        EXPECT_EQ(rest, (std::set<std::string>{"a.txt", ".hidden", "..double", "Sub Folder"})) << mask;
    }
}

TEST_F(FilesContract, ListingOfAMissingFolderCannotStart) {
    EXPECT_FALSE(Fs().List(dir_ + "Missing\\*").has_value());
    EXPECT_FALSE(Fs().List(dir_ + "Missing\\Deeper\\*").has_value());
}

TEST_F(FilesContract, NamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    Write("Mixed Case.TXT", "content");
    std::string bytes;
    ASSERT_TRUE(Fs().ReadAll(dir_ + "mixed case.txt", bytes).ok);
    EXPECT_EQ(bytes, "content");
    auto entries = Fs().List(dir_ + "*");
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ(entries->back().name, "Mixed Case.TXT");
}

TEST_F(FilesContract, AttributesTellFilesFromFoldersAndMissingPaths) {
    Write("file.bin", "x");
    ASSERT_TRUE(Fs().CreateDirectory(dir_ + "folder"));
    auto file = Fs().Attributes(dir_ + "file.bin");
    auto folder = Fs().Attributes(dir_ + "folder");
    ASSERT_TRUE(file.has_value());
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*file & kAttrDirectory, 0u);
    EXPECT_NE(*folder & kAttrDirectory, 0u);
    EXPECT_TRUE(Fs().Attributes(dir_).has_value()) << "a folder path with its backslash";
    EXPECT_FALSE(Fs().Attributes(dir_ + "missing.bin").has_value());
    EXPECT_FALSE(Fs().Attributes(dir_ + "nowhere\\missing.bin").has_value());
    EXPECT_TRUE(Fs().Attributes("C:\\").has_value());
}

TEST_F(FilesContract, ReadOnlyFileRefusesWritesAndDeletion) {
    Write("locked.ini", "original");
    const std::string path = dir_ + "locked.ini";
    ASSERT_TRUE(Fs().SetAttributes(path, kAttrReadOnly));
    EXPECT_NE(*Fs().Attributes(path) & kAttrReadOnly, 0u);

    platform::FileResult write = Fs().WriteAll(path, "changed");
    if (write.ok && contract::RunningUnderWine()) {
        Fs().SetAttributes(path, platform::kAttrNormal);
        GTEST_SKIP() << "Wine keeps the read-only flag as file permissions, which root ignores";
    }
    EXPECT_FALSE(write.ok);
    EXPECT_EQ(write.error, platform::kErrorAccessDenied);
    EXPECT_FALSE(Fs().Delete(path));
    std::string bytes;
    ASSERT_TRUE(Fs().ReadAll(path, bytes).ok) << "reading stays allowed";
    EXPECT_EQ(bytes, "original");

    ASSERT_TRUE(Fs().SetAttributes(path, platform::kAttrNormal));
    EXPECT_EQ(*Fs().Attributes(path) & kAttrReadOnly, 0u);
    EXPECT_TRUE(Fs().Delete(path));
    EXPECT_FALSE(Fs().Attributes(path).has_value());
}

TEST_F(FilesContract, ShortAndLongFormsRoundTrip) {
    ASSERT_TRUE(Fs().CreateDirectory(dir_ + "Long Folder Name"));
    const std::string longPath = dir_ + "Long Folder Name\\Another long file.text";
    ASSERT_TRUE(Fs().WriteAll(longPath, "payload").ok);

    std::string shortPath = Fs().ShortPath(longPath);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_NE(Lower(shortPath), Lower(longPath));
    auto parts = Components(shortPath);
    ASSERT_GE(parts.size(), 2u);
    EXPECT_TRUE(IsShortNameShaped(parts[parts.size() - 2])) << shortPath;
    EXPECT_TRUE(IsShortNameShaped(parts.back())) << shortPath;
    std::string bytes;
    ASSERT_TRUE(Fs().ReadAll(shortPath, bytes).ok) << "the short form names the same file";
    EXPECT_EQ(bytes, "payload");

    // The scratch folder itself may be given in short form (a temp folder under a long user
    // name), so the expected long form starts from its long form.
    std::string longDir = Fs().LongPath(dir_);
    ASSERT_FALSE(longDir.empty());
    const std::string fullLongPath = longDir + "Long Folder Name\\Another long file.text";
    EXPECT_EQ(Lower(Fs().LongPath(shortPath)), Lower(fullLongPath));
    EXPECT_EQ(Lower(Fs().LongPath(fullLongPath)), Lower(fullLongPath)) << "a long form stays";
    EXPECT_EQ(Lower(Fs().ShortPath(shortPath)), Lower(shortPath)) << "a short form stays";

    // A folder converts with its trailing backslash.
    std::string shortFolder = Fs().ShortPath(dir_ + "Long Folder Name\\");
    ASSERT_FALSE(shortFolder.empty());
    EXPECT_EQ(shortFolder.back(), '\\');
    EXPECT_EQ(Lower(Fs().LongPath(shortFolder)), Lower(longDir + "Long Folder Name\\"));
}

TEST_F(FilesContract, ShortFormOfAnEightDotThreeNameIsTheNameItself) {
    Write("APP.EXE", "x");
    std::string shortPath = Fs().ShortPath(dir_ + "APP.EXE");
    ASSERT_FALSE(shortPath.empty());
    EXPECT_EQ(Components(shortPath).back(), "APP.EXE");
}

TEST_F(FilesContract, PathFormsOfMissingPathsAreEmpty) {
    EXPECT_EQ(Fs().ShortPath(dir_ + "no such file.txt"), "");
    EXPECT_EQ(Fs().LongPath(dir_ + "no such file.txt"), "");
    EXPECT_EQ(Fs().LongPath(dir_ + "NOSUCH~1\\x.exe"), "");
}

TEST_F(FilesContract, ReadAtGivesOnlyTheBytesThatAreThere) {
    Write("data.bin", std::string("0123456789\0tail", 15));
    const std::string path = dir_ + "data.bin";
    EXPECT_EQ(Fs().ReadAt(path, 0, 4), "0123");
    EXPECT_EQ(Fs().ReadAt(path, 8, 5), std::string("89\0ta", 5));
    EXPECT_EQ(Fs().ReadAt(path, 12, 100), "ail") << "a short read at the end";
    auto beyond = Fs().ReadAt(path, 40, 8);
    ASSERT_TRUE(beyond.has_value()) << "the file opens; the read finds nothing";
    EXPECT_EQ(*beyond, "");
    EXPECT_FALSE(Fs().ReadAt(dir_ + "missing.bin", 0, 4).has_value());
}

TEST_F(FilesContract, WholeFileReadsAndWritesReportTheirErrors) {
    ASSERT_TRUE(Fs().CreateDirectory(dir_ + "folder"));
    std::string bytes = "untouched";

    platform::FileResult folder = Fs().ReadAll(dir_ + "folder", bytes);
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, platform::kErrorAccessDenied);
    platform::FileResult missingFile = Fs().ReadAll(dir_ + "missing.txt", bytes);
    EXPECT_FALSE(missingFile.ok);
    EXPECT_EQ(missingFile.error, platform::kErrorFileNotFound);
    platform::FileResult missingFolder = Fs().ReadAll(dir_ + "nowhere\\missing.txt", bytes);
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_EQ(missingFolder.error, platform::kErrorPathNotFound);
    Write("huge.txt", std::string(platform::kReadAllLimit + 1, 'x'));
    platform::FileResult huge = Fs().ReadAll(dir_ + "huge.txt", bytes);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.error, platform::kErrorFileTooLarge);
    EXPECT_EQ(bytes, "untouched");

    platform::FileResult writeFolder = Fs().WriteAll(dir_ + "folder", "x");
    EXPECT_FALSE(writeFolder.ok);
    EXPECT_EQ(writeFolder.error, platform::kErrorAccessDenied);
    platform::FileResult writeNowhere = Fs().WriteAll(dir_ + "nowhere\\new.txt", "x");
    EXPECT_FALSE(writeNowhere.ok);
    EXPECT_EQ(writeNowhere.error, platform::kErrorPathNotFound);

    // A write replaces the whole content.
    Write("twice.txt", "a longer first content");
    Write("twice.txt", "short");
    ASSERT_TRUE(Fs().ReadAll(dir_ + "twice.txt", bytes).ok);
    EXPECT_EQ(bytes, "short");
}

TEST_F(FilesContract, MoveRefusesAnExistingTargetAndReplaceReplacesIt) {
    Write("source.exe", "new");
    Write("target.exe", "old");
    std::string bytes;

    EXPECT_FALSE(Fs().Move(dir_ + "source.exe", dir_ + "target.exe"));
    ASSERT_TRUE(Fs().ReadAll(dir_ + "target.exe", bytes).ok);
    EXPECT_EQ(bytes, "old");
    EXPECT_TRUE(Fs().Attributes(dir_ + "source.exe").has_value());

    EXPECT_TRUE(Fs().Replace(dir_ + "source.exe", dir_ + "target.exe"));
    ASSERT_TRUE(Fs().ReadAll(dir_ + "target.exe", bytes).ok);
    EXPECT_EQ(bytes, "new");
    EXPECT_FALSE(Fs().Attributes(dir_ + "source.exe").has_value());

    EXPECT_TRUE(Fs().Move(dir_ + "target.exe", dir_ + "target.exe.bak"));
    EXPECT_FALSE(Fs().Attributes(dir_ + "target.exe").has_value());
    ASSERT_TRUE(Fs().ReadAll(dir_ + "target.exe.bak", bytes).ok);
    EXPECT_EQ(bytes, "new");
    EXPECT_FALSE(Fs().Move(dir_ + "target.exe", dir_ + "again.exe")) << "the source is gone";
}

TEST_F(FilesContract, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    EXPECT_TRUE(Fs().CreateDirectory(dir_ + "made"));
    EXPECT_FALSE(Fs().CreateDirectory(dir_ + "made"));
    EXPECT_FALSE(Fs().CreateDirectory(dir_ + "nowhere\\made")) << "the parent must exist";
    Write("made\\inside.txt", "x");
    EXPECT_FALSE(Fs().RemoveDirectory(dir_ + "made"));
    EXPECT_FALSE(Fs().Delete(dir_ + "made")) << "Delete is for files";
    EXPECT_TRUE(Fs().Delete(dir_ + "made\\inside.txt"));
    EXPECT_TRUE(Fs().RemoveDirectory(dir_ + "made"));
    EXPECT_FALSE(Fs().Attributes(dir_ + "made").has_value());
}

TEST_F(FilesContract, SystemFoldersExist) {
    std::string windows = Fs().WindowsDirectory();
    ASSERT_GE(windows.size(), 3u);
    EXPECT_EQ(windows[1], ':');
    EXPECT_NE(windows.back(), '\\');
    auto windowsAttributes = Fs().Attributes(windows);
    ASSERT_TRUE(windowsAttributes.has_value());
    EXPECT_NE(*windowsAttributes & kAttrDirectory, 0u);

    std::string temp = Fs().TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(Fs().Attributes(temp).has_value());

    std::string own = Fs().OwnPath();
    std::size_t cut = own.rfind('\\');
    ASSERT_NE(cut, std::string::npos);
    auto ownFolder = Fs().Attributes(own.substr(0, cut + 1));
    ASSERT_TRUE(ownFolder.has_value());
    EXPECT_NE(*ownFolder & kAttrDirectory, 0u);
}

}  // namespace
