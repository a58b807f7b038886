#include "platform/shared/CutCellTip.h"

namespace platform::shared {

std::string CutCellTip(const ListRows& rows, int row, const std::vector<int>& columnWidths,
                       const std::function<int(const std::string&)>& textWidth,
                       const std::string& tip) {
    std::string text;
    for (std::size_t column = 0; column < columnWidths.size(); ++column) {
        const int index = static_cast<int>(column);
        const std::string cell = index == 0 ? rows.Caption(row) : rows.SubItem(row, index - 1);
        if (cell.empty() || textWidth(cell) + kListCellMargin <= columnWidths[column]) continue;
        text += (text.empty() ? "" : "\r\n") + cell;
    }
    if (text.empty()) return tip;
    return tip.empty() ? text : tip + "\r\n" + text;
}

}  // namespace platform::shared
