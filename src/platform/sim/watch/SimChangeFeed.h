#pragma once
// Where the simulated registry and file system say what they changed, so that a simulated
// place watch fires at once and in order, as the change is made.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform::sim {

struct SimChange {
    enum class Area { Registry, Files };
    Area area = Area::Files;
    RootKey root = RootKey::None;  // the registry's root; None for files
    // The key whose values or subkeys changed (its path under root, no leading backslash), or
    // the folder whose entries changed ("C:\WINDOWS", a drive's root "C:\").
    std::string path;
    // The key or folder at path went away, with everything below it.
    bool removed = false;
};

class SimChangeFeed {
public:
    using Listener = std::function<void(const SimChange&)>;

    int Subscribe(Listener listener) {
        listeners_.emplace_back(++lastId_, std::move(listener));
        return lastId_;
    }
    void Unsubscribe(int id) {
        std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
    }
    void Report(const SimChange& change) const {
        // A listener may subscribe or leave while it is told; each is told from a copy.
        const auto listeners = listeners_;
        for (const auto& entry : listeners) entry.second(change);
    }

private:
    std::vector<std::pair<int, Listener>> listeners_;
    int lastId_ = 0;
};

}  // namespace platform::sim
