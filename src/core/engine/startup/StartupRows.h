#pragma once
// The start-up hits of one program as the rows of the start-up list: a kind ("REG", "INI",
// "FOL", "FIL") and up to three texts. A row names its hit by kind and index within the list
// of that kind, so that the flag it shows and changes is always the hit's own.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/untRecord.h"

namespace zorvik {

enum class StartupKind { Reg, Ini, Fol, Fil };

struct StartupRow {
    StartupKind kind = StartupKind::Reg;
    std::string caption;            // "REG", "INI", "FOL" or "FIL"
    std::vector<std::string> data;  // REG, INI: three texts; FOL, FIL: one
    std::size_t index = 0;          // within the list of its kind
    bool disabled = false;
};

// Every hit: RegList, IniList, FolList, FilList, each in list order.
std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings);

// The kind a row caption names; nullopt for any other text.
std::optional<StartupKind> StartupKindOf(const std::string& caption);

const char* StartupCaption(StartupKind kind);

// The Disabled flag of the hit; null when index lies beyond its list.
bool* HitDisabledFlag(ProcInfo& findings, StartupKind kind, std::size_t index);

}  // namespace zorvik
