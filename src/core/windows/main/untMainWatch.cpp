// The main window's watch of the start-up places: armed with each scan, an answer for the
// changes it tells of, what changed among the entries, and the rows marked until seen.
#include <memory>
#include <optional>
#include <string>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/windows/main/EntryBalloon.h"
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"

namespace zorvik {

void TfrmMain::KeepPlaceWatch() {
    if (shutDown_ || !frmOp_ || !frmOp_->ChkWatch.Checked()) {
        placeWatch_.reset();
        return;
    }
    if (placeWatch_) return;
    placeWatch_ = sys_.NewPlaceWatch();
    if (placeWatch_) placeWatch_->NotifyWindow(form_.get(), kPlacesChangedMessage);
}

void TfrmMain::ArmPlaceWatch() {
    KeepPlaceWatch();
    if (placeWatch_ && !picture_.Empty()) picture_.WatchAgain(sys_, *placeWatch_);
}

void TfrmMain::PlacesChanged() {
    // A message posted before the watch ended, or one whose change an earlier message took.
    if (!placeWatch_ || shutDown_) return;
    const platform::PlaceChanges changes = placeWatch_->TakeChange();
    if (!changes && picture_.FullReadDueIn(sys_) > 0) return;
    std::vector<EntryNews> news = picture_.Answer(sys_, *placeWatch_, changes);
    if (news.empty()) return;
    NoteNews(std::move(news));
    // The balloon first: the list's scan of the running programs takes longer than the read.
    const std::string text = EntryBalloonText(lastNews_);
    if (!text.empty()) {
        // Like the detection balloon, a click on it brings the window back.
        CloseNoticeShown = false;
        ShowTrayBalloon(kEntryBalloonTitle, text);
    }
    RescanKeepingSelection();
}

void TfrmMain::RescanKeepingSelection() {
    const int selected = LstProc.SelectedRow();
    const std::string caption = selected >= 0 ? LstProc.RowCaption(selected) : std::string();
    const std::string pid = selected >= 0 ? LstProc.SubItem(selected, 0) : std::string();
    const std::shared_ptr<ProcInfo> shown = startupOwner_.lock();
    const bool startupsShown = shown && selected >= 0 && LstProc.RowData(selected) == shown;

    if (shutDown_) return;
    ClearProcessRows();
    ListScan();

    if (selected < 0) return;
    for (int row = 0; row < LstProc.RowCount(); ++row) {
        if (LstProc.RowCaption(row) != caption || LstProc.SubItem(row, 0) != pid) continue;
        LstProc.SetSelectedRow(row);
        const auto findings = std::static_pointer_cast<ProcInfo>(LstProc.RowData(row));
        if (startupsShown && findings) FillStartupList(findings);
        return;
    }
}

void TfrmMain::NoteNews(std::vector<EntryNews> news) {
    lastNews_ = std::move(news);
    for (const EntryNews& item : lastNews_) {
        if (item.change == EntryChange::Removed) {
            unseenEntries_.erase(item.key);
        } else {
            unseenEntries_.insert(item.key);
        }
    }
}

void TfrmMain::ForgetOwnChange() {
    if (!picture_.Empty()) picture_.ReadAll(sys_, placeWatch_.get());
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
    // News first: it goes once the row is clicked, and the colour of its verdict shows then.
    if (findings && HasUnseenEntry(*findings)) return platform::kRed;
    const Verdict* verdict = procTips_.VerdictOf(findings.get());
    return verdict && verdict->level == VerdictLevel::Suspicious ? platform::kPurple
                                                                 : platform::kBlack;
}

}  // namespace zorvik
