#include "core/engine/modules/ModuleSearch.h"

#include <optional>

namespace zorvik {

std::vector<platform::PathList> ReadLoadedModules(platform::System& sys,
                                                  const std::vector<std::uint32_t>& pids) {
    std::vector<platform::PathList> modules(pids.size());
    for (std::size_t i = 0; i < pids.size(); ++i) {
        std::optional<platform::PathList> loaded = sys.processes().LoadedModules(pids[i]);
        // The program's own file comes first; its name is matched as the program's.
        if (!loaded || loaded->size() < 2) continue;
        loaded->DropFirst();
        modules[i] = std::move(*loaded);
    }
    return modules;
}

}  // namespace zorvik
