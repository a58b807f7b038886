#pragma once
// Script files that start programs (batch, Windows Script Host, PowerShell): which file names
// are scripts, and a script's bytes as lines of ANSI text.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

// The extensions of the scripts followed, in lower case.
inline constexpr std::string_view kScriptExtensions[] = {".bat", ".cmd", ".vbs", ".js", ".ps1"};

// True when the file name (or path) ends in one of those extensions, in any case.
bool IsScriptFileName(std::string_view name);

// Bounds on what ScriptNamesIn gives for one text, so that a huge or hostile text costs little.
inline constexpr std::size_t kMaxScriptMentions = 16;
inline constexpr std::size_t kMaxScriptNameStarts = 8;
inline constexpr std::size_t kMaxScriptNameLength = 1024;

// The script files a command line (or a script's line) may name. For each mention of a
// script's extension that ends a word (the text ends there, or a blank, a quote, a comma, a
// semicolon or a closing parenthesis follows) after at least one character of a name, in the
// order of the text: the texts that end there and begin where a path may begin, nearest
// first. Inside double quotes that is only after the opening quote; else after each blank,
// '=', ',', ';', '(' or single quote before it, and at the start of the text. Variables are
// not expanded and nothing is looked up: which of them exists is the caller's to find.
std::vector<std::vector<std::string>> ScriptNamesIn(std::string_view command);

struct ScriptText {
    TextEncoding encoding = TextEncoding::Ansi;  // as its byte order mark says, else ANSI
    std::vector<std::string> lines;              // in ANSI, without line ends
};

// The script's lines. A carriage return, a line feed or both together end a line, since the
// script hosts and cmd accept a line feed alone, as editors of other systems write it. Text
// after the last line end is a line when it is not empty.
ScriptText DecodeScriptText(std::string_view bytes);

}  // namespace zorvik::parse
