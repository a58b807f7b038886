#include "core/parse/TerminalSettings.h"

#include "core/base/AsciiLower.h"
#include "core/parse/JsonReader.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

const JsonValue* ProfileNamed(const JsonValue& profiles, const std::string& wanted) {
    const std::string lower = AsciiLower(wanted);
    for (const JsonValue& profile : profiles.items) {
        if (profile.type != JsonValue::Type::Object) continue;
        for (const char* key : {"guid", "name"}) {
            const JsonValue* id = profile.Member(key);
            if (id && id->type == JsonValue::Type::String && AsciiLower(id->text) == lower)
                return &profile;
        }
    }
    return nullptr;
}

std::string Text(const JsonValue* value) {
    if (!value || value->type != JsonValue::Type::String) return {};
    return DecodeToAnsi(value->text, TextEncoding::Utf8);
}

}  // namespace

std::string WithoutJsonComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            // A string, escapes included, up to its closing quote.
            out += c;
            for (++i; i < text.size(); ++i) {
                out += text[i];
                if (text[i] == '\\' && i + 1 < text.size()) out += text[++i];
                else if (text[i] == '"') break;
            }
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') ++i;
            out += '\n';
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 1;
            out += ' ';
        } else if (c == ']' || c == '}') {
            // A comma before it, blanks between, is a trailing one.
            std::size_t back = out.size();
            while (back > 0 && (out[back - 1] == ' ' || out[back - 1] == '\t' ||
                                out[back - 1] == '\r' || out[back - 1] == '\n'))
                --back;
            if (back > 0 && out[back - 1] == ',') out[back - 1] = ' ';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<TerminalStartup> ParseTerminalSettings(std::string_view bytes) {
    const JsonReading reading = ReadJson(WithoutJsonComments(bytes));
    if (!reading.value || reading.value->type != JsonValue::Type::Object) return std::nullopt;
    const JsonValue& settings = *reading.value;
    TerminalStartup startup;
    const JsonValue* start = settings.Member("startOnUserLogin");
    startup.startOnUserLogin = start && start->type == JsonValue::Type::Bool && start->boolean;
    // "profiles" is a list, or an object holding the list and the defaults of every profile.
    const JsonValue* profiles = settings.Member("profiles");
    const JsonValue* list = profiles;
    const JsonValue* defaults = nullptr;
    if (profiles && profiles->type == JsonValue::Type::Object) {
        list = profiles->Member("list");
        defaults = profiles->Member("defaults");
    }
    const std::string wanted = Text(settings.Member("defaultProfile"));
    const JsonValue* profile = nullptr;
    if (list && list->type == JsonValue::Type::Array) {
        profile = wanted.empty() ? nullptr : ProfileNamed(*list, wanted);
        // Without a default named, the terminal opens the first profile.
        if (!profile && wanted.empty() && !list->items.empty()) profile = &list->items.front();
    }
    if (!profile || profile->type != JsonValue::Type::Object) return startup;
    startup.profile = Text(profile->Member("name"));
    startup.commandLine = Text(profile->Member("commandline"));
    if (startup.commandLine.empty() && !profile->Member("source") && defaults &&
        defaults->type == JsonValue::Type::Object)
        startup.commandLine = Text(defaults->Member("commandline"));
    return startup;
}

}  // namespace zorvik::parse
