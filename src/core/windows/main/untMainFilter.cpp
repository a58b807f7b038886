// The process list narrowed to the programs the filter box names, and the rows of either list
// copied to the clipboard.
#include <memory>
#include <vector>

#include "core/windows/RowsAsText.h"
#include "core/windows/main/ProcessFilter.h"
#include "core/windows/main/untMain.h"

namespace zorvik {

void TfrmMain::ClearProcessRows() {
    LstProc.Clear();
    listed_.clear();
    procTips_.Clear();
    reported_.Clear();
    ClearStartupList();
}

void TfrmMain::ShowListedRows() {
    const int selected = LstProc.SelectedRow();
    const std::shared_ptr<void> selectedData = selected >= 0 ? LstProc.RowData(selected) : nullptr;
    const std::string typed = EdtFilter.Text();
    LstProc.Clear();
    for (const ListedRow& row : listed_) {
        if (!FilterKeeps(row.searched, typed)) continue;
        const int index = LstProc.AddRow(row.caption, row.findings);
        for (const std::string& text : row.subItems) LstProc.AddSubItem(index, text);
        if (selectedData && row.findings == selectedData) LstProc.SetSelectedRow(index);
    }
    procSort_.Sort();
    // The start-up list shows the hits of a program on show only.
    if (ProcessRowOf(startupOwner_.lock().get()) < 0) ClearStartupList();
    LblShown.SetText(ShownOfAllText(static_cast<std::size_t>(LstProc.RowCount()), listed_.size()));
}

void TfrmMain::EdtFilterChange() { ShowListedRows(); }

void TfrmMain::ClearFilter() { EdtFilter.SetText(""); }

void TfrmMain::CopyRows(platform::ListView& list) {
    const std::vector<int> rows = list.SelectedRows();
    if (rows.empty()) return;
    sys_.ui().CopyToClipboard(form_.get(), RowsAsText(list, rows));
}

void TfrmMain::SelectAllRows(platform::ListView& list) { list.SelectAll(); }

bool TfrmMain::FilterAndCopyKeyDown(const platform::KeyStroke& stroke) {
    using platform::IsKey;
    const platform::Control* focused = form_->FocusedControl();
    if (IsKey(stroke, platform::kKeyF, true)) {
        form_->FocusControl(EdtFilter);
        return true;
    }
    if (focused == &EdtFilter && IsKey(stroke, platform::kKeyEscape)) {
        ClearFilter();
        return true;
    }
    // In the filter box Ctrl+C and Ctrl+A stay the box's own.
    platform::ListView* list = focused == &LstProc    ? &LstProc
                               : focused == &LstStart ? &LstStart
                                                      : nullptr;
    if (!list) return false;
    if (IsKey(stroke, platform::kKeyC, true)) {
        CopyRows(*list);
        return true;
    }
    if (IsKey(stroke, platform::kKeyA, true)) {
        SelectAllRows(*list);
        return true;
    }
    return false;
}

}  // namespace zorvik
