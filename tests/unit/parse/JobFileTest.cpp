#include <gtest/gtest.h>

#include <string>

#include "core/parse/JobFile.h"
#include "unit/parse/TaskFileBuilder.h"

namespace {

using namespace parse_test;
using zorvik::parse::ParseJobFile;

TEST(JobFileTest, TextsAndDisabledFlag) {
    const struct {
        std::uint32_t flags;
        bool disabled;
    } cases[] = {{0, false}, {0x4, true}, {0x1 | 0x2 | 0x8, false}};
    for (const auto& c : cases) {
        const auto job = ParseJobFile(JobBytes(c.flags, "C:\\Apps\\bot.exe", "-k run"));
        ASSERT_TRUE(job) << c.flags;
        EXPECT_EQ(job->applicationName, "C:\\Apps\\bot.exe");
        EXPECT_EQ(job->parameters, "-k run");
        EXPECT_EQ(job->workingDirectory, "C:\\Work");
        EXPECT_EQ(job->author, "ZORVIK\\admin");
        EXPECT_EQ(job->comment, "");
        EXPECT_EQ(job->disabled, c.disabled) << c.flags;
    }
}

TEST(JobFileTest, TruncatedOrInconsistentYieldsNothing) {
    const std::string good = JobBytes(0, "C:\\Apps\\bot.exe", "-k run");
    const std::size_t commentEnd = good.size() - 6;
    for (std::size_t length = 0; length < commentEnd; ++length) {
        EXPECT_FALSE(ParseJobFile(good.substr(0, length))) << "cut at " << length;
    }
    EXPECT_TRUE(ParseJobFile(good.substr(0, commentEnd)));
    EXPECT_FALSE(ParseJobFile(std::string(good).replace(0x14, 2, U16(0x20))))
        << "inside the fixed part";
    EXPECT_FALSE(ParseJobFile(std::string(good).replace(0x46, 2, U16(0x7FFF)))) << "text count";
}

}  // namespace
