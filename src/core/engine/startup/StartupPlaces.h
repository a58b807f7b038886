#pragma once
// What one scan reads of the start-up places: the rules file once, then every place it names
// once, whatever number of programs the scan examines. Held by the scan that reads it and
// dropped at its end, so an edited Scan.ini or a changed place counts at the next scan.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupKind.h"
#include "core/engine/untRecord.h"
#include "platform/System.h"
#include "platform/Tasks.h"
#include "platform/Wmi.h"

namespace zorvik {

// The rule key ("Dlls=1") that has a rule's texts compared with the modules loaded in each
// socket owner too.
inline constexpr const char* kDllsKey = "Dlls";

// One place as one rule reached it (two rules naming the same place give two spots; a FOL
// rule gives one spot per account), with what a hit there records.
struct StartupSpot {
    StartupKind kind = StartupKind::Reg;
    std::string where;  // REG: root name as written; INI: profile file; FOL: folder; FIL: file;
                        // TASK: the task's path as the Task Scheduler names it
    std::string key;    // REG: key path; INI: section; TASK: the task's file, if read
    std::string ident;  // INI: entry; SVC: the service's name; WMI: the text as WMI holds it
    // The place is switched off as a whole (a disabled service or task): each hit there is
    // disabled.
    bool off = false;
    // SVC: the service's start type, none when its Start value is missing or no number.
    std::optional<std::uint32_t> startType;
    // The texts name a program by its full path (EXE), not by its file name.
    bool namesPath = false;
    // The texts also name the modules loaded in each socket owner (a rule with Dlls=1).
    bool comparesModules = false;
};

// One text read at a spot, ASCII lower-cased, in the order the rules and the system gave it.
// Empty texts are not kept: they can name no program.
struct StartupText {
    std::uint32_t spot = 0;
    std::string valueName;  // REG: the value's name; FOL: the entry's name as listed;
                            // TASK: the command line as the task holds it
    std::string lower;
};

struct StartupPlaces {
    std::vector<StartupSpot> spots;
    std::vector<StartupText> texts;
};

// What the reader of a kind is given: the system, and where it puts what it reads. The
// accounts are listed at the first call of Accounts and kept for the rest of this scan only.
class PlaceReading {
public:
    explicit PlaceReading(platform::System& sys) : sys_(sys) {}

    platform::System& sys() { return sys_; }
    std::uint32_t AddSpot(StartupKind kind, std::string where, std::string key = {},
                          std::string ident = {});
    // The spot of a place found by kind-specific facts (a service's start type, a disabled
    // task).
    std::uint32_t AddSpot(StartupSpot spot);
    void AddText(std::uint32_t spot, const std::string& text, std::string valueName = {});
    const StrAr& Accounts();
    // The Task Scheduler's list (empty without a scheduler), likewise asked for once per scan.
    const std::vector<platform::ScheduledTask>& ScheduledTasks();
    // WMI's event consumers, asked for at the first call and kept for the rest of this scan;
    // none where the system gives no WMI.
    const std::vector<platform::WmiEventConsumer>& WmiConsumers();
    std::size_t SpotCount() const { return places_.spots.size(); }
    // The spots from first on also compare the socket owners' modules (Dlls=1).
    void CompareModulesFrom(std::size_t first);
    StartupPlaces Take() { return std::move(places_); }

private:
    platform::System& sys_;
    StartupPlaces places_;
    std::optional<StrAr> accounts_;
    std::optional<std::vector<platform::ScheduledTask>> scheduledTasks_;
    std::optional<std::vector<platform::WmiEventConsumer>> wmiConsumers_;
};

// Whether a spot of places compares the socket owners' modules, so that the scan reads them.
bool ComparesModules(const StartupPlaces& places);

// Reads the rules file and every place it names. Missing or unreadable places, and registry
// values that are not text, give no texts; nothing is thrown for them.
StartupPlaces ReadStartupPlaces(platform::System& sys);

// Appends to findings the element that a hit on text records.
void AppendStartupHit(const StartupPlaces& places, const StartupText& text, bool disabled,
                      ProcInfo& findings);

}  // namespace zorvik
