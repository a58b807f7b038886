#include "core/windows/FindShellItem.h"

#include "core/windows/ShellCheck.h"
#include "core/windows/untExMenu.h"
#include "platform/Shell.h"

namespace zorvik {

namespace {

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Cuts the next component off Remaining and gives the path walked so far, Done, including it.
// A text holding a colon anywhere starts at its drive root: its first three characters.
void NextComponent(std::string& Remaining, std::string& Done) {
    const std::size_t p = Remaining.find('\\');
    if (p == std::string::npos) {
        Done = Done.empty() ? Remaining : AddBackslash(Done) + Remaining;
        Remaining.clear();
        return;
    }
    if (Remaining.find(':') != std::string::npos)
        Done = Remaining.substr(0, 3);
    else
        Done = AddBackslash(Done) + Remaining.substr(0, p);
    Remaining.erase(0, p + 1);
}

// The first item of folder whose parsing name is Done (ASCII case ignored), or nullptr.
std::unique_ptr<platform::ShellItemId> FindByParsingName(platform::ShellFolder& folder,
                                                         std::uint32_t flags,
                                                         const std::string& Done) {
    std::unique_ptr<platform::ShellEnumerator> items = folder.EnumObjects(flags);
    if (!items) return nullptr;
    const std::string wanted = AsciiUpper(Done);
    while (std::unique_ptr<platform::ShellItemId> item = items->Next()) {
        std::string name;
        CheckShell(folder.GetDisplayNameOf(*item, platform::kDisplayForParsing, name));
        if (AsciiUpper(name) == wanted) return item;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<platform::ShellItemId> FindShellItem(
    platform::System& sys, const std::string& Path,
    std::shared_ptr<platform::ShellFolder>& ParentFolder) {
    platform::ShellNamespace& shell = sys.shell().Namespace();
    ParentFolder.reset();

    std::shared_ptr<platform::ShellFolder> parent = shell.DesktopFolder();
    if (!parent) return nullptr;
    ParentFolder = parent;
    std::unique_ptr<platform::ShellItemId> myComputer = shell.MyComputer();
    if (!myComputer) return nullptr;
    std::unique_ptr<platform::ShellFolder> bound;
    CheckShell(parent->BindToObject(*myComputer, bound));
    std::shared_ptr<platform::ShellFolder> current = std::move(bound);
    if (!current) return nullptr;

    std::unique_ptr<platform::ShellItemId> item;
    std::string Remaining = Path;
    std::string Done;
    while (!Remaining.empty()) {
        NextComponent(Remaining, Done);

        std::uint32_t flags = platform::kEnumFolders | platform::kEnumIncludeHidden;
        if (Done == Path && !IsDirectory(sys, Path)) flags |= platform::kEnumNonFolders;

        std::unique_ptr<platform::ShellItemId> match = FindByParsingName(*current, flags, Done);
        if (!match) return nullptr;

        // The matched item is named relative to the folder it was found in; a file leaves the
        // walk in that folder, a directory goes on inside itself.
        item = std::move(match);
        parent = current;
        ParentFolder = parent;
        if (IsDirectory(sys, Done)) {
            CheckShell(parent->BindToObject(*item, bound));
            current = std::move(bound);
            if (!current) return nullptr;
        }
    }
    return item;
}

}  // namespace zorvik
