#pragma once
// What the process list's filter box finds a program by: its path, the verdict's level and
// reasons, the publisher (the signer and the version resource's company) and the texts of its
// start-up entries, compared ignoring ASCII case as the rest of the program compares names.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/untRecord.h"

namespace zorvik {

// A process row of the last scan, kept by the window whether the filter shows it or not.
struct ListedRow {
    std::string caption;
    std::vector<std::string> subItems;  // in the list's sub-item order
    std::shared_ptr<ProcInfo> findings;
    // The lower-cased texts the filter looks in, one per line.
    std::string searched;
};

// The texts of row (before its evidence is moved elsewhere) and of its findings that the
// filter looks in, lower-cased, one per line.
std::string FilterTextsOf(const ProcessRow& row, const ProcInfo* findings);

// Whether a row whose texts are searched holds typed, ignoring ASCII case; an empty typed text
// keeps every row.
bool FilterKeeps(const std::string& searched, const std::string& typed);

// "3 of 12 programs": how many rows the list shows of all the scan listed.
std::string ShownOfAllText(std::size_t shown, std::size_t all);

}  // namespace zorvik
