#pragma once
// The events a scan or a watch writes to the Application log, for Windows Event Forwarding and
// the SIEM behind it: a fixed set of ids, the type by what was found, and the finding's fields
// as insertion strings in a fixed order (the message table, src/zorvikc/ZorvikEvents.mc, names
// them %1, %2, ... in that order). Texts are ANSI, as the log takes them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/watch/EntryNews.h"
#include "core/report/WatchLine.h"
#include "platform/EventLog.h"

namespace zorvik {

// The ids; a forwarding subscription selects by them. Never renumber one.
inline constexpr std::uint32_t kSuspiciousProgramEvent = 1000;
inline constexpr std::uint32_t kListedProgramEvent = 1001;
inline constexpr std::uint32_t kEntryAddedEvent = 1100;
inline constexpr std::uint32_t kEntryChangedEvent = 1101;
inline constexpr std::uint32_t kEntryRemovedEvent = 1102;

// One insertion string is kept below this many characters (the log takes at most 31,839 each
// and 61,440 bytes for all): a longer one is cut and ends in "...".
inline constexpr std::size_t kMaxInsertionLength = 8000;

struct FindingEvent {
    platform::EventType type = platform::EventType::Information;
    std::uint32_t id = 0;
    std::vector<std::string> strings;
};

// The insertion strings of a program's event, in their order:
enum ProgramEventField {
    kProgramPath, kProgramPid, kProgramLevel, kProgramReasonCodes, kProgramReasons,
    kProgramDetails, kProgramEntries, kProgramSockets, kProgramSha256, kProgramSignature,
    kProgramCompany, kProgramFieldCount
};
// and of an entry's event:
enum EntryEventField {
    kEntryChange, kEntryKind, kEntryPlace, kEntryName, kEntryText, kEntryProgram, kEntryRunning,
    kEntrySockets, kEntryKey, kEntryLevel, kEntryFieldCount
};

// One event per listed program: suspicious ones as warnings under their own id, the others
// as information.
std::vector<FindingEvent> ScanEvents(const ProcessList& list);

// The event of one change a watch saw, with the verdict on the program it names where the
// watch judged it. Added and changed entries are warnings.
FindingEvent WatchEvent(const EntryNews& news, const WatchLineFacts& facts);

}  // namespace zorvik
