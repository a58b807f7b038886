#pragma once
// What a Windows XP scheduled task (.job file of Task Scheduler 1.0, under Windows\Tasks) says
// it runs.
#include <optional>
#include <string>
#include <string_view>

namespace zorvik::parse {

struct JobTask {
    std::string applicationName;
    std::string parameters;
    std::string workingDirectory;
    std::string author;
    std::string comment;
    bool disabled = false;  // the task's flags say it is disabled
};

// The task the bytes hold, texts in ANSI. Nothing when they are shorter than the fixed part,
// or when a text up to the comment reaches past the end (a truncated file).
std::optional<JobTask> ParseJobFile(std::string_view bytes);

}  // namespace zorvik::parse
