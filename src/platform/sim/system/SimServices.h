#pragma once
// How SimSystem builds its services; each lives in its own file.
#include <memory>

#include "platform/sim/system/SimSystem.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

namespace platform::sim {

class SimChangeFeed;

// The registry and the file system report each change they make to changes.
std::unique_ptr<SimRegistry> MakeSimRegistry(SimChangeFeed& changes);
std::unique_ptr<SimFiles> MakeSimFiles(SimChangeFeed& changes);
// Profile files live in the simulated file system.
std::unique_ptr<Profile> MakeSimProfile(SimFiles& files);
std::unique_ptr<SimAccounts> MakeSimAccounts();
// Program files are read from the simulated file system to map images without scripted memory.
std::unique_ptr<SimProcesses> MakeSimProcesses(SimFiles& files);
std::unique_ptr<SimSockets> MakeSimSockets();
// SystemRoot and its kin are read from the files' Windows directory.
std::unique_ptr<SimEnvironment> MakeSimEnvironment(SimFiles& files);
// The windowing and shell services; built last, so they may use every other service.
std::unique_ptr<Shell> MakeSimShell(SimSystem& system);
std::unique_ptr<Ui> MakeSimUi(SimSystem& system);

}  // namespace platform::sim
