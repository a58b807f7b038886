#pragma once
// The place watch of the simulated system: changes made through its registry and file system
// fire it while they are made, so a test knows exactly which change it saw.
#include <functional>
#include <memory>

#include "platform/PlaceWatch.h"

namespace platform {
class Files;
}

namespace platform::sim {

class SimChangeFeed;

// whileWaiting, when set, runs each time a wait with a timeout finds no change pending, as the
// time a real wait would pass: a test makes its changes there (SimSystem::WhileWatchWaits).
std::unique_ptr<PlaceWatch> MakeSimPlaceWatch(Registry& registry, Files& files,
                                              SimChangeFeed& changes,
                                              const std::function<void()>& whileWaiting);

}  // namespace platform::sim
