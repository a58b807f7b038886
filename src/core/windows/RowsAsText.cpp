#include "core/windows/RowsAsText.h"

namespace zorvik {

namespace {

constexpr const char* kCellSeparator = "\t";
constexpr const char* kLineEnd = "\r\n";

std::string CellText(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

std::string RowsAsText(const platform::ListView& list, const std::vector<int>& rows) {
    const int columns = list.ColumnCount();
    std::string text;
    for (int column = 0; column < columns; ++column) {
        if (column > 0) text += kCellSeparator;
        text += CellText(list.Column(column).caption);
    }
    text += kLineEnd;
    for (int row : rows) {
        text += CellText(list.RowCaption(row));
        // Sub-item n stands in column n + 1.
        for (int column = 1; column < columns; ++column)
            text += kCellSeparator + CellText(list.SubItem(row, column - 1));
        text += kLineEnd;
    }
    return text;
}

}  // namespace zorvik
