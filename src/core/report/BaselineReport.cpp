#include "core/report/BaselineReport.h"

#include <utility>

#include "core/parse/JsonReader.h"

namespace zorvik {

namespace {

using parse::JsonValue;

constexpr const char* kUtf16Marks[] = {"\xFF\xFE", "\xFE\xFF"};

// Thrown with what makes the document no report.
struct NoReport {
    std::string why;
};

const JsonValue& MemberOf(const JsonValue& object, const std::string& name, JsonValue::Type type,
                          const std::string& what, const std::string& where) {
    const JsonValue* member = object.Member(name);
    if (!member || member->type != type)
        throw NoReport{where + " has no \"" + name + "\" " + what};
    return *member;
}

BaselineEntry EntryOf(const JsonValue& value, const std::string& path, const std::string& where) {
    if (value.type != JsonValue::Type::Object) throw NoReport{where + " is no object"};
    BaselineEntry entry;
    entry.path = path;
    entry.type = MemberOf(value, "type", JsonValue::Type::String, "text", where).text;
    const JsonValue& data = MemberOf(value, "data", JsonValue::Type::Array, "list", where);
    for (const JsonValue& item : data.items) {
        if (item.type != JsonValue::Type::String) throw NoReport{where + " has data not text"};
        entry.data.push_back(item.text);
    }
    entry.disabled = MemberOf(value, "disabled", JsonValue::Type::Bool, "flag", where).boolean;
    // Reports of a zorvikc that wrote no keys cannot be compared entry by entry.
    const std::string again = " (write the baseline again with this zorvikc)";
    if (!value.Member("key")) throw NoReport{where + " has no \"key\"" + again};
    entry.key = MemberOf(value, "key", JsonValue::Type::String, "text", where).text;
    if (!value.Member("text")) throw NoReport{where + " has no \"text\"" + again};
    entry.text = MemberOf(value, "text", JsonValue::Type::String, "text", where).text;
    return entry;
}

std::vector<BaselineEntry> EntriesOf(const JsonValue& document) {
    if (document.type != JsonValue::Type::Object) throw NoReport{"it is no object"};
    if (document.Member("removed"))
        throw NoReport{"it tells the changes since another baseline, not a whole scan"};
    const JsonValue& programs =
        MemberOf(document, "programs", JsonValue::Type::Array, "list", "it");
    std::vector<BaselineEntry> entries;
    for (std::size_t p = 0; p < programs.items.size(); ++p) {
        const JsonValue& program = programs.items[p];
        const std::string where = "program " + std::to_string(p + 1);
        if (program.type != JsonValue::Type::Object) throw NoReport{where + " is no object"};
        const std::string& path =
            MemberOf(program, "path", JsonValue::Type::String, "text", where).text;
        const JsonValue& startups =
            MemberOf(program, "startups", JsonValue::Type::Array, "list", where);
        for (std::size_t s = 0; s < startups.items.size(); ++s)
            entries.push_back(EntryOf(startups.items[s], path,
                                      "entry " + std::to_string(s + 1) + " of " + where));
    }
    return entries;
}

}  // namespace

BaselineReading ReadBaselineReport(const std::string& bytes) {
    BaselineReading reading;
    if (bytes.empty()) {
        reading.error = "empty";
        return reading;
    }
    for (const char* mark : kUtf16Marks) {
        if (bytes.rfind(mark, 0) == 0) {
            reading.error =
                "UTF-16 text, where zorvikc writes UTF-8 (from PowerShell, have cmd write the "
                "file: cmd /c \"zorvikc scan --json > FILE\")";
            return reading;
        }
    }
    const parse::JsonReading json = parse::ReadJson(bytes);
    if (!json.value) {
        reading.error = "not JSON: line " + std::to_string(json.line) + ", column " +
                        std::to_string(json.column) + ": " + json.error;
        return reading;
    }
    try {
        reading.entries = EntriesOf(*json.value);
    } catch (const NoReport& noReport) {
        reading.error = "no zorvikc scan --json report: " + noReport.why;
    }
    return reading;
}

BaselineReading ReadBaselineFile(platform::System& sys, const std::string& path) {
    std::string bytes;
    const platform::FileResult read = sys.files().ReadAll(path, bytes);
    if (read.ok) return ReadBaselineReport(bytes);
    BaselineReading reading;
    switch (read.error) {
        case platform::kErrorFileNotFound:
        case platform::kErrorPathNotFound: reading.error = "not found"; break;
        case platform::kErrorFileTooLarge: reading.error = "too large for a report"; break;
        default: reading.error = "cannot be read (system error " + std::to_string(read.error) + ")";
    }
    return reading;
}

}  // namespace zorvik
