#include "core/windows/PopupMenu.h"

#include <vector>

namespace zorvik {

PopupMenuItem& PopupMenu::Add(const std::string& name, const std::string& caption,
                              std::function<void()> onClick) {
    PopupMenuItem item;
    item.Name = name;
    item.Caption = caption;
    item.Id = nextId_++;
    item.OnClick = std::move(onClick);
    items_.push_back(std::move(item));
    return items_.back();
}

void PopupMenu::AddSeparator() {
    PopupMenuItem item;
    item.Separator = true;
    items_.push_back(std::move(item));
}

void PopupMenu::Popup(platform::Ui& ui, platform::Window& owner, platform::Point screen) {
    if (OnPopup) OnPopup();
    std::vector<platform::MenuEntry> entries;
    for (const PopupMenuItem& item : items_) {
        platform::MenuEntry entry;
        entry.caption = item.Caption;
        entry.id = item.Id;
        entry.enabled = item.Enabled;
        entry.separator = item.Separator;
        entries.push_back(std::move(entry));
    }
    // The menu answers 0 when dismissed, and never with a greyed item's id.
    const std::uint32_t chosen = ui.RunPopupMenu(owner, entries, screen);
    if (chosen == 0) return;
    for (const PopupMenuItem& item : items_) {
        if (item.Separator || item.Id != chosen) continue;
        // A copy: the handler may change the menu's items.
        const std::function<void()> handler = item.OnClick;
        if (handler) handler();
        return;
    }
}

}  // namespace zorvik
