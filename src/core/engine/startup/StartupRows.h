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

struct StartupRow {
    StartupKind kind = StartupKind::Reg;
    std::string caption;            // the kind's name
    std::vector<std::string> data;  // REG, INI, SVC: three texts; FOL, FIL: one
    std::size_t index = 0;          // within the list of its kind
    bool disabled = false;
};

// Every hit, in the order of the table of kinds (RegList, IniList, FolList, FilList,
// SvcList), each list in order.
std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings);

}  // namespace zorvik
