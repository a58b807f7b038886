// The main window: its controls, creation, layout and buttons.
#include "core/windows/main/untMain.h"

#include <algorithm>
#include <stdexcept>

#include "core/base/BesideProgram.h"
#include "core/base/FixedTexts.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/windows/FormParts.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/Shell.h"

namespace zorvik {

namespace {

using platform::ControlSpec;
using platform::Rect;

std::unique_ptr<platform::Window> MakeForm(platform::System& sys) {
    platform::WindowSpec desc =
        CentredWindowSpec("frmMain", "Pellmoor", platform::WindowFrame::Sizeable, false);
    desc.outerWidth = kMainWindowWidth;
    desc.outerHeight = kMainWindowHeight;
    desc.mainWindow = true;
    return sys.ui().NewWindow(desc);
}

platform::ListView& MakeList(platform::Window& form, const char* name, Rect bounds,
                             std::vector<platform::ListColumn> columns, bool infoTips = false) {
    platform::ListViewSpec desc;
    static_cast<ControlSpec&>(desc) = ControlAt(name, bounds);
    desc.columns = std::move(columns);
    desc.infoTips = infoTips;
    // Several rows can be selected to be copied; every other command acts on one.
    desc.multiSelect = true;
    return form.AddListView(desc);
}

// The sentence above the process list, and the filter box on its line at the right.
constexpr int kSentenceWidth = 354;
constexpr int kFilterBoxWidth = 180;
constexpr int kFilterBoxNarrowest = 80;
constexpr int kFilterLabelWidth = 30;
constexpr int kShownLabelWidth = 150;
constexpr int kGap = 8;
// Wider than the other buttons, for its longer caption; as far from Help as they are apart.
constexpr int kSaveReportWidth = 85;
constexpr int kButtonGap = 5;

// Not constexpr: ListColumn holds a std::string, which is no literal type for every compiler.
const int kDefaultColumnWidth = platform::ListColumn{}.width;
// As wide as "suspicious" and "unverified" with the column's margins.
constexpr int kVerdictColumnWidth = 70;
// A company or signer name of usual length.
constexpr int kPublisherColumnWidth = 150;

}  // namespace

TfrmMain::TfrmMain(platform::System& sys)
    : sys_(sys),
      form_(MakeForm(sys)),
      Label1(form_->AddLabel(ControlAt(
          "Label1", {8, 8, kSentenceWidth, 13},
          "These programs are Active, Start with Windows and or have open sockets."))),
      LblFilter(form_->AddLabel(ControlAt("LblFilter", {0, 7, kFilterLabelWidth, 13}, "Filter:"))),
      EdtFilter(form_->AddEdit(ControlAt("EdtFilter", {0, 2, kFilterBoxWidth, 21}))),
      LstProc(MakeList(*form_, "LstProc", {8, 24, 705, 150},
                       {{"Program Path", 280},
                        {"PID", kDefaultColumnWidth},
                        {"Details", 370},
                        {"Verdict", kVerdictColumnWidth},
                        {"Publisher", kPublisherColumnWidth}},
                       true)),
      LblStart(form_->AddLabel(ControlAt("LblStart", {8, 176, 47, 13}, "Start up\\s"))),
      LblShown(form_->AddLabel(ControlAt("LblShown", {0, 176, kShownLabelWidth, 13}))),
      LstStart(MakeList(*form_, "LstStart", {8, 192, 705, 150},
                        {{"Type", kDefaultColumnWidth},
                         {"Data 1", 216},
                         {"Data 2", 216},
                         {"Data 3", 216}},
                        true)),
      BtnSaveReport(MakeButton(*form_, "BtnSaveReport",
                               {400 - kButtonGap - kSaveReportWidth, 360, kSaveReportWidth, 25},
                               kSaveReportCaption)),
      BtnHelp(MakeButton(*form_, "BtnHelp", {400, 360, 75, 25}, "&Help")),
      BtnOp(MakeButton(*form_, "BtnOp", {480, 360, 75, 25}, "&Options")),
      BtnTrust(MakeButton(*form_, "BtnTrust", {560, 360, 75, 25}, "&Trusted List")),
      BtnScan(MakeButton(*form_, "BtnScan", {640, 360, 75, 25}, "&Rescan")),
      Bev(form_->AddBevel(ControlAt("Bev", {8, 352, 705, 2}))),
      LblNotice(form_->AddLabel(
          ControlAt("LblNotice", {8, 376, 189, 13}, "Pellmoor (Zorvik) bot finder v1.1.0"))),
      TmrScan(form_->AddTimer("TmrScan")),
      ShowStartup1(PopStart.Add("ShowStartup1", "Show Start up", [this] { ShowStartup1Click(); })),
      DisableStartup1(
          PopStart.Add("DisableStartup1", "Disable Start up", [this] { DisableStartup1Click(); })) {
    TmrScan.SetEnabled(false);
    AddRowEvidence = [this](ProcessList& rows) { AddEvidence(sys_, rows, &verdictCache_); };
    form_->OnResize = [this] { FormResize(); };
    BtnScan.OnClick = [this] { BtnScanClick(); };
    EdtFilter.OnChange = [this] { EdtFilterChange(); };
    form_->OnKeyDown = [this](const platform::KeyStroke& stroke) { return KeyDown(stroke); };
    LblShown.SetText(ShownOfAllText(0, 0));
    LayOutFilter();
    BtnHelp.OnClick = [this] { BtnHelpClick(); };
    BtnOp.OnClick = [this] { BtnOpClick(); };
    BtnTrust.OnClick = [this] { BtnTrustClick(); };
    BtnSaveReport.OnClick = [this] { BtnSaveReportClick(); };
    LstProc.OnMouseDown = [this](platform::MouseButton button, int x, int y) {
        LstProcMouseDown(button, x, y);
    };
    LstProc.OnGetInfoTip = [this](int row) { return LstProcInfoTip(row); };
    LstStart.OnCustomDrawItem = [this](int row) { return LstStartCustomDrawItem(row); };
    LstStart.OnGetInfoTip = [this](int row) { return LstStartInfoTip(row); };
    LstProc.OnCustomDrawItem = [this](int row) { return LstProcCustomDrawItem(row); };
    PopStart.OnPopup = [this] { PopStartPopup(); };
    HookListHeaders();
    LstStart.OnContextMenu = [this](platform::Point screen) {
        PopStart.Popup(sys_.ui(), *form_, screen);
    };
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::AttachSideWindows(TfrmTrust& trust, TfrmOp& op) {
    frmTrust_ = &trust;
    frmOp_ = &op;
    // Switched off: no watch from now on. Switched on: the watch starts with the next scan,
    // or at once once a scan has run.
    op.OnWatchChoice = [this] {
        if (!frmOp_->ChkWatch.Checked() || !picture_.Empty()) ArmPlaceWatch();
    };
    // Listed again over the places as last read; before the first scan there is nothing to
    // list again (the load sets the box before it).
    op.OnHideChoice = [this] {
        if (!picture_.Empty()) RescanKeepingSelection();
    };
}

void TfrmMain::FormCreate() {
    sys_.sockets().Startup();
    LoadTcpTableEntry();
    ProcMenu = {
        ExMenuItem{"Terminate Process", kTerminateProcessId, true, [this] { TerminateProcess(); }},
        ExMenuItem{"Add to Trusted Program List", kAddToTrustedId, true,
                   [this] { AddtoTrustedProgramList(); }},
        ExMenuItem{"Open Location", kOpenLocationId, true, [this] { OpenLocation(); }},
    };
    CreateTrayAndLoadSize();
}

void TfrmMain::LoadTcpTableEntry() { TcpTableEntry = zorvik::LoadTcpTableEntry(sys_); }

void TfrmMain::FreeTcpTableEntry() { TcpTableEntry.reset(); }

void TfrmMain::FormResize() {
    const int width = form_->OuterWidth();
    const int height = form_->OuterHeight();
    const int listWidth = width - 24;

    Bev.SetTop(height - 76);
    Bev.SetWidth(listWidth);
    const int listHeight = Bev.Top() / 2 - 24;
    LstProc.SetHeight(listHeight);
    LstProc.SetWidth(listWidth);
    LblStart.SetTop(LstProc.Height() + 26);
    LstStart.SetTop(LblStart.Top() + 16);
    LstStart.SetHeight(listHeight);
    LstStart.SetWidth(listWidth);

    const int buttonTop = height - 67;
    BtnHelp.SetBounds({width - 330, buttonTop, BtnHelp.Width(), BtnHelp.Height()});
    BtnSaveReport.SetBounds({BtnHelp.Left() - kButtonGap - BtnSaveReport.Width(), buttonTop,
                             BtnSaveReport.Width(), BtnSaveReport.Height()});
    BtnOp.SetBounds({width - 250, buttonTop, BtnOp.Width(), BtnOp.Height()});
    BtnTrust.SetBounds({width - 170, buttonTop, BtnTrust.Width(), BtnTrust.Height()});
    BtnScan.SetBounds({width - 90, buttonTop, BtnScan.Width(), BtnScan.Height()});
    LblNotice.SetTop(height - 54);
    LayOutFilter();
}

void TfrmMain::LayOutFilter() {
    // A system font wider than the layout's takes more than the layout's width.
    const int sentenceWidth = std::max(kSentenceWidth, Label1.TextWidth());
    const int right = LstProc.Left() + LstProc.Width();
    // The box narrows before it would cover the sentence, and the sentence is cut only where
    // the box at its narrowest would.
    const int room = right - (Label1.Left() + sentenceWidth + kGap) - kFilterLabelWidth - 4;
    const int boxWidth = std::clamp(room, kFilterBoxNarrowest, kFilterBoxWidth);
    EdtFilter.SetLeft(right - boxWidth);
    EdtFilter.SetWidth(boxWidth);
    LblFilter.SetLeft(EdtFilter.Left() - 4 - kFilterLabelWidth);
    Label1.SetWidth(std::max(0, std::min(sentenceWidth, LblFilter.Left() - kGap - Label1.Left())));
    // The count gives way to the caption of the start-up list in a narrow window.
    const int shownLeft =
        std::max(right - kShownLabelWidth, LblStart.Left() + LblStart.Width() + kGap);
    LblShown.SetBounds({shownLeft, LblStart.Top(), std::max(0, right - shownLeft), 13});
}

void TfrmMain::BtnHelpClick() {
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    request.file = FileBesideProgram(sys_, kHelpFileName);
    sys_.shell().Execute(request);
}

void TfrmMain::BtnOpClick() {
    if (frmOp_) frmOp_->Show();
}

void TfrmMain::BtnTrustClick() {
    if (frmTrust_) frmTrust_->Show();
}

}  // namespace zorvik
