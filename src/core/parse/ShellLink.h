#pragma once
// What a shortcut (.lnk) file says it starts, read from its bytes in the Shell Link binary
// format. Nothing is resolved: resolving a link may search the disk or the network.
#include <optional>
#include <string>
#include <string_view>

namespace zorvik::parse {

// Where a shortcut's target path was taken from, best first.
enum class ShellLinkTargetSource {
    None,                  // the shortcut names no file-system target (a control panel item...)
    LinkInfo,              // the local base path (or network share) and common path suffix
    EnvironmentVariables,  // the unexpanded target, such as %APPDATA%\x.exe
    IdList,                // the file-system path the target's item id list spells
    RelativePath,          // the path relative to the shortcut itself
};

// The parts a shortcut holds, each absent when the shortcut does not hold it. Texts are ANSI.
struct ShellLink {
    std::string target;  // the best of the paths below, empty when source is None
    ShellLinkTargetSource targetSource = ShellLinkTargetSource::None;

    std::optional<std::string> linkInfoPath;
    std::optional<std::string> environmentTarget;
    std::optional<std::string> idListPath;  // absent also when the ids are not a file-system path
    std::optional<std::string> name;
    std::optional<std::string> relativePath;
    std::optional<std::string> workingDirectory;
    std::optional<std::string> arguments;
    std::optional<std::string> iconLocation;
};

// The shortcut the bytes hold, or nothing when they are no shortcut (wrong header size or class
// id) or any part that the header announces, or any size or offset inside it, reaches past the
// bytes or past the part that holds it: a truncated or broken shortcut yields nothing at all.
std::optional<ShellLink> ParseShellLink(std::string_view bytes);

}  // namespace zorvik::parse
