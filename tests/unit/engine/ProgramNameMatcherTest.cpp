// Which programs a start-up text names, and whether disabled, straight from the matcher.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/engine/startup/ProgramNameMatcher.h"

namespace {

using Match = zorvik::ProgramNameMatcher::Match;

enum Program : std::uint32_t { kLong, kAlpha, kMyAlpha };

TEST(ProgramNameMatcherTest, NamesLongAndShortFormsAndTheirBakForms) {
    // Names as the system gives them, in any case; alpha.exe has no short form and lies inside
    // myalpha.exe.
    zorvik::ProgramNameMatcher matcher({{"LongProgramName.exe", "LONGPR~1.EXE"},
                                        {"alpha.exe", ""},
                                        {"MyAlpha.exe", "MYALPH~1.EXE"}});
    struct Case {
        std::string lowerText;
        std::vector<std::pair<Program, bool>> named;  // program, disabled
    };
    const Case cases[] = {
        {"c:\\apps\\longprogramname.exe /x", {{kLong, false}}},
        {"c:\\progra~1\\longpr~1.exe", {{kLong, false}}},
        {"c:\\apps\\longprogramname.exe.bak /x", {{kLong, true}}},
        {"c:\\progra~1\\longpr~1.exe.bak", {{kLong, true}}},
        // A long name with the short one's ".bak" elsewhere still reads disabled.
        {"longprogramname.exe longpr~1.exe.bak", {{kLong, true}}},
        // A name inside another: both programs are named.
        {"c:\\other\\myalpha.exe", {{kAlpha, false}, {kMyAlpha, false}}},
        {"c:\\other\\myalph~1.exe", {{kMyAlpha, false}}},
        {"c:\\other\\myalpha.exe.bak", {{kAlpha, true}, {kMyAlpha, true}}},
        // No short form: ".bak" anywhere marks the named program disabled.
        {"c:\\apps\\alpha.exe c:\\x.bak", {{kAlpha, true}}},
        {"longprogramname.exe and alpha.exe", {{kLong, false}, {kAlpha, false}}},
        // ".bak" without a name names nothing.
        {"c:\\x.bak", {}},
        {"c:\\apps\\alpha.ex", {}},
        {"", {}},
    };
    std::vector<Match> found;
    // One matcher for every text, as a scan uses it: nothing carries over from the text before.
    for (const Case& c : cases) {
        matcher.Find(c.lowerText, found);
        std::vector<std::pair<Program, bool>> named;
        for (const Match& m : found) named.emplace_back(static_cast<Program>(m.program), m.disabled);
        std::sort(named.begin(), named.end());
        EXPECT_EQ(named, c.named) << c.lowerText;
    }
}

}  // namespace
