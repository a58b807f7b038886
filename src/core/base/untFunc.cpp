// The command-line and text routines of untFunc: pure text work, no system calls.
#include "core/base/untFunc.h"

#include "core/base/FixedTexts.h"

namespace zorvik {

namespace {

constexpr char kQuote = '"';

bool IsBlankOrZero(char c) { return c == ' ' || c == '\0'; }

// Index of the quote that closes a command opened by a quote: the first quote after the
// opening one, leaving out the last character; the last index when there is none. Only
// called for a text of at least one character.
std::size_t ClosingQuoteIndex(const std::string& command) {
    const std::size_t last = command.size() - 1;
    for (std::size_t i = 1; i < last; ++i) {
        if (command[i] == kQuote) return i;
    }
    return last;
}

}  // namespace

std::string MakeBackupCommand(const std::string& command) {
    if (!command.empty() && command[0] == kQuote) {
        const std::size_t q = ClosingQuoteIndex(command);
        return command.substr(0, q) + kBackupSuffix + command.substr(q);
    }
    const std::size_t dot = command.rfind('.');
    if (dot == std::string::npos) return kBackupSuffix + command;
    std::size_t insertAt = dot;
    while (insertAt < command.size() && !IsBlankOrZero(command[insertAt])) ++insertAt;
    return command.substr(0, insertAt) + kBackupSuffix + command.substr(insertAt);
}

platform::RootKey RootKeyFromName(const std::string& name) {
    if (name == "HKEY_CLASSES_ROOT") return platform::RootKey::ClassesRoot;
    if (name == "HKEY_CURRENT_USER") return platform::RootKey::CurrentUser;
    if (name == "HKEY_LOCAL_MACHINE") return platform::RootKey::LocalMachine;
    return platform::RootKey::None;
}

std::string ExtractProgramPath(platform::System& sys, const std::string& command) {
    std::string path;
    if (!command.empty() && command[0] == kQuote) {
        const std::size_t q = ClosingQuoteIndex(command);
        if (q > 1) path = command.substr(1, q - 1);
    } else {
        path = command.substr(0, command.find(' '));
    }
    if (path.empty()) return {};
    return GetLongPath(sys, path);
}

std::string ExtractProgramName(const std::string& command) {
    if (command.find(' ') == std::string::npos) return command;
    // Both scans leave out the last character.
    const std::size_t end = command.size() - 1;
    std::size_t start = 0;
    for (std::size_t i = end; i-- > 0;) {
        if (command[i] == '\\' || command[i] == '\0') {
            start = i + 1;
            break;
        }
    }
    for (std::size_t i = start; i < end; ++i) {
        if (IsBlankOrZero(command[i])) return command.substr(start, i - start);
    }
    return command;
}

std::string ReplaceAll(const std::string& text, const std::string& pattern,
                       const std::string& replacement) {
    if (pattern.empty()) return text;

    if (replacement.size() >= pattern.size()) {
        // Searching again from the start need not end here: a replacement that holds the
        // pattern, or one that forms it again with its neighbours (aaba, aba -> baab), makes the
        // text grow for ever. So each occurrence of the original text is replaced once. Where
        // no new occurrence can form, this is the same result as searching again.
        std::string result;
        std::size_t from = 0;
        for (std::size_t at = text.find(pattern); at != std::string::npos;
             at = text.find(pattern, from)) {
            result.append(text, from, at - from);
            result += replacement;
            from = at + pattern.size();
        }
        result.append(text, from, std::string::npos);
        return result;
    }

    // Each round shortens the text, so this ends. No occurrence starts before the last
    // replacement's start minus the pattern's length, since none did before it.
    std::string result = text;
    std::size_t searchFrom = 0;
    for (std::size_t at = result.find(pattern); at != std::string::npos;
         at = result.find(pattern, searchFrom)) {
        result.replace(at, pattern.size(), replacement);
        searchFrom = at >= pattern.size() - 1 ? at - (pattern.size() - 1) : 0;
    }
    return result;
}

}  // namespace zorvik
