#include "core/eventlog/FindingEvents.h"

#include "core/base/SocketFormat.h"
#include "core/report/ReportEntries.h"

namespace zorvik {
namespace {

std::string Bounded(std::string text) {
    if (text.size() > kMaxInsertionLength) text = text.substr(0, kMaxInsertionLength - 3) + "...";
    return text;
}

// Lines as the event viewer shows them: one per CR LF.
template <typename Items, typename Line>
std::string Lines(const Items& items, Line line) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty()) text += "\r\n";
        text += line(item);
    }
    return text;
}

std::string SocketsText(const std::vector<platform::TcpRow>& sockets) {
    return Lines(sockets, [](const platform::TcpRow& row) { return SocketSummary(row); });
}

FindingEvent ProgramEvent(const ProcessRow& row) {
    const bool suspicious = row.verdict && row.verdict->level == VerdictLevel::Suspicious;
    FindingEvent event;
    event.type = suspicious ? platform::EventType::Warning : platform::EventType::Information;
    event.id = suspicious ? kSuspiciousProgramEvent : kListedProgramEvent;
    std::vector<std::string>& s = event.strings;
    s.assign(kProgramFieldCount, std::string());
    s[kProgramPath] = row.caption;
    s[kProgramPid] = row.pid;
    if (row.verdict) {
        s[kProgramLevel] = VerdictLevelName(row.verdict->level);
        std::string codes;
        for (const VerdictReason& reason : row.verdict->reasons)
            codes += (codes.empty() ? "" : ",") + reason.code;
        s[kProgramReasonCodes] = codes;
        s[kProgramReasons] = VerdictReasonsText(*row.verdict, "\r\n");
    }
    s[kProgramDetails] = row.details;
    s[kProgramEntries] = Lines(ReportEntriesOf(row, nullptr),
                               [](const ReportEntry& entry) { return entry.line; });
    s[kProgramSockets] = SocketsText(row.sockets);
    if (row.file) {
        s[kProgramSha256] = row.file->sha256;
        s[kProgramSignature] = SignatureSummary(row.file->signature);
        if (row.file->version) s[kProgramCompany] = row.file->version->companyName;
    }
    for (std::string& text : s) text = Bounded(std::move(text));
    return event;
}

}  // namespace

std::vector<FindingEvent> ScanEvents(const ProcessList& list) {
    std::vector<FindingEvent> events;
    for (std::size_t i = 0; i < list.Count(); ++i) events.push_back(ProgramEvent(list.At(i)));
    return events;
}

FindingEvent WatchEvent(const EntryNews& news, const WatchLineFacts& facts) {
    FindingEvent event;
    switch (news.change) {
        case EntryChange::Added: event.id = kEntryAddedEvent; break;
        case EntryChange::Changed: event.id = kEntryChangedEvent; break;
        case EntryChange::Removed: event.id = kEntryRemovedEvent; break;
    }
    event.type = news.change == EntryChange::Removed ? platform::EventType::Information
                                                     : platform::EventType::Warning;
    std::vector<std::string>& s = event.strings;
    s.assign(kEntryFieldCount, std::string());
    s[kEntryChange] = EntryChangeName(news.change);
    s[kEntryKind] = news.facts.kind;
    s[kEntryPlace] = news.facts.where.place;
    s[kEntryName] = news.facts.where.name;
    s[kEntryText] = news.Text();
    s[kEntryProgram] = facts.program;
    s[kEntryRunning] = facts.running ? "true" : "false";
    s[kEntrySockets] = SocketsText(facts.sockets);
    s[kEntryKey] = news.key;
    if (facts.level) s[kEntryLevel] = VerdictLevelName(*facts.level);
    for (std::string& text : s) text = Bounded(std::move(text));
    return event;
}

}  // namespace zorvik
