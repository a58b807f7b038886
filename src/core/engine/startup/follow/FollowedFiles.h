#pragma once
// The files a start-up text leads to beyond its entry: scripts it names, and the programs
// Windows would run in place of an unquoted command. Each is looked up through the platform and
// only ever read, never run or resolved.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/System.h"

namespace zorvik {

// A script larger than this is no start-up script: it gives no lines.
inline constexpr std::size_t kScriptSizeLimit = std::size_t{1} << 20;

// The bytes of a file that is expected to be small: nothing when it cannot be read (missing, a
// folder, locked) or is larger than limit. A first read of a few kilobytes takes a whole small
// file; only a larger one is read again up to the limit, so that a scan over many small files
// never reserves the limit for each.
std::optional<std::string> ReadSmallFile(platform::System& sys, const std::string& path,
                                         std::size_t limit);

// A file, not a folder, exists at the path.
bool IsExistingFile(platform::System& sys, const std::string& path);

// IsExistingFile asked once per path (any letter case) for the rest of a scan: the same few
// names (C:\Program.exe) come up for many commands.
class ExistingFiles {
public:
    explicit ExistingFiles(platform::System& sys) : sys_(sys) {}
    bool Holds(const std::string& path);

private:
    platform::System& sys_;
    std::unordered_map<std::string, bool> known_;
};

// A drive's root or a share: the only paths a start-up text names a file by whatever the
// folder it is run in.
bool IsAbsolutePath(const std::string& path);

// The lines of script files, each file read once per scan.
class ScriptCache {
public:
    // The script's lines, or null for a file that is missing, a folder, locked, or larger than
    // kScriptSizeLimit. The pointer stays good while the cache lives.
    const std::vector<std::string>* Lines(platform::System& sys, const std::string& path);

private:
    std::unordered_map<std::string, std::optional<std::vector<std::string>>> byPath_;
};

// The existing scripts text names (at most one for each mention, the nearest that exists),
// each once, in the order of the text. expand turns a name as written into the path it stands
// for.
std::vector<std::string> ExistingScriptsNamed(
    ExistingFiles& files, const std::string& text,
    const std::function<std::string(const std::string&)>& expand);

// A program Windows would run in place of an unquoted command.
struct ProgramInstead {
    std::string path;
    bool renamed = false;  // it exists only with ".bak" joined: disabled
};

// For a command with its variables expanded: each program Windows would try before the one it
// means that exists as a file, or exists with ".bak" joined, in the order Windows tries them.
std::vector<ProgramInstead> ExistingProgramsInstead(ExistingFiles& files,
                                                    const std::string& expandedCommand);

}  // namespace zorvik
