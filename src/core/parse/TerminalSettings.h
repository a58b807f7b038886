#pragma once
// What Windows Terminal's settings.json starts at logon: with "startOnUserLogin" true, the
// terminal starts when the user logs on and opens its default profile, whose "commandline"
// runs. The file is JSON with comments and trailing commas allowed, as the terminal reads it.
#include <optional>
#include <string>
#include <string_view>

namespace zorvik::parse {

struct TerminalStartup {
    bool startOnUserLogin = false;
    // The default profile's name and command line (its own, else the profiles' defaults);
    // empty when it has none (the terminal's own shell, a profile another program provides).
    std::string profile;
    std::string commandLine;
};

// The settings the bytes hold, texts in ANSI; nothing when they are no JSON object.
std::optional<TerminalStartup> ParseTerminalSettings(std::string_view bytes);

// The text with its comments (// to the end of the line, /* to */) and the commas before a
// closing bracket or brace taken out, strings left as they are.
std::string WithoutJsonComments(std::string_view text);

}  // namespace zorvik::parse
