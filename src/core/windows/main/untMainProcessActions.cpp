// The process menu's own commands, each on the process row selected when it runs.
#include <cstdint>
#include <optional>

#include "core/base/PathParts.h"
#include "core/engine/process/ProcessActions.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untTrust.h"
#include "platform/Shell.h"

namespace zorvik {

void TfrmMain::TerminateProcess() {
    // Looked up now: a rescan while the menu was open leaves no row selected.
    const int row = LstProc.SelectedRow();
    if (row < 0) return;
    const std::optional<std::uint32_t> pid = procTips_.ProcessIdOf(LstProc.RowData(row).get());
    const EndProcessOutcome outcome =
        pid ? EndProcess(sys_.processes(), *pid) : EndProcessOutcome::NotEnded;
    if (outcome == EndProcessOutcome::Ended) {
        sys_.ui().ShowMessageBox(nullptr, "Process Terminated", "Success",
                                 platform::MessageIcon::Information);
    } else {
        sys_.ui().ShowMessageBox(nullptr, "Unable to Terminate Process", "Error",
                                 platform::MessageIcon::Error);
    }
    BtnScanClick();
}

void TfrmMain::AddtoTrustedProgramList() {
    const int row = LstProc.SelectedRow();
    if (row < 0 || !frmTrust_) return;
    frmTrust_->Append(LstProc.RowCaption(row));
    BtnScanClick();
}

void TfrmMain::OpenLocation() {
    const int row = LstProc.SelectedRow();
    if (row < 0) return;
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    request.file = ProgramFolderOf(LstProc.RowCaption(row));
    request.show = platform::kShowNormal;
    sys_.shell().Execute(request);
}

}  // namespace zorvik
