#pragma once
// What one scan reads of the start-up places: the rules file once, then every place it names
// once, whatever number of programs the scan examines. Held by the scan that reads it and
// dropped at its end, so an edited Scan.ini or a changed place counts at the next scan.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/engine/startup/StartupKind.h"
#include "core/engine/untRecord.h"
#include "platform/BackgroundTransfers.h"
#include "platform/System.h"
#include "platform/Tasks.h"
#include "platform/Wmi.h"

namespace zorvik {

// The rule key ("Dlls=1") that has a rule's texts compared with the modules loaded in each
// socket owner too.
inline constexpr const char* kDllsKey = "Dlls";
// The rule key ("Classes=1") that follows a class id to the servers the class names.
inline constexpr const char* kClassesKey = "Classes";

// One place as one rule reached it (two rules naming the same place give two spots; a FOL
// rule gives one spot per account), with what a hit there records.
struct StartupSpot {
    StartupKind kind = StartupKind::Reg;
    std::string where;  // REG: root name as written; INI: profile file; FOL, LNK: folder; FIL: file;
                        // TASK: the task's path as the Task Scheduler names it
    std::string key;    // REG: key path; INI: section; LNK: the shortcut's name; TASK: the task's
                        // file, if read
    std::string ident;  // INI: entry; SVC: the service's name; LNK: the shortcut's target and
                        // arguments; WMI: the text as WMI holds it; BITS: the job's
                        // command line
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

// No path: a text read from its entry itself.
inline constexpr std::uint32_t kNoPath = 0xFFFFFFFF;

// One text read at a spot, ASCII lower-cased, in the order the rules and the system gave it.
// Empty texts are not kept: they can name no program.
struct StartupText {
    std::uint32_t spot = 0;
    std::string valueName;  // REG: the value's name; FOL, LNK: the entry's name as listed;
                            // TASK: the command line as the task holds it
    std::string lower;
    // The script (in StartupPlaces::paths) whose line this is.
    std::uint32_t script = kNoPath;
    // The program (in StartupPlaces::paths) Windows runs in place of the entry's unquoted
    // command: lower is then that program's whole path, and names only the program there.
    std::uint32_t runsInstead = kNoPath;
    // The entry is disabled whatever the text holds (a shortcut renamed to ".lnk.bak").
    bool disabled = false;
    // The class server registration (in StartupPlaces::paths) whose value this is.
    std::uint32_t server = kNoPath;
};

struct StartupPlaces {
    std::vector<StartupSpot> spots;
    std::vector<StartupText> texts;
    // The scripts and programs texts were found through, as the system names them.
    std::vector<std::string> paths;
};

class ScriptCache;
class ExistingFiles;
struct ScanRule;

// What the reader of a kind is given: the system, and where it puts what it reads. The
// accounts are listed at the first call of Accounts and kept for the rest of this scan only.
// The keys a rule may add to any type (Scripts=1, Unquoted=1, Dlls=1) act here, on every spot
// and text a reader adds, so that each kind follows scripts, unquoted commands and DLLs alike.
class PlaceReading {
public:
    explicit PlaceReading(platform::System& sys);
    ~PlaceReading();

    platform::System& sys() { return sys_; }
    // Takes the keys of the rule whose reader runs next.
    void BeginRule(const ScanRule& rule);
    std::uint32_t AddSpot(StartupKind kind, std::string where, std::string key = {},
                          std::string ident = {});
    // The spot of a place found by kind-specific facts (a service's start type, a disabled
    // task).
    std::uint32_t AddSpot(StartupSpot spot);
    // Keeps the text; for a rule with Unquoted=1 also the programs Windows would run in place
    // of an unquoted command in it, and with Scripts=1 the lines of each script it names.
    // disabled: the entry is disabled whatever the text holds.
    void AddText(std::uint32_t spot, const std::string& text, std::string valueName = {},
                 bool disabled = false);
    // For a rule with Scripts=1: the lines of the script file at path (one lying in the rule's
    // folder) as texts of spot. Nothing for other rules, or a file that is no readable script.
    void AddScriptLines(std::uint32_t spot, const std::string& path, const std::string& valueName,
                        bool disabled = false);
    bool FollowsScripts() const { return followScripts_; }
    // For a rule with Classes=1: the servers of the class id (InprocServer32, LocalServer32)
    // as texts of spot, each with its registration. Nothing for other rules or other texts.
    void AddClassServers(std::uint32_t spot, const std::string& classId,
                         const std::string& valueName, bool disabled = false);
    bool FollowsClasses() const { return followClasses_; }

    // Texts read from now on belong to the account whose profile folder is given (empty: the
    // running program's own): their variables are expanded as that account's would be.
    void SetAccountProfile(const std::string& profileFolder);
    std::string Expand(const std::string& text);

    // True the first time a folder (any letter case, any trailing backslash) is named for the
    // kind in this scan; false each time after.
    bool FirstTimeRead(StartupKind kind, const std::string& folder);
    // The folders named for the first time since the last call: what one rule left for the
    // rules after it. A reading of some rules alone takes those of the rules before each of
    // them back with NoteFirstReads, so that it reads as the whole scan did.
    std::vector<std::string> TakeFirstReads() { return std::exchange(firstReads_, {}); }
    void NoteFirstReads(const std::vector<std::string>& firstReads);

    const StrAr& Accounts();
    // The Task Scheduler's list (empty without a scheduler), likewise asked for once per scan.
    const std::vector<platform::ScheduledTask>& ScheduledTasks();
    // WMI's event consumers, asked for at the first call and kept for the rest of this scan;
    // none where the system gives no WMI.
    const std::vector<platform::WmiEventConsumer>& WmiConsumers();
    // BITS' jobs, likewise; none where the system gives no BITS.
    const std::vector<platform::TransferJob>& TransferJobs();
    // What was read since the last Take; the scan's lists (accounts, tasks, scripts) stay.
    StartupPlaces Take();

private:
    void Follow(std::uint32_t spot, const std::string& text, const std::string& valueName,
                bool disabled, std::uint32_t script);
    void FollowScript(std::uint32_t spot, const std::string& path, const std::string& valueName,
                      bool disabled);
    std::uint32_t AddPath(const std::string& path);

    platform::System& sys_;
    StartupPlaces places_;
    std::optional<StrAr> accounts_;
    std::optional<std::vector<platform::ScheduledTask>> scheduledTasks_;
    std::optional<std::vector<platform::WmiEventConsumer>> wmiConsumers_;
    std::optional<std::vector<platform::TransferJob>> transferJobs_;
    bool followScripts_ = false;
    bool followUnquoted_ = false;
    bool comparesModules_ = false;
    bool followClasses_ = false;
    std::string accountProfile_;
    std::unique_ptr<ScriptCache> scripts_;
    std::unique_ptr<ExistingFiles> existingFiles_;
    std::unordered_map<std::string, std::uint32_t> pathIndex_;
    std::unordered_set<std::string> foldersRead_;
    std::vector<std::string> firstReads_;
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
