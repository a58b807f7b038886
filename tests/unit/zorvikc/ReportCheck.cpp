#include "unit/zorvikc/ReportCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/parse/JsonReader.h"
#include "zorvikc/CommandLine.h"

namespace reporttest {

namespace {

using zorvik::parse::JsonValue;

const char* const kAnnotations[] = {"$schema", "$id", "title", "description", "$defs",
                                    "$comment"};

bool HasType(const JsonValue& value, const std::string& type) {
    using Type = JsonValue::Type;
    if (type == "integer")
        return value.type == Type::Number &&
               value.text.find_first_of(".eE") == std::string::npos;
    static const std::pair<const char*, Type> kTypes[] = {
        {"object", Type::Object}, {"array", Type::Array},     {"string", Type::String},
        {"number", Type::Number}, {"boolean", Type::Bool},   {"null", Type::Null}};
    for (const auto& [name, t] : kTypes)
        if (type == name) return value.type == t;
    return false;
}

bool SameScalar(const JsonValue& a, const JsonValue& b) {
    return a.type == b.type && a.boolean == b.boolean && a.text == b.text && a.items.empty() &&
           b.items.empty();
}

class SchemaCheck {
public:
    SchemaCheck(const JsonValue& root, std::vector<std::string>& problems)
        : root_(root), problems_(problems) {}

    void Check(const JsonValue& schema, const JsonValue& value, const std::string& where) {
        if (schema.type != JsonValue::Type::Object) return Problem(where, "schema is no object");
        for (std::size_t k = 0; k < schema.names.size(); ++k)
            Keyword(schema, schema.names[k], schema.items[k], value, where);
    }

private:
    void Problem(const std::string& where, const std::string& what) {
        problems_.push_back((where.empty() ? "(report)" : where) + ": " + what);
    }

    void Keyword(const JsonValue& schema, const std::string& name, const JsonValue& arg,
                 const JsonValue& value, const std::string& where) {
        if (name == "$ref") {
            const std::string prefix = "#/$defs/";
            const JsonValue* defs = root_.Member("$defs");
            const JsonValue* target = arg.text.rfind(prefix, 0) == 0 && defs
                                          ? defs->Member(arg.text.substr(prefix.size()))
                                          : nullptr;
            if (!target) return Problem(where, "schema refers to " + arg.text + ", not there");
            return Check(*target, value, where);
        }
        if (name == "type") {
            std::vector<std::string> types;
            if (arg.type == JsonValue::Type::String) types.push_back(arg.text);
            for (const JsonValue& t : arg.items) types.push_back(t.text);
            if (std::none_of(types.begin(), types.end(),
                             [&](const std::string& t) { return HasType(value, t); }))
                Problem(where, "not of the type the schema names");
            return;
        }
        if (name == "enum") {
            if (std::none_of(arg.items.begin(), arg.items.end(),
                             [&](const JsonValue& allowed) { return SameScalar(allowed, value); }))
                Problem(where, "\"" + value.text + "\" is none of the schema's values");
            return;
        }
        if (name == "items") {
            if (value.type != JsonValue::Type::Array) return;
            for (std::size_t i = 0; i < value.items.size(); ++i)
                Check(arg, value.items[i], where + "[" + std::to_string(i) + "]");
            return;
        }
        if (name == "required") {
            if (value.type != JsonValue::Type::Object) return;
            for (const JsonValue& member : arg.items)
                if (!value.Member(member.text)) Problem(where, "no \"" + member.text + "\"");
            return;
        }
        if (name == "properties") {
            if (value.type != JsonValue::Type::Object) return;
            for (std::size_t m = 0; m < value.names.size(); ++m)
                if (const JsonValue* property = arg.Member(value.names[m]))
                    Check(*property, value.items[m], where + "." + value.names[m]);
            return;
        }
        if (name == "additionalProperties") {
            if (value.type != JsonValue::Type::Object) return;
            const JsonValue* properties = schema.Member("properties");
            for (std::size_t m = 0; m < value.names.size(); ++m) {
                if (properties && properties->Member(value.names[m])) continue;
                const std::string member = where + "." + value.names[m];
                if (arg.type == JsonValue::Type::Bool) {
                    if (!arg.boolean) Problem(member, "not in the schema");
                } else {
                    Check(arg, value.items[m], member);
                }
            }
            return;
        }
        if (std::find(std::begin(kAnnotations), std::end(kAnnotations), name) ==
            std::end(kAnnotations))
            Problem(where, "schema keyword " + name + " is not checked here");
    }

    const JsonValue& root_;
    std::vector<std::string>& problems_;
};

const JsonValue& Schema() {
    static const JsonValue schema = [] {
        std::ifstream file(ZORVIK_REPORT_SCHEMA, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        auto reading = zorvik::parse::ReadJson(text.str());
        if (!reading.value) {
            ADD_FAILURE() << ZORVIK_REPORT_SCHEMA << ": " << reading.error;
            return JsonValue{};
        }
        return std::move(*reading.value);
    }();
    return schema;
}

std::string Checked(std::string json) {
    for (const std::string& problem : SchemaProblems(json))
        ADD_FAILURE() << "report does not validate: " << problem << "\n" << json;
    return json;
}

}  // namespace

std::vector<std::string> SchemaProblems(const std::string& json) {
    std::vector<std::string> problems;
    const auto reading = zorvik::parse::ReadJson(json);
    if (!reading.value) return {"not JSON: " + reading.error};
    SchemaCheck(Schema(), problems).Check(Schema(), *reading.value, "");
    return problems;
}

std::string Report(const zorvik::ProcessList& list, zorvik::ReportFormat format) {
    std::string report = zorvik::FormatScanReport(list, format);
    return format == zorvik::ReportFormat::Json ? Checked(std::move(report)) : report;
}

std::string ChangesReport(const zorvik::ProcessList& list,
                          const zorvik::BaselineComparison& comparison,
                          zorvik::ReportFormat format) {
    std::string report = zorvik::FormatChangesReport(list, comparison, format);
    return format == zorvik::ReportFormat::Json ? Checked(std::move(report)) : report;
}

int RunZorvikc(const std::vector<std::string>& args,
               const std::function<platform::System&()>& system, std::ostream& out,
               std::ostream& err) {
    std::ostringstream printed;
    const int code = zorvikc::RunCommandLine(args, system, printed, err);
    const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
    out << (json && !printed.str().empty() ? Checked(printed.str()) : printed.str());
    return code;
}

}  // namespace reporttest
