// The start-up list's commands: open the place an entry lives in, or disable the entry there.
// The engine acts; the window says what went wrong and redraws.
#include <memory>
#include <optional>
#include <string>

#include "core/base/Errors.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/main/untMain.h"

namespace zorvik {

namespace {

constexpr const char* kLastKeyFailed =
    "Unable to set value for \"LastKey\", You may require administrator rights";
constexpr const char* kDisableFailed =
    "Unable to disable the start up entry, You may require administrator rights";

}  // namespace

std::optional<StartupHit> TfrmMain::SelectedStartupHit(std::shared_ptr<ProcInfo>& owner) const {
    const int row = LstStart.SelectedRow();
    if (row < 0) return std::nullopt;
    const std::optional<StartupKind> kind = StartupKindNamed(LstStart.RowCaption(row));
    const auto index = std::static_pointer_cast<StartupRowIndex>(LstStart.RowData(row));
    owner = startupOwner_.lock();
    if (!kind || !index || index->index < 0 || !owner) return std::nullopt;
    const StartupHit hit{*kind, static_cast<std::size_t>(index->index)};
    if (!HasHit(*owner, hit)) return std::nullopt;
    return hit;
}

void TfrmMain::ShowStartup1Click() {
    std::shared_ptr<ProcInfo> owner;
    const std::optional<StartupHit> hit = SelectedStartupHit(owner);
    if (!hit) return;
    const PlaceOpening opening = OpeningOf(*owner, *hit);
    if (opening.editorKey && !PointRegistryEditorAt(sys_, *opening.editorKey)) {
        ShowErrorBox(sys_.ui(), kLastKeyFailed);
    }
    OpenPlace(sys_, opening);
}

void TfrmMain::DisableStartup1Click() {
    // The findings of the process row that filled the list, held while the command runs.
    std::shared_ptr<ProcInfo> owner;
    const std::optional<StartupHit> hit = SelectedStartupHit(owner);
    const int processRow = ProcessRowOf(owner.get());
    if (!hit || processRow < 0) return;

    const std::string programFileName = ProgramFileNameOf(LstProc.RowCaption(processRow));
    const DisableOutcome outcome = DisableStartup(sys_, *owner, *hit, programFileName);
    switch (outcome.result) {
        case DisableResult::Disabled:
            LstStart.Redraw();
            ForgetOwnChange();
            break;
        case DisableResult::Unchanged:
            break;
        case DisableResult::RegistryRefused:
            ShowErrorBox(sys_.ui(), kDisableFailed);
            break;
        case DisableResult::ProfileNotWritten:
            throw AppError("Unable to write to " + outcome.place);
        case DisableResult::FileNotRead:
            throw AppError("Cannot open file " + outcome.place);
        case DisableResult::FileNotWritten:
            throw AppError("Cannot create file " + outcome.place);
        case DisableResult::TaskRefused:
            ShowErrorBox(sys_.ui(), "Unable to disable the scheduled task " + outcome.place +
                                        ", the Task Scheduler refused it. You may require "
                                        "administrator rights");
            break;
        case DisableResult::JobRefused:
            ShowErrorBox(sys_.ui(), "Unable to suspend the BITS job " + outcome.place +
                                        ", BITS refused it. The job may have ended or belong "
                                        "to another account: you may require administrator "
                                        "rights");
            break;
        case DisableResult::TaskFileChanged:
            ShowErrorBox(sys_.ui(), "The Task Scheduler did not disable the task, so its file " +
                                        outcome.place +
                                        " now says it is disabled. A Task Scheduler that does "
                                        "not read the file again may still run the task");
            break;
    }
}

}  // namespace zorvik
