#pragma once
// The scan's module step: the modules loaded in each examined socket owner, read once per scan
// and only when a rule compares them (Dlls=1), for the start-up search to match beside the
// programs' own names.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/System.h"

namespace zorvik {

struct ModuleSearch {
    // Per examined program, in its order: the paths of the modules it has loaded beside its
    // own file; none for a process that cannot be opened or whose list cannot be read.
    std::vector<platform::PathList> modules;
    // Whether a module is the system's own file, which lists no program by itself; unset:
    // none is.
    std::function<bool(const std::string& path)> isSystemOwn;
};

// The modules of each process of pids, in that order, without the program's own file.
std::vector<platform::PathList> ReadLoadedModules(platform::System& sys,
                                                  const std::vector<std::uint32_t>& pids);

}  // namespace zorvik
