// The main window's report of its last scan, saved where the user chooses.
#include <cstddef>
#include <optional>

#include "core/report/ReportFile.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/main/untMain.h"

namespace zorvik {

namespace {

// The forms of the report, in the order of kSaveReportFilters.
constexpr ReportFormat kSavedReportFormats[] = {ReportFormat::Text, ReportFormat::Csv,
                                                ReportFormat::Json};

}  // namespace

void TfrmMain::BtnSaveReportClick() {
    platform::SaveFileRequest request;
    request.owner = form_.get();
    request.filters = kSaveReportFilters;
    request.title = kSaveReportTitle;
    const std::optional<platform::SaveFileChoice> choice = sys_.ui().ChooseSaveFile(request);
    if (!choice) return;
    const std::size_t last = std::size(kSavedReportFormats) - 1;
    const ReportFormat format = kSavedReportFormats[choice->filter < last ? choice->filter : last];
    if (!sys_.files().WriteAll(choice->path, ReportFileBytes(reported_, format)).ok)
        ShowErrorBox(sys_.ui(), kReportNotSavedMessage + choice->path);
}

bool TfrmMain::ReportKeyDown(const platform::KeyStroke& stroke) {
    if (!platform::IsKey(stroke, platform::kKeyS, true)) return false;
    BtnSaveReportClick();
    return true;
}

}  // namespace zorvik
