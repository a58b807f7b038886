// Texts the system writes into a buffer: a longer one is asked for again, never cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/system/SystemText.h"

namespace {

using platform::win32::SizedSystemText;

// Behaves as GetWindowsDirectoryA and its kind do for the texts given, one per call (the
// last one repeats): the length written when the buffer holds it with its zero, else the
// size needed with the zero.
struct FakeCall {
    explicit FakeCall(std::vector<std::string> t) : texts(std::move(t)) {}
    std::vector<std::string> texts;
    std::vector<DWORD> sizesSeen;
    bool fails = false;

    DWORD operator()(char* buffer, DWORD size) {
        sizesSeen.push_back(size);
        if (fails) return 0;
        const std::string& text = texts[std::min(sizesSeen.size(), texts.size()) - 1];
        if (text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = '\0';
        return static_cast<DWORD>(text.size());
    }
};

TEST(SystemText, GivesTheWholeTextWhateverItsLength) {
    struct Case {
        std::size_t length;
        std::size_t calls;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {259, 1}, {260, 2}, {261, 2}, {1000, 2}, {40000, 2}};
    for (const auto& c : cases) {
        FakeCall call({std::string(c.length, 'x')});
        // An empty text reads as a failure (0), as the system's calls report it.
        std::string expected = c.length == 0 ? "" : std::string(c.length, 'x');
        EXPECT_EQ(SizedSystemText([&](char* b, DWORD s) { return call(b, s); }), expected)
            << c.length;
        EXPECT_EQ(call.sizesSeen.size(), c.calls) << c.length;
        EXPECT_EQ(call.sizesSeen.front(), static_cast<DWORD>(MAX_PATH));
    }
}

TEST(SystemText, TextThatGrowsBetweenCallsIsAskedForAgain) {
    FakeCall call({std::string(300, 'a'), std::string(500, 'b'), std::string(500, 'b')});
    EXPECT_EQ(SizedSystemText([&](char* b, DWORD s) { return call(b, s); }), std::string(500, 'b'));
    EXPECT_EQ(call.sizesSeen.size(), 3u);
}

TEST(SystemText, FailureGivesTheEmptyText) {
    FakeCall call({"unused"});
    call.fails = true;
    EXPECT_EQ(SizedSystemText([&](char* b, DWORD s) { return call(b, s); }), "");
    EXPECT_EQ(call.sizesSeen.size(), 1u);
}

}  // namespace
