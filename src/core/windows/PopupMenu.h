#pragma once
// A window's popup menu as a table: named items whose enabled state the window sets before the
// menu opens, each running its handler when chosen.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/Ui.h"

namespace zorvik {

struct PopupMenuItem {
    std::string Name;     // "ShowStartup1"; empty for a separator
    std::string Caption;
    std::uint32_t Id = 0; // given by the menu; 0 for a separator
    bool Enabled = true;
    bool Separator = false;
    std::function<void()> OnClick;
};

class PopupMenu {
public:
    // Appends an item and gives it the next id (1, 2, ...). The reference stays valid as long as
    // the menu lives.
    PopupMenuItem& Add(const std::string& name, const std::string& caption,
                       std::function<void()> onClick);
    void AddSeparator();

    std::size_t Count() const { return items_.size(); }
    const PopupMenuItem& At(std::size_t index) const { return items_.at(index); }

    // Runs just before the menu opens, to set which items can be chosen.
    std::function<void()> OnPopup;

    // OnPopup, then the menu tracked modally at screen; the chosen item's handler runs after the
    // menu has closed. Its nested loop may run other handlers meanwhile.
    void Popup(platform::Ui& ui, platform::Window& owner, platform::Point screen);

private:
    std::deque<PopupMenuItem> items_;
    std::uint32_t nextId_ = 1;
};

}  // namespace zorvik
