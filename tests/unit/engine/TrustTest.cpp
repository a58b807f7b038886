#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/engine/ScanTestSupport.h"

namespace {

struct TrustCase {
    const char* what;
    std::vector<std::string> entries;
    std::string path;
    bool trusted;
};

class TrustTest : public ::testing::TestWithParam<TrustCase> {};

TEST_P(TrustTest, WholeTextsAfterAsciiLowerCasing) {
    scantest::VectorTrustedList list;
    list.entries = GetParam().entries;
    EXPECT_EQ(zorvik::IsTrusted(list, GetParam().path), GetParam().trusted);
}

const std::vector<std::string> kApp{"C:\\Tools\\App.exe"};

INSTANTIATE_TEST_SUITE_P(
    Cases, TrustTest,
    ::testing::Values(
        TrustCase{"emptyList", {}, "C:\\Tools\\App.exe", false},
        TrustCase{"emptyListEmptyPath", {}, "", false},
        TrustCase{"exact", kApp, "C:\\Tools\\App.exe", true},
        TrustCase{"otherCase", kApp, "c:\\tools\\app.EXE", true},
        TrustCase{"trailingBlank", kApp, "C:\\Tools\\App.exe ", false},
        TrustCase{"leadingBlank", kApp, " C:\\Tools\\App.exe", false},
        TrustCase{"shortForm", kApp, "C:\\TOOLS~1\\App.exe", false},
        TrustCase{"fileNameOnly", kApp, "App.exe", false},
        TrustCase{"prefixOnly", kApp, "C:\\Tools\\App.ex", false},
        TrustCase{"quoted", kApp, "\"C:\\Tools\\App.exe\"", false},
        TrustCase{"withArguments", kApp, "C:\\Tools\\App.exe /x", false},
        TrustCase{"commandOnList", {"C:\\Tools\\App.exe /X"}, "c:\\tools\\app.exe /x", true},
        TrustCase{"laterEntry", {"C:\\a.exe", "", "C:\\Tools\\App.exe"}, "C:\\TOOLS\\APP.EXE", true},
        TrustCase{"emptyEntryMatchesEmptyPath", {"C:\\a.exe", ""}, "", true},
        TrustCase{"emptyEntryOnly", {""}, "C:\\a.exe", false},
        // Only A to Z are folded: \xC4 and \xE4 stay different letters.
        TrustCase{"nonAsciiOtherCase", {"C:\\\xC4pp.exe"}, "C:\\\xE4pp.exe", false},
        TrustCase{"nonAsciiSame", {"C:\\\xE4pp.exe", "C:\\\xC4pp.exe"}, "c:\\\xC4PP.EXE", true}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
