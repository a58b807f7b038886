// The process list's mouse buttons, and the start-up list filled from a process row.
#include <memory>
#include <vector>

#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupRows.h"
#include "core/base/untFunc.h"
#include "core/windows/main/untMain.h"

namespace zorvik {

namespace {


std::shared_ptr<ProcInfo> FindingsOf(const platform::ListView& list, int row) {
    return std::static_pointer_cast<ProcInfo>(list.RowData(row));
}

std::shared_ptr<StartupRowIndex> IndexOf(const platform::ListView& list, int row) {
    return std::static_pointer_cast<StartupRowIndex>(list.RowData(row));
}

// Where the hit stands among the findings' start-up rows as first filled, whatever order the
// list shows them in now.
std::size_t FilledPosition(const ProcInfo& findings, StartupHit hit) {
    const std::vector<StartupRow> rows = StartupRowsOf(findings);
    for (std::size_t position = 0; position < rows.size(); ++position)
        if (rows[position].kind == hit.kind && rows[position].index == hit.index) return position;
    return rows.size();
}

}  // namespace

int TfrmMain::ProcessRowOf(const ProcInfo* findings) const {
    if (!findings) return -1;
    for (int row = 0; row < LstProc.RowCount(); ++row)
        if (LstProc.RowData(row).get() == findings) return row;
    return -1;
}

void TfrmMain::ClearStartupList() {
    LstStart.Clear();
    startupOwner_.reset();
}

void TfrmMain::FillStartupList(const std::shared_ptr<ProcInfo>& findings) {
    for (const StartupRow& hit : StartupRowsOf(*findings)) {
        auto index = std::make_shared<StartupRowIndex>();
        index->index = static_cast<std::int32_t>(hit.index);
        const int row = LstStart.AddRow(hit.caption, index);
        for (const std::string& text : hit.data) LstStart.AddSubItem(row, text);
    }
    startupOwner_ = findings;
    startSort_.Sort();
}

std::string TfrmMain::LstProcInfoTip(int row) {
    return procTips_.TipOf(LstProc.RowData(row).get());
}

void TfrmMain::LstProcMouseDown(platform::MouseButton button, int x, int y) {
    const int row = LstProc.HitTest(x, y);
    if (row < 0) return;
    if (button == platform::MouseButton::Left) ShowStartupsOfRow(row);
    else if (button == platform::MouseButton::Right)
        ShowProcessMenu(row, sys_.ui().CursorPosition());
}

void TfrmMain::ShowStartupsOfRow(int row) {
    ClearStartupList();
    const std::shared_ptr<ProcInfo> findings = FindingsOf(LstProc, row);
    if (findings) {
        FillStartupList(findings);
        MarkSeen(*findings);
    }
}

void TfrmMain::ShowProcessMenu(int row, platform::Point screen) {
    // An Active Setup row stands for no process to end.
    ProcMenu[0].Enabled = procTips_.ProcessIdOf(LstProc.RowData(row).get()).has_value();
    const std::string fileName = GetLongPath(sys_, LstProc.RowCaption(row));
    // Copy follows the table's own commands; it is the one that takes every selected row.
    std::vector<ExMenuItem> entries = ProcMenu;
    entries.push_back(ExMenuItem{kCopyCaption, kCopyRowsId, true, [this] { CopyRows(LstProc); }});
    // The chosen command runs inside, and may rescan: the row is not touched afterwards.
    ShowExMenu(sys_, fileName, screen.x, screen.y, *form_, entries);
}

platform::Colour TfrmMain::LstStartCustomDrawItem(int row) {
    // The flag is read in the findings that filled the list, whichever process row is selected.
    const std::shared_ptr<ProcInfo> owner = startupOwner_.lock();
    const std::shared_ptr<StartupRowIndex> index = IndexOf(LstStart, row);
    const std::optional<StartupKind> kind = StartupKindNamed(LstStart.RowCaption(row));
    if (!owner || !index || !kind || index->index < 0) return platform::kRed;
    const bool* disabled =
        HitDisabledFlag(*owner, StartupHit{*kind, static_cast<std::size_t>(index->index)});
    return disabled && *disabled ? platform::kGreen : platform::kRed;
}

std::string TfrmMain::LstStartInfoTip(int row) {
    const std::shared_ptr<ProcInfo> owner = startupOwner_.lock();
    const std::shared_ptr<StartupRowIndex> index = IndexOf(LstStart, row);
    const std::optional<StartupKind> kind = StartupKindNamed(LstStart.RowCaption(row));
    if (!owner || !index || !kind || index->index < 0) return {};
    const StartupHit hit{*kind, static_cast<std::size_t>(index->index)};
    const HitTrail* trail = TrailOf(*owner, hit);
    std::string tip = trail ? NotesText(HitNotes(*trail), kTipLineEnd) : std::string();
    auto addLine = [&tip](const std::string& line) {
        tip += (tip.empty() ? "" : kTipLineEnd) + line;
    };
    if (const std::string* module = HitModule(*owner, hit)) addLine("Found in module " + *module);
    const std::string other = procTips_.StartsOtherOf(owner.get(), FilledPosition(*owner, hit));
    if (!other.empty()) addLine(StartsOtherText(other));
    const StartupKindRow& kindRow = RowOf(*kind);
    if (kindRow.noShow) addLine(kindRow.noShow);
    if (kindRow.noDisable) addLine(kindRow.noDisable);
    return tip;
}

void TfrmMain::PopStartPopup() {
    const int row = LstStart.SelectedRow();
    const std::optional<StartupKind> kind =
        row >= 0 ? StartupKindNamed(LstStart.RowCaption(row)) : std::nullopt;
    // A kind without a sound Show or Disable has it greyed; the entry's tip says why.
    ShowStartup1.Enabled = row >= 0 && !(kind && RowOf(*kind).noShow);
    DisableStartup1.Enabled = row >= 0 && !(kind && RowOf(*kind).noDisable);
}

}  // namespace zorvik
