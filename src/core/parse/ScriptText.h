#pragma once
// Script files that start programs (batch, Windows Script Host, PowerShell): which file names
// are scripts, and a script's bytes as lines of ANSI text.
#include <string>
#include <string_view>
#include <vector>

#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

// The extensions of the scripts followed, in lower case.
inline constexpr std::string_view kScriptExtensions[] = {".bat", ".cmd", ".vbs", ".js", ".ps1"};

// True when the file name (or path) ends in one of those extensions, in any case.
bool IsScriptFileName(std::string_view name);

struct ScriptText {
    TextEncoding encoding = TextEncoding::Ansi;  // as its byte order mark says, else ANSI
    std::vector<std::string> lines;              // in ANSI, without line ends
};

// The script's lines. A carriage return, a line feed or both together end a line, since the
// script hosts and cmd accept a line feed alone, as editors of other systems write it. Text
// after the last line end is a line when it is not empty.
ScriptText DecodeScriptText(std::string_view bytes);

}  // namespace zorvik::parse
