#pragma once
// A list's rows in the order its user asked for by clicking a column's header: the column's
// texts compared as a reader compares them, a second click on the same column reversing. Until
// the first click the rows stay in the order they were added in.
#include <string>
#include <vector>

#include "platform/Widgets.h"

namespace zorvik {

struct SortOrder {
    int column = -1;  // -1: the order the rows were added in
    bool descending = false;
    bool operator==(const SortOrder&) const = default;
};

// That column ascending; the other way round when it is already the one sorted by.
SortOrder OrderAfterClick(SortOrder current, int column);

// As Settings.ini keeps an order: the column's number counted from 1, negative when
// descending, 0 for none. A number naming no column of the list reads as none.
int SortSettingOf(SortOrder order);
SortOrder SortOrderOfSetting(int value, int columnCount);

enum class SortKey {
    // Whole numbers as numbers (a cell that is one, "-1" included, and every run of digits
    // inside a text, so that "10 Start up\s" follows "9 Start up\s"), letters without regard
    // to case.
    Text,
    // A verdict's level by its severity, the most severe first: suspicious, unverified,
    // verified, windows, then a row not judged.
    Verdict
};

// Less than 0, 0 or more than 0, as a comes before, with or after b in ascending order.
int CompareCells(SortKey key, const std::string& a, const std::string& b);

// Keeps one list view in its user's order and shows the order by the header's arrow. Rows of
// equal texts keep the order they were added in, whichever way the column is sorted; the
// selected row stays selected.
class ListSorter {
public:
    // keys: how each column compares, the caption's first; a column beyond them as Text.
    explicit ListSorter(platform::ListView& list, std::vector<SortKey> keys = {});

    // The user clicked a column's header.
    void Click(int column);
    // After the rows were filled again: puts them in the order.
    void Sort();
    SortOrder Order() const { return order_; }
    // Shows the order's arrow and sorts by it (a column out of range: the added order).
    void SetOrder(SortOrder order);

private:
    SortKey KeyOf(int column) const;
    platform::ListView& list_;
    std::vector<SortKey> keys_;
    SortOrder order_;
};

}  // namespace zorvik
