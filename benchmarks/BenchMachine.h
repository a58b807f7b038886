#pragma once
// The parts the scan benchmarks build their simulated machines from: the programs that own
// sockets, and the scheduled tasks of a Windows machine.
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/system/SimSystem.h"

namespace bench {

inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The path of socket owner p.
std::string ProgramPath(int p);

// count programs, each running with a listening socket and the modules modulesOf gives it (none
// when unset); every tenth also started by a Run value of the current user, so that a scan
// makes rows too.
void AddSocketOwners(platform::sim::SimSystem& sys, int count,
                     const std::function<std::vector<std::string>(int)>& modulesOf = {});

// count services of svchost.exe, each with its display name and, when descriptionLength is
// not 0, a description of about that many bytes.
void AddSvchostServices(platform::sim::SimSystem& sys, int count, int descriptionLength = 0);

// 1,000 scheduled tasks: 900 task definition files of about 4 KiB in nested folders of
// System32\Tasks and 100 XP .job files; every 50th runs one of 200 socket owners that nothing
// else starts. listed: also in the Task Scheduler's list, as on Windows; else in files only, as
// under Wine, whose Task Scheduler 2.0 lists none.
void AddScheduledTasks(platform::sim::SimSystem& sys, bool listed);

}  // namespace bench
