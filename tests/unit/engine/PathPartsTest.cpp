#include <gtest/gtest.h>

#include <string>

#include "core/base/PathParts.h"

namespace {

TEST(PathPartsTest, CutAtTheLastBackslashSlashOrColon) {
    struct Case {
        std::string path, folder, fileName;
    };
    const Case cases[] = {
        {"C:\\Tools\\prog.exe", "C:\\Tools\\", "prog.exe"},
        {"C:prog.exe", "C:", "prog.exe"},
        {"tools/prog.exe", "tools/", "prog.exe"},
        {"C:\\a/b\\c.exe", "C:\\a/b\\", "c.exe"},
        {"\\\\server\\share\\a.exe", "\\\\server\\share\\", "a.exe"},
        {"C:\\dir.v2\\prog", "C:\\dir.v2\\", "prog"},
        {"C:\\Tools\\", "C:\\Tools\\", ""},
        {"prog.exe", "", "prog.exe"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zorvik::ProgramFolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(zorvik::ProgramFileNameOf(c.path), c.fileName) << c.path;
    }
}

}  // namespace
