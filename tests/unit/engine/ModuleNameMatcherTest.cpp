// The DLL comparison's lookup of module names: a text, lower-cased as the scan gives it, names
// a module whatever the letter case of the module's path, at any length of name, and among
// enough modules that the table of names grows several times.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/engine/modules/ModuleNameMatcher.h"

namespace {

using zorvik::ModuleNameMatcher;

struct NameCase {
    const char* what;
    std::string modulePath;
    std::string lowerText;
    bool found;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }

class ModuleNameLookupTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ModuleNameLookupTest, FindsTheModuleAmongMany) {
    const NameCase& c = GetParam();
    std::vector<platform::PathList> modules(2);
    // Many other names first, so that the one sought lies in a table grown past its first size.
    for (int i = 0; i < 300; ++i)
        modules[0].Add("C:\\Windows\\System32\\Other" + std::to_string(i) + ".dll");
    modules[1].Add("C:\\Windows\\System32\\KERNEL32.DLL");
    modules[1].Add(c.modulePath);
    ModuleNameMatcher matcher(modules);
    std::vector<ModuleNameMatcher::Match> matches;
    matcher.Find(c.lowerText, matches);
    const bool found = !matches.empty() && matches.front().program == 1 &&
                       matches.front().module == 1;
    EXPECT_EQ(found, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModuleNameLookupTest,
    ::testing::Values(
        NameCase{"shortUpperCase", "C:\\Bot\\B.DLL", "c:\\bot\\b.dll", true},
        NameCase{"eightBytes", "C:\\Bot\\BotA.Dll", "c:\\bot\\bota.dll", true},
        NameCase{"pastSixteenBytes", "C:\\Bot\\Helper-Library_X64.DLL",
                 "rundll32 c:\\bot\\helper-library_x64.dll,run", true},
        NameCase{"bareWordOfMixedCase", "C:\\Bot\\MsHelper.Dll", "mshelper", true},
        NameCase{"anotherName", "C:\\Bot\\BotA.Dll", "c:\\bot\\botb.dll", false},
        NameCase{"caseFoldsOnlyLetters", "C:\\Bot\\A@B.dll", "a`b.dll", false}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
