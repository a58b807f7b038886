// The task cache's Actions reader over any bytes: it ends, its texts come from inside the input,
// a class id is always spelt in full, and bytes after a complete value are read as further
// actions, never as changes to the ones before.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/TaskCacheActions.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto actions = zorvik::parse::ParseTaskCacheActions(bytes);
    FUZZ_CHECK(actions.has_value() == (size >= 2));
    if (!actions) return 0;
    std::size_t total = actions->context.size();
    for (const auto& exec : actions->execActions) {
        for (const std::string* text : {&exec.command, &exec.arguments, &exec.workingDirectory}) {
            FUZZ_CHECK(text->find('\0') == std::string::npos);
            total += text->size();
        }
    }
    FUZZ_CHECK(total * 2 <= size);
    for (const std::string& classId : actions->comHandlers)
        FUZZ_CHECK(classId.size() == 38 && classId.front() == '{' && classId.back() == '}');

    if (!actions->complete) return 0;
    const auto longer = zorvik::parse::ParseTaskCacheActions(bytes + std::string("\x66\x66", 2));
    FUZZ_CHECK(longer && !longer->complete &&
               longer->execActions.size() == actions->execActions.size() &&
               longer->comHandlers == actions->comHandlers);
    for (std::size_t i = 0; i < actions->execActions.size(); ++i)
        FUZZ_CHECK(longer->execActions[i].command == actions->execActions[i].command);
    return 0;
}
