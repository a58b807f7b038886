// The main window's watch of the start-up places: armed after each scan, a rescan for each
// change it tells of, what changed among the entries, and the rows marked until seen.
#include <memory>
#include <optional>
#include <string>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"
#include "core/windows/main/EntryBalloon.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"

namespace zorvik {

void TfrmMain::ArmPlaceWatch() {
    if (shutDown_ || !frmOp_ || !frmOp_->ChkWatch.Checked()) {
        placeWatch_.reset();
        return;
    }
    if (!placeWatch_) {
        placeWatch_ = sys_.NewPlaceWatch();
        if (!placeWatch_) return;
        placeWatch_->NotifyWindow(form_.get(), kPlacesChangedMessage);
    }
    placeWatch_->Watch(WatchedPlacesOf(sys_));
}

void TfrmMain::PlacesChanged() {
    // A message posted before the watch ended, or one whose change an earlier message took.
    if (!placeWatch_ || shutDown_ || !placeWatch_->TakeChange()) return;
    RescanKeepingSelection();
    const std::string text = EntryBalloonText(lastNews_);
    if (text.empty()) return;
    // Like the detection balloon, a click on it brings the window back.
    CloseNoticeShown = false;
    ShowTrayBalloon(kEntryBalloonTitle, text);
}

void TfrmMain::RescanKeepingSelection() {
    const int selected = LstProc.SelectedRow();
    const std::string caption = selected >= 0 ? LstProc.RowCaption(selected) : std::string();
    const std::string pid = selected >= 0 ? LstProc.SubItem(selected, 0) : std::string();
    const std::shared_ptr<ProcInfo> shown = startupOwner_.lock();
    const bool startupsShown = shown && selected >= 0 && LstProc.RowData(selected) == shown;

    BtnScanClick();

    if (selected < 0) return;
    for (int row = 0; row < LstProc.RowCount(); ++row) {
        if (LstProc.RowCaption(row) != caption || LstProc.SubItem(row, 0) != pid) continue;
        LstProc.SetSelectedRow(row);
        const auto findings = std::static_pointer_cast<ProcInfo>(LstProc.RowData(row));
        if (startupsShown && findings) FillStartupList(findings);
        return;
    }
}

void TfrmMain::NoteEntries(PlaceEntries entries) {
    lastNews_ = entryHistory_.Next(std::move(entries));
    for (const EntryNews& item : lastNews_) {
        if (item.change == EntryChange::Removed) {
            unseenEntries_.erase(item.key);
        } else {
            unseenEntries_.insert(item.key);
        }
    }
}

void TfrmMain::ForgetOwnChange() {
    if (!entryHistory_.Empty()) entryHistory_.Keep(EntriesOf(ReadStartupPlaces(sys_)));
}

bool TfrmMain::HasUnseenEntry(const ProcInfo& findings) const {
    if (unseenEntries_.empty()) return false;
    bool unseen = false;
    ForEachHit(findings, [&](StartupHit hit) {
        unseen = unseen || unseenEntries_.contains(StableKeyOf(findings, hit));
    });
    return unseen;
}

void TfrmMain::MarkSeen(const ProcInfo& findings) {
    if (!HasUnseenEntry(findings)) return;
    ForEachHit(findings,
               [&](StartupHit hit) { unseenEntries_.erase(StableKeyOf(findings, hit)); });
    LstProc.Redraw();
}

platform::Colour TfrmMain::LstProcCustomDrawItem(int row) {
    const auto findings = std::static_pointer_cast<ProcInfo>(LstProc.RowData(row));
    return findings && HasUnseenEntry(*findings) ? platform::kRed : platform::kBlack;
}

}  // namespace zorvik
