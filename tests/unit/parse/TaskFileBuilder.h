#pragma once
// The files of scheduled tasks for tests: an XP .job file, and a task definition as the Task
// Scheduler writes it (UTF-16LE with a byte order mark).
#include <cstdint>
#include <string>

#include "unit/parse/ByteBuilder.h"

namespace parse_test {

inline std::string CountedText(const std::string& text) {
    return U16(static_cast<std::uint32_t>(text.size() + 1)) + Utf16(text) + U16(0);
}

// The job file flag that keeps the work item from running.
constexpr std::uint32_t kJobDisabled = 0x4;

// A job file: the fixed part with the flags, the running instance count, the texts, then the
// user data, reserved data and trigger count that follow them.
inline std::string JobBytes(std::uint32_t flags, const std::string& application,
                            const std::string& parameters) {
    std::string fixed = U16(0x0501) + U16(1) + std::string(16, '\x5A') + U16(0x46) + U16(0);
    fixed.resize(0x30, '\0');
    fixed += U32(flags);
    fixed.resize(0x44, '\0');
    return fixed + U16(0) + CountedText(application) + CountedText(parameters) +
           CountedText("C:\\Work") + CountedText("ZORVIK\\admin") + CountedText("") + U16(0) +
           U16(0) + U16(0);
}

// A definition with the given Settings content and one Exec action, as ASCII text.
inline std::string TaskDefinitionText(const std::string& settings, const std::string& command,
                                      const std::string& arguments = "") {
    std::string exec = "<Exec>\r\n      <Command>" + command + "</Command>\r\n";
    if (!arguments.empty()) exec += "      <Arguments>" + arguments + "</Arguments>\r\n";
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
           "  <Settings>" + settings + "</Settings>\r\n"
           "  <Actions Context=\"Author\">" + exec + "    </Exec></Actions>\r\n"
           "</Task>\r\n";
}

// That text as the Task Scheduler writes it.
inline std::string TaskFileBytes(const std::string& definitionText) {
    std::string bytes = "\xFF\xFE";
    return bytes.append(Utf16(definitionText));
}

}  // namespace parse_test
