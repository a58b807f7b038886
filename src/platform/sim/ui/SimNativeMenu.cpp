#include "platform/sim/ui/SimNativeMenu.h"

#include "platform/sim/ui/SimUiImpl.h"

namespace platform::sim {

SimNativeMenu::SimNativeMenu(SimUiImpl& ui) : ui_(ui) {}

SimNativeMenu::~SimNativeMenu() { ui_.NativeMenuDestroyed(); }

std::uint32_t SimNativeMenu::Track(Window& owner, Point screen) {
    return ui_.RunPopupMenu(owner, entries_, screen);
}

void SimNativeMenu::Insert(std::uint32_t position, const MenuEntry& entry) {
    if (position >= entries_.size())
        entries_.push_back(entry);
    else
        entries_.insert(entries_.begin() + position, entry);
}

std::unique_ptr<NativeMenu> SimUiImpl::NewNativeMenu() {
    if (!nativeMenusAvailable_) return nullptr;
    ++liveNativeMenus_;
    return std::make_unique<SimNativeMenu>(*this);
}

}  // namespace platform::sim
