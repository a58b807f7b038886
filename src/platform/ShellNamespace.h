#pragma once
// The shell's namespace of folders and files (the desktop, My Computer, the drives and their
// folders), as far as the program walks it to reach a file's own context menu.
//
// Each object owns what it stands for and gives it up when it dies: folders, enumerators and
// context menus hold one COM reference on Windows, item ids own their id list (CoTaskMemFree).
// An item id belongs to the folder that gave it (its id is relative to that folder) and is
// passed back only to that folder.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class NativeMenu;

// EnumObjects flags, with the numbers Windows gives them.
constexpr std::uint32_t kEnumFolders = 0x20;        // SHCONTF_FOLDERS
constexpr std::uint32_t kEnumNonFolders = 0x40;     // SHCONTF_NONFOLDERS
constexpr std::uint32_t kEnumIncludeHidden = 0x80;  // SHCONTF_INCLUDEHIDDEN

constexpr std::uint32_t kDisplayForParsing = 0x8000;  // SHGDN_FORPARSING: a file's full path

constexpr std::uint32_t kContextMenuNormal = 0;  // CMF_NORMAL

// The outcome of a shell call as the HRESULT it returned. Negative codes are failures and carry
// the system's text for the code (FormatMessageA, without the line break it ends in; empty when
// the system has none). A success keeps the call's own code: for QueryContextMenu the number of
// command ids it used.
struct ShellResult {
    std::int32_t code = 0;
    std::string text;
    bool Failed() const { return code < 0; }
};

// An item's id list relative to the folder it came from.
class ShellItemId {
public:
    virtual ~ShellItemId() = default;
};

// IEnumIDList.
class ShellEnumerator {
public:
    virtual ~ShellEnumerator() = default;
    // The next item (Next with one item per call); nullptr at the end.
    virtual std::unique_ptr<ShellItemId> Next() = 0;
};

// IContextMenu of one item.
class ShellContextMenu {
public:
    virtual ~ShellContextMenu() = default;
    // Inserts the item's entries into menu at position indexMenu, with command ids from
    // idCmdFirst to idCmdLast.
    virtual ShellResult QueryContextMenu(NativeMenu& menu, std::uint32_t indexMenu,
                                         std::uint32_t idCmdFirst, std::uint32_t idCmdLast,
                                         std::uint32_t flags) = 0;
    // Runs the entry whose command id was idCmdFirst + verb: a CMINVOKECOMMANDINFO of the
    // build's size, all zero but the size, the verb as an integer and the show state; no owner.
    virtual ShellResult InvokeCommand(std::uint32_t verb, int show) = 0;
};

// IShellFolder.
class ShellFolder {
public:
    virtual ~ShellFolder() = default;
    // The item as a folder of its own (BindToObject for IShellFolder, no bind context).
    virtual ShellResult BindToObject(const ShellItemId& item,
                                     std::unique_ptr<ShellFolder>& folder) = 0;
    // The folder's items of the kinds flags name, no owner window; nullptr when the
    // enumeration cannot be started (or, as an empty drive may answer, has nothing to give).
    virtual std::unique_ptr<ShellEnumerator> EnumObjects(std::uint32_t flags) = 0;
    // The item's name as flags ask for it, in the ANSI code page.
    virtual ShellResult GetDisplayNameOf(const ShellItemId& item, std::uint32_t flags,
                                         std::string& name) = 0;
    // The item's context-menu object (GetUIObjectOf for IContextMenu: no owner, one item).
    virtual ShellResult GetUIObjectOf(const ShellItemId& item,
                                      std::unique_ptr<ShellContextMenu>& menu) = 0;
};

class ShellNamespace {
public:
    virtual ~ShellNamespace() = default;
    // SHGetDesktopFolder; nullptr when it fails.
    virtual std::unique_ptr<ShellFolder> DesktopFolder() = 0;
    // My Computer's id relative to the desktop (SHGetSpecialFolderLocation with CSIDL_DRIVES);
    // nullptr when it fails.
    virtual std::unique_ptr<ShellItemId> MyComputer() = 0;
};

}  // namespace platform
