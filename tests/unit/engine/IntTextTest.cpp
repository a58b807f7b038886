#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/IntText.h"

namespace {

TEST(IntTextTest, WholeDecimalNumbersWithinThe32BitRange) {
    const std::vector<std::pair<std::string, int>> good{
        {"0", 0}, {"300", 300}, {"007", 7}, {"-5", -5}, {"+12", 12},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : good) EXPECT_EQ(zorvik::StrToInt(text), value) << text;
}

TEST(IntTextTest, AnythingElseNamesTheTextInTheError) {
    for (const std::string text : {"", " ", "-", "+", "12a", "a12", " 12", "12 ", "1.5", "0x10",
                                   "2147483648", "-2147483649", "99999999999999999999"}) {
        try {
            zorvik::StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const zorvik::AppError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
