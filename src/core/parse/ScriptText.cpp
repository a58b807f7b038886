#include "core/parse/ScriptText.h"

#include <algorithm>
#include <optional>

#include "core/base/AsciiLower.h"

namespace zorvik::parse {

bool IsScriptFileName(std::string_view name) {
    const std::string lowerName = AsciiLower(std::string(name));
    for (const std::string_view extension : kScriptExtensions) {
        if (lowerName.ends_with(extension)) return true;
    }
    return false;
}

namespace {

bool EndsAName(char c) {
    return c == ' ' || c == '\t' || c == '"' || c == '\'' || c == ',' || c == ';' || c == ')';
}

bool StartsAName(char before) {
    return before == ' ' || before == '\t' || before == '=' || before == ',' || before == ';' ||
           before == '(' || before == '\'';
}

// Where a mention of an extension starting at dot ends, when it ends a word after a name.
std::optional<std::size_t> MentionEnd(std::string_view command, const std::string& lower,
                                      std::size_t dot) {
    if (dot == 0) return std::nullopt;
    const char before = command[dot - 1];
    if (before == '\\' || before == '/' || before == '"' || StartsAName(before))
        return std::nullopt;
    for (const std::string_view extension : kScriptExtensions) {
        if (lower.compare(dot, extension.size(), extension) != 0) continue;
        const std::size_t end = dot + extension.size();
        if (end == command.size() || EndsAName(command[end])) return end;
    }
    return std::nullopt;
}

std::vector<std::string> NamesEndingAt(std::string_view command, std::size_t dot, std::size_t end) {
    std::vector<std::string> names;
    auto add = [&](std::size_t start) {
        if (end - start <= kMaxScriptNameLength)
            names.emplace_back(command.substr(start, end - start));
    };
    const std::string_view before = command.substr(0, dot);
    const auto quotes = static_cast<std::size_t>(std::count(before.begin(), before.end(), '"'));
    if (quotes % 2 == 1) {
        add(before.rfind('"') + 1);
        return names;
    }
    for (std::size_t start = dot; start > 0 && names.size() < kMaxScriptNameStarts &&
                                  dot - start < kMaxScriptNameLength;
         --start) {
        if (StartsAName(command[start - 1])) add(start);
    }
    if (names.size() < kMaxScriptNameStarts) add(0);
    return names;
}

}  // namespace

std::vector<std::vector<std::string>> ScriptNamesIn(std::string_view command) {
    std::vector<std::vector<std::string>> mentions;
    const std::string lower = AsciiLower(std::string(command));
    for (std::size_t dot = lower.find('.');
         dot != std::string::npos && mentions.size() < kMaxScriptMentions;
         dot = lower.find('.', dot + 1)) {
        const std::optional<std::size_t> end = MentionEnd(command, lower, dot);
        if (!end) continue;
        std::vector<std::string> names = NamesEndingAt(command, dot, *end);
        if (!names.empty()) mentions.push_back(std::move(names));
    }
    return mentions;
}

ScriptText DecodeScriptText(std::string_view bytes) {
    ScriptText script;
    script.encoding = EncodingByByteOrderMark(bytes, TextEncoding::Ansi);
    const std::string text =
        DecodeToAnsi(bytes.substr(ByteOrderMarkLength(bytes, script.encoding)), script.encoding);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        if (end == text.size()) {
            script.lines.push_back(text.substr(start));
            break;
        }
        script.lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return script;
}

}  // namespace zorvik::parse
