#pragma once
// The findings of the start-up search for one program. Each hit keeps where it was found and
// whether the entry there carries the program's name with ".bak" (disabled by this program).
// A hit's index in its list is its identity for the start-up list and its actions, so lists
// are only ever appended to. Every record ends in Text: the text found there that names the
// program, ASCII lower-cased as the search compares it; the search fills it in for every kind
// alike (StableKeys.h tells what it is for); and in Trail, where beyond its entry the hit was
// found (below).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupKind.h"

namespace zorvik {

using StrAr = std::vector<std::string>;

// Where a hit was found beyond its entry's own text; both empty for a hit on that text.
struct HitTrail {
    // The script the entry starts, one of whose lines names the program.
    std::string Script;
    // The program Windows runs in place of the entry's unquoted command (C:\Program.exe for
    // C:\Program Files\Some Tool\tool.exe): the program found is that one.
    std::string RunsInstead;
    // The registration of the COM class the entry names (a rule with Classes=1), root name and
    // key: its default value names the program or DLL found.
    std::string Server;
};

// A registry value that starts the program.
struct RegStart {
    std::string Root;  // the rule's root name as written in the rules file
    std::string Key;   // below the root; for a subkey walk, the rule's key + "\" + subkey
    std::string Name;  // the value's name (empty: the key's default value)
    bool Disabled = false;
    std::string Text{};
    HitTrail Trail = {};
};

// A profile-file entry that starts the program.
struct IniStart {
    std::string FileName;  // the profile file as written in the rules file
    std::string Section;
    std::string Ident;
    bool Disabled = false;
    std::string Text{};
    HitTrail Trail = {};
};

// A start-up folder (FolList: the folder listed, not the entry found in it) or a text file
// (FilList: the file read) that starts the program.
struct FilStart {
    std::string Path;
    bool Disabled = false;
    // FolList: the entry's name as the folder gives it, which Task Manager's verdict is kept
    // under; never listed or shown. Empty for FilList.
    std::string Entry;
    std::string Text{};
    HitTrail Trail = {};
};

// A shortcut of a folder whose target or arguments start the program, or a script lying in
// that folder.
struct LnkStart {
    std::string Folder;
    std::string Entry;   // the shortcut's (or script's) name as the folder gives it
    std::string Target;  // the shortcut's target and arguments; empty for a script
    bool Disabled = false;
    std::string Text{};
    HitTrail Trail = {};
};

// A service whose program or DLL is the program.
struct SvcStart {
    std::string Root;     // the rule's root name as written in the rules file
    std::string Key;      // the service's key: the rule's key + "\" + the service's name
    std::string Service;  // the service's name (its subkey)
    std::string Value;    // "ImagePath", or "Parameters\ServiceDll"
    // The start type (the Start value: 0 boot to 4 disabled); none when missing or no number.
    std::optional<std::uint32_t> StartType;
    bool Disabled = false;  // Start is 4, or the text carries the program's name with ".bak"
    std::string Text{};
    HitTrail Trail = {};
};

// A scheduled task that runs the program.
struct TaskStart {
    // The task as the Task Scheduler names it: "\Folder\Name", or "\Name.job" for a work item
    // of XP's Task Scheduler.
    std::string Task;
    std::string File;     // the task's file that was read; empty when only the scheduler showed it
    std::string Command;  // the command line naming the program: the command, then its arguments
    bool Disabled = false;  // the task is disabled, or the command carries the name with ".bak"
    std::string Text{};
    HitTrail Trail = {};
    // The task's key in the registry's task cache ("HKEY_LOCAL_MACHINE\...\Tasks\{id}") when
    // only the cache holds it: no task file, and the scheduler's list does not show it.
    std::string CacheKey{};
};

// A program Windows starts by itself from the logon screen or the accessibility shortcuts,
// running from exactly that path.
struct ExeStart {
    std::string Path;  // the Windows drive + the rule's Path
    // Why the file there is not the system's own (its original file name, its signer); empty
    // when it is, or when the system cannot tell. Set when the scan lists the program.
    std::string Replaced;
    bool Disabled = false;  // never set: nothing here is disabled by renaming
    std::string Text{};
    HitTrail Trail = {};
};

// A permanent WMI event consumer that runs the program.
struct WmiStart {
    std::string Class;     // CommandLineEventConsumer or ActiveScriptEventConsumer
    std::string Name;      // the consumer's Name
    std::string Property;  // CommandLineTemplate, ExecutablePath, ScriptText or ScriptFileName
    std::string Command;   // that property's text
    bool Disabled = false;
    std::string Text{};
    HitTrail Trail = {};
};

// An entry of a file another program reads at start that loads or starts the program: a fix of
// an installed shim (application compatibility) database, the profile a terminal opens at
// logon.
struct FileEntryStart {
    std::string File;
    // What in it: SDB: "shim DLL", or the program it fixes and the shim; TERMINAL: the profile.
    std::string Entry;
    bool Disabled = false;  // SDB: the database is renamed to ".sdb.bak"
    std::string Text{};
    HitTrail Trail = {};
};

// A BITS transfer job whose notify command line runs the program.
struct BitsStart {
    std::string Job;      // the job's display name
    std::string Id;       // the job's GUID, "{...}", which tells it from others of that name
    std::string Command;  // the program BITS starts, quoted, then the command line it hands it
    bool Disabled = false;  // the job is suspended, or the command carries the name with ".bak"
    std::string Text{};
    HitTrail Trail = {};
};

// A hit found through a module (DLL) the program had loaded, not through its own name: the
// hit, by its kind and index, and the module's path.
struct ModuleHit {
    StartupKind Kind = StartupKind::Reg;
    std::size_t Index = 0;
    std::string Module;
};

struct ProcInfo {
    std::vector<RegStart> RegList;
    std::vector<IniStart> IniList;
    std::vector<FilStart> FolList;
    std::vector<FilStart> FilList;
    std::vector<SvcStart> SvcList;
    std::vector<TaskStart> TaskList;
    std::vector<LnkStart> LnkList;
    std::vector<ExeStart> ExeList;
    std::vector<WmiStart> WmiList;
    std::vector<FileEntryStart> ShimList;
    std::vector<FileEntryStart> TerminalList;
    std::vector<BitsStart> BitsList;
    // Beside the lists: which of their hits a loaded module gave, in the order found.
    std::vector<ModuleHit> ModuleHits;
};

}  // namespace zorvik
