#include "core/windows/main/ListSort.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <optional>

#include "core/engine/verdict/Verdict.h"

namespace zorvik {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int Sign(std::ptrdiff_t value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// A cell that is one whole number, an optional minus sign included; none for any other text
// and for numbers too long for 64 bits.
std::optional<std::int64_t> WholeNumber(const std::string& text) {
    const std::size_t digits = text.size() - (text.starts_with('-') ? 1 : 0);
    if (digits == 0 || digits > 18) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = text.size() - digits; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return text.starts_with('-') ? -value : value;
}

// Runs of digits by their value (leading zeros aside), the rest by letter without case.
int CompareNatural(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA])) ++endA;
            while (endB < b.size() && IsDigit(b[endB])) ++endB;
            // The longer run without leading zeros is the larger number.
            if (endA - i != endB - j) return Sign(static_cast<std::ptrdiff_t>(endA - i) -
                                                  static_cast<std::ptrdiff_t>(endB - j));
            const int digits = a.compare(i, endA - i, b, j, endB - j);
            if (digits != 0) return Sign(digits);
            i = endA;
            j = endB;
            continue;
        }
        const char x = Lower(a[i]);
        const char y = Lower(b[j]);
        if (x != y) return Sign(static_cast<unsigned char>(x) - static_cast<unsigned char>(y));
        ++i;
        ++j;
    }
    return Sign(static_cast<std::ptrdiff_t>(a.size() - i) -
                static_cast<std::ptrdiff_t>(b.size() - j));
}

// 0 for the most severe level; a text naming no level after them all.
int SeverityRank(const std::string& level) {
    constexpr VerdictLevel kMostSevereFirst[] = {VerdictLevel::Suspicious, VerdictLevel::Unverified,
                                                 VerdictLevel::Verified, VerdictLevel::Windows};
    int rank = 0;
    for (VerdictLevel candidate : kMostSevereFirst) {
        if (level == VerdictLevelName(candidate)) return rank;
        ++rank;
    }
    return rank;
}

std::string CellText(const platform::ListView& list, int row, int column) {
    return column == 0 ? list.RowCaption(row) : list.SubItem(row, column - 1);
}

}  // namespace

SortOrder OrderAfterClick(SortOrder current, int column) {
    if (current.column == column) return SortOrder{column, !current.descending};
    return SortOrder{column, false};
}

int SortSettingOf(SortOrder order) {
    if (order.column < 0) return 0;
    return order.descending ? -(order.column + 1) : order.column + 1;
}

SortOrder SortOrderOfSetting(int value, int columnCount) {
    const int column = (value < 0 ? -value : value) - 1;
    if (value == 0 || column >= columnCount || column < 0) return SortOrder{};
    return SortOrder{column, value < 0};
}

int CompareCells(SortKey key, const std::string& a, const std::string& b) {
    if (key == SortKey::Verdict) return Sign(SeverityRank(a) - SeverityRank(b));
    const std::optional<std::int64_t> x = WholeNumber(a);
    const std::optional<std::int64_t> y = WholeNumber(b);
    if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
    return CompareNatural(a, b);
}

ListSorter::ListSorter(platform::ListView& list, std::vector<SortKey> keys)
    : list_(list), keys_(std::move(keys)) {}

SortKey ListSorter::KeyOf(int column) const {
    return column >= 0 && static_cast<std::size_t>(column) < keys_.size()
               ? keys_[static_cast<std::size_t>(column)]
               : SortKey::Text;
}

void ListSorter::Click(int column) { SetOrder(OrderAfterClick(order_, column)); }

void ListSorter::SetOrder(SortOrder order) {
    if (order.column >= list_.ColumnCount()) order = SortOrder{};
    order_ = order;
    for (int column = 0; column < list_.ColumnCount(); ++column) {
        platform::SortArrow arrow = platform::SortArrow::None;
        if (column == order_.column)
            arrow = order_.descending ? platform::SortArrow::Down : platform::SortArrow::Up;
        list_.SetSortArrow(column, arrow);
    }
    Sort();
}

void ListSorter::Sort() {
    if (order_.column < 0) return;
    const int count = list_.RowCount();
    std::vector<std::string> texts;
    for (int row = 0; row < count; ++row) texts.push_back(CellText(list_, row, order_.column));
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const SortKey key = KeyOf(order_.column);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int compared = CompareCells(key, texts[static_cast<std::size_t>(a)],
                                          texts[static_cast<std::size_t>(b)]);
        return order_.descending ? compared > 0 : compared < 0;
    });
    if (std::is_sorted(order.begin(), order.end())) return;

    // The rows are added again in their new order; the data each owns is held meanwhile.
    struct Row {
        std::string caption;
        std::vector<std::string> subItems;
        std::shared_ptr<void> data;
    };
    std::vector<Row> rows;
    for (int row = 0; row < count; ++row) {
        Row kept{list_.RowCaption(row), {}, list_.RowData(row)};
        for (int sub = 0; sub < list_.SubItemCount(row); ++sub)
            kept.subItems.push_back(list_.SubItem(row, sub));
        rows.push_back(std::move(kept));
    }
    const int selected = list_.SelectedRow();
    list_.Clear();
    for (int from : order) {
        const Row& row = rows[static_cast<std::size_t>(from)];
        const int added = list_.AddRow(row.caption, row.data);
        for (const std::string& text : row.subItems) list_.AddSubItem(added, text);
        if (from == selected) list_.SetSelectedRow(added);
    }
}

}  // namespace zorvik
