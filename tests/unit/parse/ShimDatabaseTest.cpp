#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/ShimDatabase.h"
#include "unit/parse/ShimDatabaseBuilder.h"

namespace {

using namespace parse_test;
using zorvik::parse::ParseShimDatabase;

struct Case {
    const char* what;
    std::string bytes;
    bool parsed;
    std::string name;
    std::vector<std::string> dlls;
    std::vector<std::string> fixes;  // program | shim | command line
    bool complete = true;
};

TEST(ShimDatabaseTest, DllsAndFixesOfWellFormedAndDamagedDatabases) {
    const std::string injecting =
        InjectingDatabase("explorer.exe", "C:\\Temp\\bot.dll", "C:\\Temp\\shim.dll");
    // Texts as strings in place, no string table.
    const std::string inPlace =
        SdbHeader() +
        SdbList(kSdbDatabase,
                SdbString(kSdbNameString, "Own") +
                    SdbList(kSdbExe, SdbString(kSdbNameString, "cmd.exe") +
                                         SdbList(kSdbShimRef,
                                                 SdbString(kSdbNameString, "RedirectEXE") +
                                                     SdbString(0x8008, "C:\\Temp\\bot.exe"))));
    std::string deep = SdbString(kSdbNameString, "x");
    for (int i = 0; i < 40; ++i) deep = SdbList(0x7002, deep);
    const std::string badReference =
        SdbHeader() + SdbList(kSdbDatabase, SdbList(kSdbExe, U16(kSdbName) + U32(0xFFFFFFF0))) +
        SdbList(kSdbStringTable, "");
    // The reference counts six bytes from the (empty) table's tag: to a string after the table.
    const std::string pastTable = SdbHeader() +
                                  SdbList(kSdbDatabase, U16(kSdbName) + U32(6)) +
                                  SdbList(kSdbStringTable, "") + SdbString(0x8801, "outside");
    const Case cases[] = {
        {"shim DLL and InjectDll, texts by reference",
         injecting,
         true,
         "Zorvik test fixes",
         {"C:\\Temp\\shim.dll"},
         {"explorer.exe | InjectDll | C:\\Temp\\bot.dll"}},
        {"texts as strings", inPlace, true, "Own", {}, {"cmd.exe | RedirectEXE | C:\\Temp\\bot.exe"}},
        {"header alone", SdbHeader(), true, "", {}, {}},
        {"no magic", U32(3) + U32(0) + "sdbx", false, "", {}, {}},
        {"shorter than the header", SdbHeader().substr(0, 11), false, "", {}, {}},
        {"cut inside the string table: references lead nowhere",
         injecting.substr(0, injecting.size() - 4),
         true,
         "",
         {},
         {" |  | "},
         false},
        {"cut inside the database", injecting.substr(0, 40), true, "", {}, {}, false},
        {"list longer than its parent",
         SdbHeader() + SdbList(kSdbDatabase, U16(kSdbExe) + U32(100) + "ab"),
         true,
         "",
         {},
         {},
         false},
        {"nested too deep", SdbHeader() + SdbList(kSdbDatabase, deep), true, "", {}, {}, false},
        {"reference past the end", badReference, true, "", {}, {}},
        {"reference past the string table", pastTable, true, "", {}, {}},
        {"unknown tag type",
         SdbHeader() + SdbList(kSdbDatabase, U16(0xA001) + U32(0)),
         true,
         "",
         {},
         {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto database = ParseShimDatabase(c.bytes);
        ASSERT_EQ(database.has_value(), c.parsed);
        if (!database) continue;
        EXPECT_EQ(database->name, c.name);
        EXPECT_EQ(database->shimDlls, c.dlls);
        std::vector<std::string> fixes;
        for (const auto& fix : database->fixes) {
            fixes.push_back(fix.program + " | " + fix.shim + " | " + fix.commandLine);
        }
        EXPECT_EQ(fixes, c.fixes);
        EXPECT_EQ(database->complete, c.complete);
    }
}

}  // namespace
