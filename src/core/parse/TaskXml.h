#pragma once
// What a scheduled task's definition file (the XML the Task Scheduler keeps under
// System32\Tasks since Vista) says it runs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::parse {

struct TaskExecAction {
    std::string command;
    std::string arguments;
    std::string workingDirectory;
};

struct TaskDefinition {
    std::optional<std::string> uri;           // the task's own path, as RegistrationInfo names it
    std::vector<TaskExecAction> execActions;  // in the order the file lists them
    bool enabled = true;                      // false when Settings say Enabled false
    bool hidden = false;                      // true when Settings say Hidden true
};

// The definition the bytes hold (UTF-16 as the Task Scheduler writes it, or UTF-8 as Wine
// does, with or without a byte order mark), texts in ANSI without surrounding blanks. Nothing
// when the bytes are no task definition (their root element is not Task) or the XML is
// malformed or cut short. Actions other than Exec (COM handlers, mail, messages) are left out.
std::optional<TaskDefinition> ParseTaskXml(std::string_view bytes);

}  // namespace zorvik::parse
