// The task definition parser over any bytes: it ends, its texts are trimmed, and an ASCII
// document reads the same in UTF-8 as in UTF-16 with a byte order mark. Disabling a task
// changes only a definition, and what it gives reads back as the same task, disabled.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/TaskXml.h"
#include "core/parse/TaskXmlDisable.h"
#include "support/FuzzCheck.h"

namespace {

bool IsTrimmed(const std::string& text) {
    const std::string blanks = " \t\r\n";
    return text.empty() || (blanks.find(text.front()) == std::string::npos &&
                            blanks.find(text.back()) == std::string::npos);
}

bool SameTask(const std::optional<zorvik::parse::TaskDefinition>& a,
              const std::optional<zorvik::parse::TaskDefinition>& b) {
    if (!a || !b) return !a && !b;
    if (a->uri != b->uri || a->enabled != b->enabled || a->hidden != b->hidden ||
        a->execActions.size() != b->execActions.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a->execActions.size(); ++i) {
        const auto &x = a->execActions[i], &y = b->execActions[i];
        if (x.command != y.command || x.arguments != y.arguments ||
            x.workingDirectory != y.workingDirectory) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto task = zorvik::parse::ParseTaskXml(bytes);
    if (task) {
        for (const auto& action : task->execActions) {
            FUZZ_CHECK(IsTrimmed(action.command) && IsTrimmed(action.arguments) &&
                       IsTrimmed(action.workingDirectory));
            FUZZ_CHECK(action.command.size() + action.arguments.size() <= size);
        }
        FUZZ_CHECK(task->execActions.size() <= size / 7);  // "<Exec/>" at the least per action
    }
    if (const auto disabled = zorvik::parse::DisableTaskXml(bytes)) {
        FUZZ_CHECK(task.has_value());
        auto expected = task;
        expected->enabled = false;
        FUZZ_CHECK(SameTask(expected, zorvik::parse::ParseTaskXml(*disabled)));
    }

    bool ascii = true;
    for (const char c : bytes) ascii = ascii && c > 0 && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        std::string utf16 = "\xFF\xFE";
        for (const char c : bytes) utf16 += std::string{c, '\0'};
        FUZZ_CHECK(SameTask(task, zorvik::parse::ParseTaskXml(utf16)));
    }
    return 0;
}
