// The main window's two lists as their user arranged them: sorted by the header clicked last,
// the columns as wide as dragged, both kept in Settings.ini.
#include "core/settings/SettingsFile.h"
#include "core/windows/main/ListColumnWidths.h"
#include "core/windows/main/untMain.h"

namespace zorvik {

void TfrmMain::HookListHeaders() {
    LstProc.OnColumnClick = [this](int column) { procSort_.Click(column); };
    LstStart.OnColumnClick = [this](int column) { startSort_.Click(column); };
}

void TfrmMain::LoadListLayout(const std::string& settingsFile) {
    RestoreColumnWidths(LstProc, ReadSettingsText(sys_, settingsFile, kProcessWidthsSetting, ""));
    RestoreColumnWidths(LstStart, ReadSettingsText(sys_, settingsFile, kStartupWidthsSetting, ""));
    procSort_.SetOrder(SortOrderOfSetting(
        ReadSettingsInt(sys_, settingsFile, kProcessSortSetting, 0), LstProc.ColumnCount()));
    startSort_.SetOrder(SortOrderOfSetting(
        ReadSettingsInt(sys_, settingsFile, kStartupSortSetting, 0), LstStart.ColumnCount()));
}

void TfrmMain::SaveListLayout(SettingsWriter& out) const {
    out.WriteInt(kProcessSortSetting, SortSettingOf(procSort_.Order()));
    out.WriteInt(kStartupSortSetting, SortSettingOf(startSort_.Order()));
    out.WriteText(kProcessWidthsSetting, ColumnWidthsText(LstProc));
    out.WriteText(kStartupWidthsSetting, ColumnWidthsText(LstStart));
}

}  // namespace zorvik
