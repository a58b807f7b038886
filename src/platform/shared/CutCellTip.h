#pragma once
// The tip of a list view row whose cells are cut: the program's own tip, then the full texts
// its columns are too narrow for, so that the tip opens as the program wrote it. Each platform
// measures the texts its own way.
#include <functional>
#include <string>
#include <vector>

#include "platform/shared/ListRows.h"

namespace platform::shared {

// What a cell takes beside its text: the list view's margins left and right of it.
constexpr int kListCellMargin = 12;

// textWidth gives a text's width in pixels as the list draws it; columnWidths the columns'
// widths, the caption's first. Lines are joined by CR LF; tip (the program's) comes first.
std::string CutCellTip(const ListRows& rows, int row, const std::vector<int>& columnWidths,
                       const std::function<int(const std::string&)>& textWidth,
                       const std::string& tip);

}  // namespace platform::shared
