#pragma once
// The simulated popup menu: its entries in order, tracked as the simulated popup menus are
// (the answer queued with SimUi::QueueMenuChoice, recorded in SimUi::Menus).
#include <cstdint>
#include <vector>

#include "platform/Ui.h"

namespace platform::sim {

class SimUiImpl;

class SimNativeMenu : public NativeMenu {
public:
    explicit SimNativeMenu(SimUiImpl& ui);
    ~SimNativeMenu() override;
    SimNativeMenu(const SimNativeMenu&) = delete;
    SimNativeMenu& operator=(const SimNativeMenu&) = delete;

    void Append(const MenuEntry& entry) override { entries_.push_back(entry); }
    void* NativeHandle() const override { return const_cast<SimNativeMenu*>(this); }
    std::uint32_t Track(Window& owner, Point screen) override;

    // InsertMenuA by position: at the end when position is past the last entry.
    void Insert(std::uint32_t position, const MenuEntry& entry);
    const std::vector<MenuEntry>& Entries() const { return entries_; }

private:
    SimUiImpl& ui_;
    std::vector<MenuEntry> entries_;
};

}  // namespace platform::sim
