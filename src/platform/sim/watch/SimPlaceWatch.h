#pragma once
// The place watch of the simulated system: changes made through its registry and file system
// fire it while they are made, so a test knows exactly which change it saw.
#include <memory>

#include "platform/PlaceWatch.h"

namespace platform {
class Files;
}

namespace platform::sim {

class SimChangeFeed;

std::unique_ptr<PlaceWatch> MakeSimPlaceWatch(Registry& registry, Files& files,
                                              SimChangeFeed& changes);

}  // namespace platform::sim
