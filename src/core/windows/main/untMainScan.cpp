// The main window's scan: the lists emptied, the cycle run, its rows shown.
#include <memory>
#include <stdexcept>

#include "core/base/FixedTexts.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"

namespace zorvik {

namespace {

// Moves the cycle's rows into the list view, each row owning its findings from then on; its
// process and sockets are kept beside it.
void ShowRows(ProcessList& rows, platform::ListView& view, ProcessTips& tips) {
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        ProcessRow& row = rows.At(i);
        const std::shared_ptr<ProcInfo> findings(std::move(row.data));
        tips.Keep(findings.get(), row.caption, row.processId, std::move(row.sockets),
                  findings ? HitTipLines(*findings) : std::vector<std::string>{});
        const int index = view.AddRow(row.caption, findings);
        view.AddSubItem(index, row.pid);
        view.AddSubItem(index, row.details);
    }
    rows.Clear();
}

}  // namespace

void TfrmMain::BtnScanClick() {
    // The sockets library and the TCP-table function are given back at shutdown.
    if (shutDown_) return;
    LstProc.Clear();
    procTips_.Clear();
    ClearStartupList();
    ScanCycle();
}

void TfrmMain::ScanCycle() {
    if (!frmTrust_ || !frmOp_)
        throw std::logic_error("the main window scans only once its side windows are attached");
    if (!TcpTableEntry) {
        ShowErrorBox(sys_.ui(), kNoTcpTableMessage);
        return;
    }
    // Armed before the places are read; before the rows are shown, so that they are drawn with
    // their marks.
    KeepPlaceWatch();
    NoteNews(picture_.ReadAll(sys_, placeWatch_.get()));
    ListScan();
}

void TfrmMain::ListScan() {
    ProcessList rows;
    try {
        zorvik::ScanCycle(sys_, TcpTableEntry.get(), *frmOp_, *frmTrust_, rows,
                          picture_.Places());
    } catch (...) {
        // The rows found before the error stay listed; the error goes on to the handler.
        ShowRows(rows, LstProc, procTips_);
        throw;
    }
    ShowRows(rows, LstProc, procTips_);
}

}  // namespace zorvik
