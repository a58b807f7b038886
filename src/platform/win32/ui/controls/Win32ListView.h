#pragma once
// A report-style list view: read-only, whole-row selection, one selected row or several. The rows'
// texts and data are kept here as well (the control holds no sub-items beyond its columns and
// no owned data); the selection is the control's own.
#include "platform/shared/ListRows.h"
#include "platform/win32/ui/controls/Win32Control.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace platform::win32 {

class Win32ListView : public Win32Control<ListView> {
public:
    Win32ListView(Win32Window& form, const ListViewSpec& desc);

    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    ListColumn Column(int index) const override;
    int RowCount() const override { return rows_.Count(); }
    int AddRow(const std::string& caption, std::shared_ptr<void> data) override;
    void DeleteRow(int row) override;
    void Clear() override;
    std::string RowCaption(int row) const override { return rows_.Caption(row); }
    std::shared_ptr<void> RowData(int row) const override { return rows_.Data(row); }
    int SubItemCount(int row) const override { return rows_.SubItemCount(row); }
    void AddSubItem(int row, const std::string& text) override;
    void SetSubItem(int row, int subItem, const std::string& text) override;
    std::string SubItem(int row, int subItem) const override {
        return rows_.SubItem(row, subItem);
    }
    int SelectedRow() const override;
    void SetSelectedRow(int row) override;
    std::vector<int> SelectedRows() const override;
    void SelectAll() override;
    int HitTest(int x, int y) const override;
    Point RowScreenPoint(int row) const override;
    void Redraw() override;

    void SetColumnWidth(int column, int width) override;
    void SetSortArrow(int column, SortArrow arrow) override;
    SortArrow SortArrowOf(int column) const override;

    bool OnNotify(NMHDR& header, LRESULT& result) override;

protected:
    void OnDpiChanged(int oldDpi) override;
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // NM_CUSTOMDRAW: the row's colour, asked of the program at each row's paint.
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
    void ShowSubItem(int row, int subItem, const std::string& text);
    LRESULT MouseDown(MouseButton button, UINT message, WPARAM wParam, LPARAM lParam);
    // LVN_GETINFOTIPA or W: the tip of the row the mouse rests on, cut to the buffer given.
    void GetInfoTip(NMHDR& header);
    void ContextMenu();
    // The header item's format flags (HDI_FORMAT); 0 for a column out of range.
    int HeaderFormat(int column) const;
    // The tip of a row: its cut cells' full texts, then the program's.
    std::string RowTip(int row);

    std::vector<ListColumn> columns_;
    bool infoTips_ = false;
    bool multiSelect_ = false;
    shared::ListRows rows_;
    // A context menu the control asks for while it still handles the press waits for the
    // press's OnMouseDown.
    bool inMouseDown_ = false;
    bool contextMenuWaiting_ = false;
};

}  // namespace platform::win32
