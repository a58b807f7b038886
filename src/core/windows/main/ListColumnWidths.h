#pragma once
// A list view's column widths as Settings.ini keeps them: one text, the widths in pixels in
// column order, separated by commas ("280,50,370,70,150").
#include <string>

#include "platform/Widgets.h"

namespace zorvik {

std::string ColumnWidthsText(const platform::ListView& list);

// Sets each column the text gives a width for. A missing, empty or broken width, or one of 0
// or less, leaves its column as it is, so that no saved value can hide a column; widths
// beyond the last column are passed over (a file written when the list had more columns).
void RestoreColumnWidths(platform::ListView& list, const std::string& text);

}  // namespace zorvik
