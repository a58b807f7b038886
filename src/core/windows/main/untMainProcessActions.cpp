// The process menu's own commands, each on the process row selected when it runs.
#include <cstdint>

#include "core/base/IntText.h"
#include "core/base/PathParts.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untTrust.h"
#include "platform/Shell.h"

namespace zorvik {

namespace {

constexpr std::uint32_t kTerminatedExitCode = 1;

bool EndProcess(platform::Processes& procs, std::uint32_t pid) {
    // Terminate access only: all access is refused for many processes the user may end.
    const platform::ProcessHandle process = platform::OpenProcess(procs, pid, platform::kProcessTerminate);
    return process && procs.Terminate(process.get(), kTerminatedExitCode);
}

}  // namespace

void TfrmMain::TerminateProcess() {
    // Looked up now: a rescan while the menu was open leaves no row selected.
    const int row = LstProc.SelectedRow();
    if (row < 0) return;
    const int pid = StrToInt(LstProc.SubItem(row, 0));
    const bool ended = EndProcess(sys_.processes(), static_cast<std::uint32_t>(pid));
    if (ended) {
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
