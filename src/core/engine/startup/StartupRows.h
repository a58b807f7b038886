#pragma once
// The start-up hits of one program as the rows of the start-up list: a kind and up to three
// texts. A row names its hit by kind and index within the list of that kind, so that the flag
// it shows and changes is always the hit's own.
#include <cstddef>
#include <string>
#include <vector>

#include "core/engine/startup/StartupKind.h"
#include "core/engine/untRecord.h"

namespace zorvik {

// What a row tells beyond its columns, such as the script a hit was found in.
struct HitNote {
    std::string label;  // "Script", "Runs instead"
    std::string text;
};

struct StartupRow {
    StartupKind kind = StartupKind::Reg;
    std::string caption;            // the kind's name
    std::vector<std::string> data;  // REG, INI, SVC, LNK: three texts; FOL, FIL: one
    std::size_t index = 0;          // within the list of its kind
    bool disabled = false;
    std::vector<HitNote> notes;     // in the order of HitNotes
    // The loaded module through which the hit names the program; empty for its own name.
    std::string module;
};

// The notes of a hit found beyond its entry's own text: the script, then the program run in
// place of an unquoted command; none for a hit on the entry itself.
std::vector<HitNote> HitNotes(const HitTrail& trail);

// The notes as one text: "label: text" joined by separator.
std::string NotesText(const std::vector<HitNote>& notes, const std::string& separator);

// What a hit says of the other existing file its entry names by full path and really starts
// (ProcessRow::startsOther), in the reports and the start-up list's tip:
// "starts C:\WINDOWS\system32\svchost.exe, not this program".
std::string StartsOtherText(const std::string& otherFile);

// Every hit, in the order of the table of kinds (RegList, IniList, FolList, FilList, SvcList,
// TaskList, LnkList, ExeList, WmiList), each list in order.
std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings);

}  // namespace zorvik
