#include "core/parse/TaskXml.h"

#include <algorithm>
#include <span>

#include "core/base/AsciiLower.h"
#include "core/parse/XmlElements.h"

namespace zorvik::parse {

namespace {

using ElementPath = std::vector<std::string>;
using Names = std::span<const std::string_view>;

constexpr std::string_view kTask[] = {"Task"};
constexpr std::string_view kExec[] = {"Task", "Actions", "Exec"};
constexpr std::string_view kEnabled[] = {"Task", "Settings", "Enabled"};
constexpr std::string_view kHidden[] = {"Task", "Settings", "Hidden"};
constexpr std::string_view kUri[] = {"Task", "RegistrationInfo", "URI"};
constexpr std::string_view kCommand[] = {"Task", "Actions", "Exec", "Command"};
constexpr std::string_view kArguments[] = {"Task", "Actions", "Exec", "Arguments"};
constexpr std::string_view kWorkingDirectory[] = {"Task", "Actions", "Exec", "WorkingDirectory"};

struct ExecField {
    Names path;
    std::string TaskExecAction::*text;
};
constexpr ExecField kExecFields[] = {
    {kCommand, &TaskExecAction::command},
    {kArguments, &TaskExecAction::arguments},
    {kWorkingDirectory, &TaskExecAction::workingDirectory},
};

bool PathIs(const ElementPath& path, Names names) {
    return std::equal(path.begin(), path.end(), names.begin(), names.end());
}

// An XML boolean's value; the schema spells them in lower case, others are read alike.
bool IsXmlTrue(const std::string& value) {
    const std::string lower = AsciiLower(value);
    return lower == "true" || lower == "1";
}
bool IsXmlFalse(const std::string& value) {
    const std::string lower = AsciiLower(value);
    return lower == "false" || lower == "0";
}

class TaskVisitor : public XmlElementVisitor {
public:
    TaskDefinition task;
    bool isTask = false;

    void ElementStarted(const ElementPath& path) override {
        if (path.size() == 1) isTask = PathIs(path, kTask);
        if (PathIs(path, kExec)) task.execActions.emplace_back();
    }

    void ElementEnded(const ElementPath& path, const std::string& text) override {
        if (!isTask) return;
        for (const ExecField& field : kExecFields) {
            if (PathIs(path, field.path)) task.execActions.back().*field.text = TrimXmlBlanks(text);
        }
        if (PathIs(path, kEnabled)) task.enabled = !IsXmlFalse(TrimXmlBlanks(text));
        if (PathIs(path, kHidden)) task.hidden = IsXmlTrue(TrimXmlBlanks(text));
        if (PathIs(path, kUri)) task.uri = TrimXmlBlanks(text);
    }
};

}  // namespace

std::optional<TaskDefinition> ParseTaskXml(std::string_view bytes) {
    TaskVisitor visitor;
    if (!ReadXmlElements(XmlDocumentToAnsi(bytes), visitor) || !visitor.isTask) return std::nullopt;
    return visitor.task;
}

}  // namespace zorvik::parse
