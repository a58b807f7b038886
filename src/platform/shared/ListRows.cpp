#include "platform/shared/ListRows.h"

#include <utility>

namespace platform::shared {

void ListRows::Add(const std::string& caption, std::shared_ptr<void> data) {
    rows_.push_back(Row{caption, {}, std::move(data)});
}

void ListRows::Delete(int row) {
    if (InRange(row)) rows_.erase(rows_.begin() + row);
}

std::string ListRows::Caption(int row) const {
    return InRange(row) ? At(row).caption : std::string();
}

std::shared_ptr<void> ListRows::Data(int row) const {
    return InRange(row) ? At(row).data : nullptr;
}

int ListRows::SubItemCount(int row) const {
    return InRange(row) ? static_cast<int>(At(row).subItems.size()) : 0;
}

int ListRows::AddSubItem(int row, const std::string& text) {
    if (!InRange(row)) return -1;
    auto& subItems = At(row).subItems;
    subItems.push_back(text);
    return static_cast<int>(subItems.size()) - 1;
}

bool ListRows::SetSubItem(int row, int subItem, const std::string& text) {
    if (!HasSubItem(row, subItem)) return false;
    At(row).subItems[static_cast<std::size_t>(subItem)] = text;
    return true;
}

std::string ListRows::SubItem(int row, int subItem) const {
    return HasSubItem(row, subItem) ? At(row).subItems[static_cast<std::size_t>(subItem)]
                                    : std::string();
}

int SelectionAfterRemoval(int selected, int removed) {
    if (selected == removed) return -1;
    return selected > removed ? selected - 1 : selected;
}

}  // namespace platform::shared
