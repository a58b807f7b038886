#include "core/parse/TaskCacheActions.h"

#include <cstdio>

#include "core/parse/BinaryFields.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

constexpr std::uint16_t kExecAction = 0x6666;
constexpr std::uint16_t kComHandlerAction = 0x7777;
constexpr std::uint16_t kEmailAction = 0x8888;
constexpr std::uint16_t kMessageBoxAction = 0x9999;
// From this version on, a program's action ends in a flags word.
constexpr std::uint16_t kExecFlagsVersion = 3;
constexpr std::size_t kClassIdLength = 16;

bool IsActionKind(std::uint16_t kind) {
    return kind == kExecAction || kind == kComHandlerAction || kind == kEmailAction ||
           kind == kMessageBoxAction;
}

// A length-counted UTF-16 text at the offset, which moves past it; nothing when it reaches past
// the end or has an odd length.
std::optional<std::string> ReadText(std::string_view bytes, std::size_t& at) {
    const auto length = ReadU32(bytes, at);
    if (!length || *length % 2 != 0 || !HasBytes(bytes, at + 4, *length)) return std::nullopt;
    std::string text =
        UpToFirstZero(DecodeToAnsi(bytes.substr(at + 4, *length), TextEncoding::Utf16Le));
    at += 4 + std::size_t{*length};
    return text;
}

// The registry's spelling of a class id held as a GUID's bytes (three little-endian fields,
// then eight bytes as they are).
std::string ClassIdText(std::string_view guid) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(guid[i])); };
    char text[39];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  byte(3), byte(2), byte(1), byte(0), byte(5), byte(4), byte(7), byte(6), byte(8),
                  byte(9), byte(10), byte(11), byte(12), byte(13), byte(14), byte(15));
    return text;
}

// One action at the offset, which moves past it; false when it cannot be read to its end.
bool ReadAction(std::string_view bytes, std::uint16_t version, std::size_t& at,
                CachedActions& actions) {
    const auto kind = ReadU16(bytes, at);
    if (!kind) return false;
    std::size_t next = at + 2;
    if (!ReadText(bytes, next)) return false;  // the action's id
    if (*kind == kExecAction) {
        CachedExecAction exec;
        for (std::string* field : {&exec.command, &exec.arguments, &exec.workingDirectory}) {
            std::optional<std::string> text = ReadText(bytes, next);
            if (!text) return false;
            *field = std::move(*text);
        }
        if (version >= kExecFlagsVersion) {
            if (!HasBytes(bytes, next, 2)) return false;
            next += 2;
        }
        actions.execActions.push_back(std::move(exec));
    } else if (*kind == kComHandlerAction) {
        if (!HasBytes(bytes, next, kClassIdLength)) return false;
        const std::string classId = ClassIdText(bytes.substr(next, kClassIdLength));
        next += kClassIdLength;
        if (!ReadText(bytes, next)) return false;
        actions.comHandlers.push_back(classId);
    } else {
        // Mail and message boxes (long obsolete) name no program; their layout is not read.
        return false;
    }
    at = next;
    return true;
}

}  // namespace

std::optional<CachedActions> ParseTaskCacheActions(std::string_view bytes) {
    const auto version = ReadU16(bytes, 0);
    if (!version) return std::nullopt;
    CachedActions actions;
    actions.version = *version;
    std::size_t at = 2;
    // The context text is there unless an action follows the version at once.
    const auto first = ReadU16(bytes, at);
    if (first && !IsActionKind(*first)) {
        std::optional<std::string> context = ReadText(bytes, at);
        if (!context) {
            actions.complete = false;
            return actions;
        }
        actions.context = std::move(*context);
    }
    while (at < bytes.size()) {
        if (!ReadAction(bytes, *version, at, actions)) {
            actions.complete = false;
            break;
        }
    }
    return actions;
}

}  // namespace zorvik::parse
