#include "core/eventlog/EventSource.h"

namespace zorvik {
namespace {

// TypesSupported: errors, warnings and information.
constexpr std::uint32_t kTypesSupported = 7;

std::string DwordData(std::uint32_t value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return data;
}

}  // namespace

bool EventSourceInstalled(platform::System& sys) {
    platform::RegKey key(sys.registry(), sys.registry().Open(platform::RootKey::LocalMachine,
                                                             kEventSourceKey,
                                                             platform::KeyAccess::Read));
    return key.get() != 0;
}

SourceChange InstallEventSource(platform::System& sys, const std::string& messageFile) {
    platform::Registry& reg = sys.registry();
    platform::RegKey key(reg, reg.Create(platform::RootKey::LocalMachine, kEventSourceKey));
    if (key.get() == 0) return SourceChange::Refused;
    const bool written =
        reg.Set(key.get(), "EventMessageFile",
                platform::RegValue{platform::RegType::ExpandSz, messageFile + '\0'}) &&
        reg.Set(key.get(), "TypesSupported",
                platform::RegValue{platform::RegType::Dword, DwordData(kTypesSupported)});
    return written ? SourceChange::Done : SourceChange::Refused;
}

SourceChange UninstallEventSource(platform::System& sys) {
    if (!EventSourceInstalled(sys)) return SourceChange::Unchanged;
    return sys.registry().DeleteTree(platform::RootKey::LocalMachine, kEventSourceKey)
               ? SourceChange::Done
               : SourceChange::Refused;
}

FindingEventFeed::FindingEventFeed(platform::System& sys) {
    platform::EventLog* log = sys.eventLog();
    if (!log) {
        problem_ = "this system has no event log";
        return;
    }
    // Windows takes events of a source it does not know, but shows them without their texts:
    // such events would reach a collector that cannot read them.
    if (!EventSourceInstalled(sys)) {
        problem_ = std::string("the event source \"") + kEventSourceName +
                   "\" is not registered: run zorvikc --install-eventlog-source as an "
                   "administrator once";
        return;
    }
    std::string error;
    writer_ = log->Open(kEventSourceName, error);
    if (!writer_) problem_ = "the event log cannot be opened: " + error;
}

bool FindingEventFeed::Write(const FindingEvent& event) {
    if (!writer_) return false;
    if (writer_->Write(event.type, event.id, event.strings)) return true;
    problem_ = "the event log refused an event";
    return false;
}

}  // namespace zorvik
