#pragma once
// The table of start-up kinds: one row per kind of start-up place, saying everything the
// program knows of it but its reader and its disable action.
//
// Adding a kind:
//  1. StartupKind.h: a value at the end of StartupKind.
//  2. kinds/<Name>Kind.h: its reader (fills PlaceReading from one rule: spots, and the texts
//     read there), what a watch of the places covers for the rule, where Show opens a hit and
//     how Disable changes its entry; defined in kinds/<Name>Places.cpp and
//     kinds/<Name>Actions.cpp. New rule keys: ScanRule::Value.
//  3. untRecord.h: its hit record and list in ProcInfo, unless an existing one fits.
//  4. StartupKinds.cpp: its row, with watchedPlaces; keyParts when the columns alone do not
//     tell two entries of the kind apart, or hold its state (a hit's record must hold a Text,
//     see untRecord.h); tipLine when a hit has a fact for the tip of the program's row;
//     noShow and noDisable (the reason, which the window shows in the entry's tip) where
//     Windows keeps nothing Show could open or a ".bak" could switch off.
//  5. The build then warns at the two switches over StartupKind outside the engine:
//     report/RuleDescription.cpp (the keys `zorvikc rules` shows) and report/StartupReport.cpp
//     (a hit's report line). A new DisableResult needs its text in the window
//     (windows/main/untMainStartupActions.cpp).
// A new REG action: a RegAction value, its name in kRegActions (StartupKinds.cpp) and its case in
// kinds/RegistryPlaces.cpp. A key any rule may name (a modifier) is read with ScanRule::Value
// where it acts; the rules reader needs no change.
// Everything else (the search, the start-up list, reports, Task Manager's verdicts, the
// actions) walks this table.
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupApproval.h"
#include "core/engine/startup/StartupKind.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/untRecord.h"
#include "platform/System.h"

namespace zorvik {

class WatchedPlaceList;

// Where an entry is, in words: "HKEY_CURRENT_USER\Software\...\Run" and the value "Bot".
struct EntryPlace {
    std::string place;
    std::string name;
};

// The list of a kind in ProcInfo, seen through what every list does alike.
struct HitListAccess {
    std::size_t (*count)(const ProcInfo& findings);
    bool (*isDisabled)(const ProcInfo& findings, std::size_t index);
    // Null for an index past the list.
    bool* (*disabledFlag)(ProcInfo& findings, std::size_t index);
    // Appends every hit of from to the same list of to, in order.
    void (*moveAll)(ProcInfo& from, ProcInfo& to);
    // The hit's Text (see untRecord.h).
    const std::string& (*text)(const ProcInfo& findings, std::size_t index);
    // Sets the Text of the list's last hit, the one record has just appended.
    void (*keepText)(ProcInfo& findings, const std::string& text);
    // Null for an index past the list.
    HitTrail* (*trail)(ProcInfo& findings, std::size_t index);
    const HitTrail* (*trailOf)(const ProcInfo& findings, std::size_t index);
};

struct StartupKindRow {
    StartupKind kind;
    // The rule's Type selecting the kind (compared exactly); also the start-up list's Type text
    // and the kind's name in reports.
    const char* name;
    void (*readPlaces)(const ScanRule& rule, PlaceReading& reading);
    // Appends the hit record of a text found naming the program.
    void (*record)(const StartupSpot& spot, const StartupText& text, bool disabled,
                   ProcInfo& findings);
    HitListAccess hits;
    // The start-up list's "Data 1" to "Data 3" for a hit; fewer texts leave the rest empty.
    std::vector<std::string> (*columns)(const ProcInfo& findings, std::size_t index);
    // What tells a hit's entry from the others of its kind, for its stable key
    // (StableKeys.h): where it is and the value or entry name. Null: the columns do.
    std::vector<std::string> (*keyParts)(const ProcInfo& findings, std::size_t index) = nullptr;
    // Task Manager's verdict on a hit.
    StartupApproval (*approval)(platform::System& sys, const ProcInfo& findings,
                                std::size_t index);
    PlaceOpening (*opening)(const ProcInfo& findings, std::size_t index);
    DisableOutcome (*disable)(platform::System& sys, const ProcInfo& findings, std::size_t index,
                              const std::string& programFileName);
    // A line about the hit for the tip of the program's row (a service's start type); null
    // for a kind that adds none.
    std::string (*tipLine)(const ProcInfo& findings, std::size_t index) = nullptr;
    // Adds what a watch of the start-up places covers for the rule: the keys, folders or
    // scheduled tasks its reader reads, in the same registry view. A change in one of them has
    // this rule read again, alone or with the other rules of that place (StartupPicture.h), so
    // every place whose change can change the rule's entries belongs here. Null: nothing is
    // watched.
    void (*watchedPlaces)(const ScanRule& rule, WatchedPlaceList& places) = nullptr;
    // The place and the value or entry name of a hit, as the user is told of a new entry.
    // Null: the last of the keyParts (else the columns) is the name, the others joined by
    // backslashes the place; a single part is the place alone.
    EntryPlace (*entryPlace)(const ProcInfo& findings, std::size_t index) = nullptr;
    // Why Show or Disable is not offered for the kind's hits (greyed, with this text in the
    // entry's tip); null where it is. The engine then never calls opening or disable.
    const char* noShow = nullptr;
    const char* noDisable = nullptr;
};

// Every row, in the order of the start-up list (RegList, IniList, FolList, FilList, SvcList,
// LnkList, ExeList, WmiList, ...).
std::span<const StartupKindRow> StartupKindRows();
const StartupKindRow& RowOf(StartupKind kind);

// The kind whose name is text (a rule's Type, a start-up row's caption); none for any other.
std::optional<StartupKind> StartupKindNamed(const std::string& text);
const char* StartupCaption(StartupKind kind);
// The REG action an Action text names; RegAction::None for any other text.
RegAction RegActionOf(const std::string& text);
// The texts accepted for Type and for Action, in table order.
std::vector<std::string> StartupTypeNames();
std::vector<std::string> RegActionNames();

// Calls visit for every hit: the kinds in table order, each list in order.
void ForEachHit(const ProcInfo& findings, const std::function<void(StartupHit)>& visit);
std::size_t HitCount(const ProcInfo& findings);
// The tip lines of every hit, in table order, each line once.
std::vector<std::string> HitTipLines(const ProcInfo& findings);
// Appends every hit of from to to, list by list.
void MoveHits(ProcInfo& from, ProcInfo& to);
// The Disabled flag of the hit; null when findings do not hold it.
bool* HitDisabledFlag(ProcInfo& findings, StartupHit hit);
// The path of the loaded module through which the hit names the program (Dlls=1); null for a
// hit by the program's own name.
const std::string* HitModule(const ProcInfo& findings, StartupHit hit);
// "Found in module " and the path, once for each module hits were found through, in the order
// found: lines for the tip of the program's row.
std::vector<std::string> ModuleTipLines(const ProcInfo& findings);
// Where the hit was found beyond its entry; null when findings do not hold it.
const HitTrail* TrailOf(const ProcInfo& findings, StartupHit hit);

}  // namespace zorvik
