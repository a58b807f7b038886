#include "core/engine/modules/ModuleSearch.h"

#include <iterator>
#include <optional>

namespace zorvik {

std::vector<std::vector<std::string>> ReadLoadedModules(platform::System& sys,
                                                        const std::vector<std::uint32_t>& pids) {
    std::vector<std::vector<std::string>> modules(pids.size());
    for (std::size_t i = 0; i < pids.size(); ++i) {
        std::optional<std::vector<std::string>> loaded = sys.processes().LoadedModules(pids[i]);
        // The program's own file comes first; its name is matched as the program's.
        if (!loaded || loaded->size() < 2) continue;
        modules[i].assign(std::make_move_iterator(loaded->begin() + 1),
                          std::make_move_iterator(loaded->end()));
    }
    return modules;
}

}  // namespace zorvik
