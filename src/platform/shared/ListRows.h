#pragma once
// The rows of a list view as the program filled them: each row's caption, its sub-items (also
// those past the last column) and the data it owns. Kept beside the control on every platform,
// since the Windows control holds no sub-items beyond its columns and no owned data.
#include <memory>
#include <string>
#include <vector>

namespace platform::shared {

class ListRows {
public:
    int Count() const { return static_cast<int>(rows_.size()); }
    bool InRange(int row) const { return row >= 0 && row < Count(); }

    void Add(const std::string& caption, std::shared_ptr<void> data);
    void Delete(int row);  // out of range: nothing
    void Clear() { rows_.clear(); }

    // Out of range: "" and null.
    std::string Caption(int row) const;
    std::shared_ptr<void> Data(int row) const;

    int SubItemCount(int row) const;
    // The new sub-item's number, or -1 (nothing added) when the row does not exist.
    int AddSubItem(int row, const std::string& text);
    // False (nothing changed) when the row or the sub-item does not exist.
    bool SetSubItem(int row, int subItem, const std::string& text);
    std::string SubItem(int row, int subItem) const;  // "" when missing

private:
    struct Row {
        std::string caption;
        std::vector<std::string> subItems;
        std::shared_ptr<void> data;
    };
    bool HasSubItem(int row, int subItem) const {
        return subItem >= 0 && subItem < SubItemCount(row);
    }
    Row& At(int row) { return rows_[static_cast<std::size_t>(row)]; }
    const Row& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    std::vector<Row> rows_;
};

// The selected row (or item) once the one at `removed` is gone: none when it was that one, one
// up when it stood below it, else the same. -1 means none.
int SelectionAfterRemoval(int selected, int removed);

}  // namespace platform::shared
