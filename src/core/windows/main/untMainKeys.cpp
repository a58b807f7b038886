// The main window's keys: what the mouse does on the lists and the Rescan button, reached
// from the keyboard.
#include "core/windows/main/untMain.h"

namespace zorvik {

bool TfrmMain::KeyDown(const platform::KeyStroke& stroke) {
    return FilterAndCopyKeyDown(stroke) || ReportKeyDown(stroke) || CommandKeyDown(stroke);
}

bool TfrmMain::CommandKeyDown(const platform::KeyStroke& stroke) {
    using platform::IsKey;
    if (IsKey(stroke, platform::kKeyF5)) {
        BtnScanClick();
        return true;
    }
    const platform::Control* focused = form_->FocusedControl();
    if (focused == &LstProc && IsKey(stroke, platform::kKeyReturn)) {
        const int row = LstProc.SelectedRow();
        if (row >= 0) ShowStartupsOfRow(row);
        return row >= 0;
    }
    const bool menuKey =
        IsKey(stroke, platform::kKeyApps) || IsKey(stroke, platform::kKeyF10, false, true);
    if (!menuKey) return false;
    if (focused == &LstProc) {
        const int row = LstProc.SelectedRow();
        if (row >= 0) ShowProcessMenu(row, LstProc.RowScreenPoint(row));
        return true;
    }
    if (focused == &LstStart) {
        PopStart.Popup(sys_.ui(), *form_, LstStart.RowScreenPoint(LstStart.SelectedRow()));
        return true;
    }
    return false;
}

}  // namespace zorvik
