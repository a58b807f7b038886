#include "core/parse/ScriptText.h"

#include "core/base/AsciiLower.h"

namespace zorvik::parse {

bool IsScriptFileName(std::string_view name) {
    const std::string lowerName = AsciiLower(std::string(name));
    for (const std::string_view extension : kScriptExtensions) {
        if (lowerName.ends_with(extension)) return true;
    }
    return false;
}

ScriptText DecodeScriptText(std::string_view bytes) {
    ScriptText script;
    script.encoding = EncodingByByteOrderMark(bytes, TextEncoding::Ansi);
    const std::string text =
        DecodeToAnsi(bytes.substr(ByteOrderMarkLength(bytes, script.encoding)), script.encoding);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
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
