#include "core/parse/JobFile.h"

#include <cstdint>

#include "core/parse/BinaryFields.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

// The fixed part: what the variable part's first text is found by, and the task's flags.
constexpr std::size_t kFixedLength = 0x44;
constexpr std::size_t kApplicationNameOffsetAt = 0x14;
constexpr std::size_t kFlagsAt = 0x30;
constexpr std::uint32_t kTaskFlagDisabled = 0x4;
// The variable part starts with the count of running instances, then the texts.
constexpr std::size_t kRunningInstanceCountLength = 2;

// The texts after each other, each a 16-bit count of UTF-16 characters (its terminating zero
// included), then the characters.
constexpr std::string JobTask::*kTexts[] = {
    &JobTask::applicationName,
    &JobTask::parameters,
    &JobTask::workingDirectory,
    &JobTask::author,
    &JobTask::comment,
};

}  // namespace

std::optional<JobTask> ParseJobFile(std::string_view bytes) {
    const auto firstTextAt = ReadU16(bytes, kApplicationNameOffsetAt);
    const auto flags = ReadU32(bytes, kFlagsAt);
    if (!HasBytes(bytes, 0, kFixedLength) || !firstTextAt || !flags ||
        *firstTextAt < kFixedLength + kRunningInstanceCountLength) {
        return std::nullopt;
    }
    JobTask task;
    task.disabled = *flags & kTaskFlagDisabled;
    std::size_t at = *firstTextAt;
    for (std::string JobTask::*text : kTexts) {
        const auto count = ReadU16(bytes, at);
        if (!count || !HasBytes(bytes, at + 2, std::size_t{*count} * 2)) return std::nullopt;
        task.*text = UpToFirstZero(
            DecodeToAnsi(bytes.substr(at + 2, std::size_t{*count} * 2), TextEncoding::Utf16Le));
        at += 2 + std::size_t{*count} * 2;
    }
    return task;
}

}  // namespace zorvik::parse
