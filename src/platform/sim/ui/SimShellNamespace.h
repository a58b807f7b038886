#pragma once
// The simulated shell namespace and how tests script it.
//
// It is built from the simulated file system as Windows shows it: the desktop holds My
// Computer; My Computer holds one folder per drive (parsing name "C:\"); a drive or folder
// holds its folders and files, each with its full path as parsing name, in the listing's order
// and spelling. Hidden entries appear only when asked for. Every file's and folder's context
// menu adds the entries scripted for its path (none until scripted); the entry at position k
// of the script takes command id first + k and verb k. An item id passed to a folder it does
// not belong to is refused with E_INVALIDARG.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ShellNamespace.h"
#include "platform/sim/system/SimSystem.h"

namespace platform::sim {

// My Computer's parsing name.
constexpr const char* kSimMyComputerName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// Codes the simulated shell answers with on its own.
constexpr std::int32_t kSimInvalidArgument = static_cast<std::int32_t>(0x80070057);
constexpr std::int32_t kSimNoInterface = static_cast<std::int32_t>(0x80004002);

struct SimShellVerb {
    std::string caption;           // "Open", "Properties"
    std::function<void()> action;  // runs when the entry is invoked; may throw
    bool enabled = true;
};

// The calls whose results the program tests, for scripted failures.
enum class SimShellCall { BindToObject, GetDisplayNameOf, GetUIObjectOf, QueryContextMenu };

struct SimShellEnumeration {
    std::string folder;  // the folder's parsing name ("" for the desktop)
    std::uint32_t flags = 0;
};

struct SimContextMenuQuery {
    std::string path;
    std::uint32_t indexMenu = 0;
    std::uint32_t idCmdFirst = 0;
    std::uint32_t idCmdLast = 0;
    std::uint32_t flags = 0;
};

struct SimShellInvocation {
    std::string path;
    std::uint32_t verb = 0;
    int show = 0;
};

class SimShellNamespace : public ShellNamespace {
public:
    // The entries the context menu of path (any letter case) adds, in order.
    virtual void SetContextMenu(const std::string& path, std::vector<SimShellVerb> verbs) = 0;
    // From now on the call on the item path (its parsing name, any case) fails with code and
    // text. GetUIObjectOf and QueryContextMenu name the item the menu is for.
    virtual void FailCall(SimShellCall call, const std::string& path, std::int32_t code,
                          const std::string& text) = 0;
    // Enumerating the folder path cannot be started from now on.
    virtual void FailEnumeration(const std::string& folder) = 0;

    // Records, in call order.
    virtual const std::vector<SimShellEnumeration>& Enumerations() const = 0;
    virtual const std::vector<SimContextMenuQuery>& Queries() const = 0;
    virtual const std::vector<SimShellInvocation>& Invocations() const = 0;
    // Folders, item ids, enumerators and context menus handed out and not yet released.
    virtual int LiveObjects() const = 0;
};

std::unique_ptr<SimShellNamespace> MakeSimShellNamespace(SimSystem& system);
SimShellNamespace& ShellNamespaceOf(SimSystem& system);

}  // namespace platform::sim
