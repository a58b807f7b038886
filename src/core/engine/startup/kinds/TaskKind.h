#pragma once
// TASK: the scheduled tasks of a task folder below the Windows drive (System32\Tasks: the
// definition files, in nested folders; Tasks: XP's .job files), and the Task Scheduler's own
// list of the tasks such a folder holds. Each task is one place, each program it runs (its
// command and arguments) one text; a disabled task is switched off as a whole.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// No task definition comes near this; a larger file is no task and is not read whole.
inline constexpr std::size_t kTaskFileLimit = std::size_t{1} << 20;

// A work item's file name ends so; the scheduler shows its name without it.
inline constexpr std::string_view kJobExtension = ".job";

// Whether the task is a work item of XP's Task Scheduler ("\Name.job").
bool IsWorkItemTask(const std::string& task);

void ReadTaskPlaces(const ScanRule& rule, PlaceReading& reading);
// The task folder with its subfolders, and the Task Scheduler's own store.
void WatchTaskPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The start-up list's columns: the task's folder ("\" for the root), its name as the Task
// Scheduler shows it, the command line.
std::vector<std::string> TaskColumns(const TaskStart& hit);

// The task's definition file in the text editor; the Task Scheduler for a work item (a binary
// file) or a task only the scheduler showed.
PlaceOpening TaskOpening(const TaskStart& hit);

// Disables the task through the Task Scheduler. Where the scheduler cannot or will not (none
// reachable, the task unknown to it, no rights), the definition file that was read is changed
// to say the task is disabled: TaskFileChanged, since a scheduler that does not read the file
// again may still run it. TaskRefused when neither happened.
DisableOutcome DisableScheduledTask(platform::System& sys, const TaskStart& hit);

}  // namespace zorvik
