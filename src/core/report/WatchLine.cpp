#include "core/report/WatchLine.h"

#include <cstdio>

#include "core/report/AnsiUtf8.h"
#include "core/report/EvidenceReport.h"
#include "core/report/ScanReport.h"

namespace zorvik {

namespace {

std::string Field(const char* name, const std::string& json) {
    return std::string("\"") + name + "\": " + json;
}

std::string TextField(const char* name, const std::string& ansi) {
    return Field(name, JsonString(AnsiToUtf8(ansi)));
}

}  // namespace

std::string IsoUtcText(const platform::UtcTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return text;
}

std::string WatchLine(const EntryNews& news, const WatchLineFacts& facts) {
    std::string sockets = "[";
    for (std::size_t i = 0; i < facts.sockets.size(); ++i) {
        if (i > 0) sockets += ", ";
        sockets += SocketJson(facts.sockets[i]);
    }
    sockets += "]";
    const std::string fields[] = {
        Field("time", facts.time ? JsonString(IsoUtcText(*facts.time)) : "null"),
        Field("change", JsonString(EntryChangeName(news.change))),
        TextField("kind", news.facts.kind),
        TextField("place", news.facts.where.place),
        TextField("name", news.facts.where.name),
        TextField("text", news.Text()),
        TextField("program", facts.program),
        Field("running", facts.running ? "true" : "false"),
        Field("sockets", sockets),
        Field("level", facts.level ? JsonString(VerdictLevelName(*facts.level)) : "null"),
        TextField("key", news.key),
    };
    std::string line = "{";
    for (const std::string& field : fields) {
        if (line.size() > 1) line += ", ";
        line += field;
    }
    return line + "}";
}

}  // namespace zorvik
