#pragma once
// What a scheduled task runs as the Task Scheduler keeps it in the registry: the binary Actions
// value of its key in Schedule\TaskCache\Tasks, which holds the task's actions even when no
// task file is left and the scheduler's list no longer shows it.
//
// The value: a 16-bit version; on most versions a text naming the task's context ("Author");
// then the actions, each a 16-bit kind, a text (its id) and its fields: a program's command,
// arguments and working folder (kind 0x6666; from version 3 followed by a 16-bit flags word);
// a COM handler's class id (16 bytes) and data text (0x7777). Each text is a 32-bit length in
// bytes, then that many bytes of UTF-16.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::parse {

struct CachedExecAction {
    std::string command;
    std::string arguments;
    std::string workingDirectory;
};

struct CachedActions {
    std::uint16_t version = 0;
    std::string context;
    std::vector<CachedExecAction> execActions;
    // The class ids of the COM handlers, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
    std::vector<std::string> comHandlers;
    // False when an action of a kind this reader does not know, or one cut short, ended the
    // reading: the actions before it are kept.
    bool complete = true;
};

// The actions the bytes hold, texts in ANSI. Nothing when they hold no version.
std::optional<CachedActions> ParseTaskCacheActions(std::string_view bytes);

}  // namespace zorvik::parse
