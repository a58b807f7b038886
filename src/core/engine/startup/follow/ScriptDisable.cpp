#include "core/engine/startup/follow/ScriptDisable.h"

#include <string_view>

#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/TextFileKind.h"
#include "core/parse/UnicodeText.h"

namespace zorvik {

namespace {

using parse::TextEncoding;

// The code unit at a byte offset: one byte, or two in the order the encoding gives them.
char32_t UnitAt(std::string_view bytes, std::size_t at, TextEncoding encoding) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    if (encoding != TextEncoding::Utf16Le && encoding != TextEncoding::Utf16Be) return first;
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return encoding == TextEncoding::Utf16Be ? (first << 8 | second) : (second << 8 | first);
}

char32_t Folded(char32_t unit) { return unit >= 'A' && unit <= 'Z' ? unit + ('a' - 'A') : unit; }

// Whether the encoded name stands at the offset, letter case of A to Z aside.
bool NameAt(std::string_view bytes, std::size_t at, std::string_view name, std::size_t unit,
            TextEncoding encoding) {
    if (bytes.size() - at < name.size()) return false;
    for (std::size_t i = 0; i < name.size(); i += unit) {
        if (Folded(UnitAt(bytes, at + i, encoding)) != Folded(UnitAt(name, i, encoding)))
            return false;
    }
    return true;
}

}  // namespace

DisableOutcome DisableScriptLines(platform::System& sys, const std::string& script,
                                  const std::string& programFileName) {
    // An empty name would be found everywhere.
    if (programFileName.empty()) return {DisableResult::Unchanged, {}};
    std::string bytes;
    if (!sys.files().ReadAll(script, bytes).ok) return {DisableResult::FileNotRead, script};

    const TextEncoding encoding = parse::EncodingByByteOrderMark(bytes, TextEncoding::Ansi);
    const std::size_t unit =
        encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be ? 2 : 1;
    const std::string name = parse::EncodeAnsi(programFileName, encoding);
    const std::string suffix = parse::EncodeAnsi(kBackupSuffix, encoding);
    std::size_t at = parse::ByteOrderMarkLength(bytes, encoding);
    std::string text = bytes.substr(0, at);
    bool matched = false;
    while (at < bytes.size()) {
        if (bytes.size() - at >= unit && NameAt(bytes, at, name, unit, encoding)) {
            text.append(bytes, at, name.size());
            text += suffix;
            at += name.size();
            matched = true;
            continue;
        }
        // A last odd byte of UTF-16 is kept as it is.
        const std::size_t step = bytes.size() - at >= unit ? unit : bytes.size() - at;
        text.append(bytes, at, step);
        at += step;
    }
    if (!matched) return {DisableResult::Unchanged, {}};
    if (!ReplaceFileText(sys, script, text)) return {DisableResult::FileNotWritten, script};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik
