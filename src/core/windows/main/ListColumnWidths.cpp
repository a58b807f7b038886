#include "core/windows/main/ListColumnWidths.h"

#include "core/settings/SettingsFile.h"

namespace zorvik {

std::string ColumnWidthsText(const platform::ListView& list) {
    std::string text;
    for (int column = 0; column < list.ColumnCount(); ++column)
        text += (column ? "," : "") + std::to_string(list.Column(column).width);
    return text;
}

void RestoreColumnWidths(platform::ListView& list, const std::string& text) {
    std::size_t start = 0;
    for (int column = 0; column < list.ColumnCount() && start <= text.size(); ++column) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const int width = SettingsIntOf(text.substr(start, end - start), 0);
        if (width > 0) list.SetColumnWidth(column, width);
        start = end + 1;
    }
}

}  // namespace zorvik
