#pragma once
// Rows of a list view as text for the clipboard, in the form spreadsheets and ticket systems
// take when pasted: a header line of the columns' captions, then one line per row, cells
// separated by tabs, every line ending in CR LF.
#include <string>
#include <vector>

#include "platform/Widgets.h"

namespace zorvik {

// The given rows, in the order given; a cell the row lacks is empty. A tab or line end inside
// a cell becomes a space, so that every row stays one line of as many cells as columns.
std::string RowsAsText(const platform::ListView& list, const std::vector<int>& rows);

}  // namespace zorvik
