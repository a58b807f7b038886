#pragma once
// The actions on one start-up hit, for any front end: where Show opens the place the entry
// lives in, and Disable, which makes the entry stop starting the program without deleting it
// (".bak" joined to the program's name in the command, or to the program file's name). They
// act on the hit record, not on what a list shows, and tell the caller what happened; texts
// for the user are the caller's.
#include <optional>
#include <string>

#include "core/engine/startup/StartupKind.h"
#include "core/engine/startup/WindowsPrograms.h"
#include "core/engine/untRecord.h"
#include "platform/System.h"

namespace zorvik {

// The file manager's parameters that open the folder of path with path selected.
std::string SelectInFileManager(const std::string& path);

// What Show opens through the shell ("OPEN", shown normally): one of Windows' own programs with
// its parameters, or a folder. For a registry hit also the key the registry editor is to show.
struct PlaceOpening {
    std::optional<WindowsProgram> program;  // none: target is a folder, opened as it is
    std::string target;                     // the program's parameters, or the folder
    std::optional<std::string> editorKey;
};

enum class DisableResult {
    Disabled,           // the entry names the program with ".bak" now; the hit is marked
    Unchanged,          // nothing there to disable (gone, under another name, no line naming it)
    RegistryRefused,    // the value is no text or cannot be written
    ProfileNotWritten,  // the profile file (place) refused the write
    FileNotRead,        // the text file (place) cannot be read; it is left as it was
    FileNotWritten,     // the text file (place) cannot be rewritten; it is left as it was
    TaskRefused,        // neither the Task Scheduler nor the task's file took the change (place:
                        // the task)
    TaskFileChanged,    // the Task Scheduler did not take it, the task's file (place) now says
                        // disabled; a scheduler that does not read it again may still run it
    JobRefused,         // BITS did not suspend the job (place: its name): ended, or another
                        // account's
};

struct DisableOutcome {
    DisableResult result = DisableResult::Unchanged;
    std::string place;
};

// Whether findings hold the hit.
bool HasHit(const ProcInfo& findings, StartupHit hit);

// What Show opens for the hit; findings must hold it (HasHit). A hit found through a script
// opens the script in the text editor, one on a program run in place of an unquoted command
// that program's folder with it selected: what Disable changes.
PlaceOpening OpeningOf(const ProcInfo& findings, StartupHit hit);

// Names the key the registry editor opens at ("LastKey"); false when it cannot be written.
bool PointRegistryEditorAt(platform::System& sys, const std::string& key);

// Starts the program or opens the folder; what the shell answers is not looked at.
void OpenPlace(platform::System& sys, const PlaceOpening& opening);

// Disables the entry the hit was found at, for the program whose file name (as its path ends,
// not lower-cased) is given, or for the module the hit was found through, and marks the hit
// when it did. A hit findings do not hold, or of a kind without Disable, is Unchanged.
// Disabling a disabled entry joins ".bak" once more. A hit on a program run in place of an
// unquoted command renames that program to its name + ".bak" (the entry then starts the
// program it means); a hit found through a script joins ".bak" to the program's name in the
// script, in the script's own encoding (follow/ScriptDisable.h).
DisableOutcome DisableStartup(platform::System& sys, ProcInfo& findings, StartupHit hit,
                              const std::string& programFileName);

// For the kinds' own actions: what a disabled command holds, the long form of a bare program
// path or the text itself when it is more than a path (arguments, quotes) or names no file,
// in lower case, with ".bak" joined to the program's name.
std::string DisabledCommand(platform::System& sys, const std::string& command);

}  // namespace zorvik
