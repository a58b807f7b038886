#pragma once
// The kinds of start-up place and the actions of a REG rule, as the rules reader turns a
// rule's Type and Action into them. Each kind is one row of the table in StartupKinds.h.
#include <cstddef>
#include <cstdint>

namespace zorvik {

enum class StartupKind : std::uint8_t { Reg, Ini, Fol, Fil, Svc, Task, Lnk, Exe, Wmi, Sdb,
                                         Terminal, Bits };

// What a REG rule examines in its key. None: an Action the search does not know, which
// finds nothing.
enum class RegAction : std::uint8_t { None, Check, Enum, Enum2, Match };

// One hit of a program's findings: its kind and its index within the list of that kind, which
// is its identity for the start-up list and the actions.
struct StartupHit {
    StartupKind kind = StartupKind::Reg;
    std::size_t index = 0;
};

}  // namespace zorvik
