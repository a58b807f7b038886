#include "core/windows/untExMenu.h"

#include <memory>

#include "core/windows/FindShellItem.h"
#include "core/windows/ShellCheck.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

namespace zorvik {

namespace {

// The shell's entries take the ids below the first table id, so that none can be taken for a
// table entry.
constexpr std::uint32_t kFirstShellId = 1;
constexpr std::uint32_t kLastShellId = kFirstExMenuItemId - 1;

// The file's context-menu object, or nullptr when the file is not in the shell's namespace.
std::unique_ptr<platform::ShellContextMenu> ContextMenuOf(platform::System& sys,
                                                          const std::string& FileName) {
    std::shared_ptr<platform::ShellFolder> parent;
    std::unique_ptr<platform::ShellItemId> item = FindShellItem(sys, FileName, parent);
    std::unique_ptr<platform::ShellContextMenu> menu;
    if (item && parent) CheckShell(parent->GetUIObjectOf(*item, menu));
    return menu;
}

void Dispatch(std::uint32_t id, const std::vector<ExMenuItem>& Items,
              platform::ShellContextMenu* shellMenu) {
    if (id == 0) return;
    if (id >= kFirstExMenuItemId) {
        const std::size_t index = id - kFirstExMenuItemId;
        if (index >= Items.size()) return;
        // A copy: the handler may change the caller's table while it runs.
        std::function<void()> handler = Items[index].OnClick;
        if (handler) handler();
        return;
    }
    if (!shellMenu) return;
    try {
        shellMenu->InvokeCommand(id - kFirstShellId, platform::kShowNormal);
    } catch (...) {
        // A failing shell command is the shell's business; the program goes on.
    }
}

}  // namespace

void ShowExMenu(platform::System& sys, const std::string& FileName, int X, int Y,
                platform::Window& Wnd, const std::vector<ExMenuItem>& Items) {
    // Declared before the menu, so the menu is destroyed first and the shell objects after it.
    std::unique_ptr<platform::ShellContextMenu> shellMenu = ContextMenuOf(sys, FileName);

    std::unique_ptr<platform::NativeMenu> menu = sys.ui().NewNativeMenu();
    if (!menu) return;
    for (const ExMenuItem& item : Items) {
        platform::MenuEntry entry;
        entry.caption = item.Caption ? item.Caption : "";
        entry.id = item.Id;
        entry.enabled = item.Enabled;
        menu->Append(entry);
    }
    platform::MenuEntry separator;
    separator.separator = true;
    menu->Append(separator);

    if (shellMenu) {
        const auto position = static_cast<std::uint32_t>(Items.size() + 1);
        CheckShell(shellMenu->QueryContextMenu(*menu, position, kFirstShellId, kLastShellId,
                                               platform::kContextMenuNormal));
    }

    const std::uint32_t chosen = menu->Track(Wnd, platform::Point{X, Y});
    Dispatch(chosen, Items, shellMenu.get());
}

std::string AddBackslash(const std::string& Text) {
    if (Text.empty()) return Text;
    if (Text.size() == 3 && Text[1] == ':') return Text;
    if (Text == "\\") return Text;
    if (Text.back() == '\\') return Text;
    return Text + '\\';
}

bool IsDirectory(platform::System& sys, const std::string& Path) {
    const std::optional<std::uint32_t> attributes = sys.files().Attributes(Path);
    return attributes && (*attributes & platform::kAttrDirectory) != 0;
}

}  // namespace zorvik
