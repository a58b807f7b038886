// The main window's scan: the lists emptied, the cycle run, its rows kept and shown.
#include <memory>
#include <stdexcept>

#include "core/base/FixedTexts.h"
#include "core/engine/process/ListedLevel.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/process/Publisher.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/main/ProcessFilter.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"

namespace zorvik {

namespace {

// Moves the cycle's rows into the window's listed rows, each keeping its findings from then
// on; its process, sockets and verdict are kept beside it, and a copy of the whole row for the
// report. With vouchedHidden, Windows' own and verified programs are left out (a row not judged
// is listed).
void KeepRows(ProcessList& rows, std::vector<ListedRow>& listed, ProcessTips& tips,
              ProcessList& reported, bool vouchedHidden) {
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        ProcessRow& row = rows.At(i);
        if (vouchedHidden && !AtOrAbove(row, kShownWhenVouchedHidden)) continue;
        reported.AddCopyOf(row);
        const std::string level = row.verdict ? VerdictLevelName(row.verdict->level) : "";
        const std::string publisher = PublisherOf(row.file);
        const std::shared_ptr<ProcInfo> findings(std::move(row.data));
        // Before the tips take the verdict and the file's facts.
        std::string searched = FilterTextsOf(row, findings.get());
        tips.Keep(findings.get(), row,
                  findings ? HitTipLines(*findings) : std::vector<std::string>{});
        listed.push_back(ListedRow{row.caption, {row.pid, row.details, level, publisher},
                                   findings, std::move(searched)});
    }
    rows.Clear();
}

}  // namespace

void TfrmMain::BtnScanClick() {
    // The sockets library and the TCP-table function are given back at shutdown.
    if (shutDown_) return;
    ClearProcessRows();
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
    const bool vouchedHidden = frmOp_->ChkHideVerified.Checked();
    try {
        zorvik::ScanCycle(sys_, TcpTableEntry.get(), *frmOp_, *frmTrust_, rows,
                          picture_.Places());
    } catch (...) {
        // The rows found before the error stay listed, unjudged; the error goes on to the
        // handler.
        KeepRows(rows, listed_, procTips_, reported_, vouchedHidden);
        ShowListedRows();
        throw;
    }
    if (AddRowEvidence) AddRowEvidence(rows);
    KeepRows(rows, listed_, procTips_, reported_, vouchedHidden);
    ShowListedRows();
}

}  // namespace zorvik
