#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/parse/UnquotedCommand.h"

namespace {

using Candidates = std::vector<std::string>;

TEST(UnquotedCommandTest, NamesTriedBeforeTheProgramMeant) {
    const struct {
        const char* command;
        Candidates candidates;
    } cases[] = {
        {"C:\\Program Files\\Some Service\\svc.exe -k netsvcs",
         {"C:\\Program.exe", "C:\\Program Files\\Some.exe"}},
        {"C:\\Program Files\\A B C\\run.EXE",
         {"C:\\Program.exe", "C:\\Program Files\\A.exe", "C:\\Program Files\\A B.exe"}},
        {"  C:\\My Tools\\v1.2 x\\tool.com\t/q", {"C:\\My.exe", "C:\\My Tools\\v1.2"}},
        {"C:\\My\t  Apps\\a.bat", {"C:\\My.exe"}},
        {"\"C:\\Program Files\\App\\a.exe\" C:\\Other Dir\\b.exe", {}},
        {"C:\\Tools\\svc.exe -k C:\\Program Files\\x.exe", {}},
        {"C:\\Tools\\svc.exe", {}},
        {"rundll32 C:\\Program Files\\x.exe", {}},
        {"C:\\Program Files\\App\\run -x", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zorvik::parse::UnquotedProgramCandidates(c.command), c.candidates) << c.command;
    }
}

}  // namespace
