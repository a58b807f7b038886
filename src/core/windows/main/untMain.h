#pragma once
// The main window: the process list a scan fills, the start-up list of the program last
// clicked, the commands on both, the buttons below them, the settings file and the window's
// life in the notification area.
//
// The window is made before the Trusted Programs and Options windows exist; they are attached
// once made (AttachSideWindows), and nothing scans before that.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/windows/PopupMenu.h"
#include "core/windows/main/ProcessFilter.h"
#include "core/windows/main/ListSort.h"
#include "core/windows/main/ProcessTip.h"
#include "core/windows/untExMenu.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/startup/StartupKind.h"
#include "core/engine/untRecord.h"
#include "core/engine/verdict/VerdictCache.h"
#include "core/engine/watch/EntryNews.h"
#include "core/engine/watch/StartupPicture.h"
#include "platform/PlaceWatch.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace zorvik {

class SettingsWriter;
class TfrmOp;
class TfrmTrust;

// The main window's default outer size.
constexpr int kMainWindowWidth = 729;
constexpr int kMainWindowHeight = 427;

// What the place watch posts to the window when a start-up place changed (WM_APP + 1).
constexpr std::uint32_t kPlacesChangedMessage = 0x8001;

// Ids of the process menu's own entries (the shell's entries use 1 to 1023).
constexpr std::uint32_t kTerminateProcessId = 1024;
constexpr std::uint32_t kAddToTrustedId = 1025;
constexpr std::uint32_t kOpenLocationId = 1026;
// The entry after them that copies the selected rows.
constexpr std::uint32_t kCopyRowsId = 1027;
inline constexpr const char* kCopyCaption = "Copy";

// The button that saves the last scan's report, the save dialog's title and its filters, in
// the order of kSavedReportFormats.
inline constexpr const char* kSaveReportCaption = "&Save Report...";
inline constexpr const char* kSaveReportTitle = "Save Report";
inline const std::vector<platform::FileFilter> kSaveReportFilters = {
    {"Text report (*.txt)", "*.txt"}, {"CSV (*.csv)", "*.csv"}, {"JSON (*.json)", "*.json"}};
// What the user is told when the chosen file cannot be written; the path follows.
inline constexpr const char* kReportNotSavedMessage =
    "The report could not be written (is the folder there, the file read-only or open "
    "elsewhere?):\r\n";

// The item data of a start-up row: which hit of its kind it shows.
struct StartupRowIndex {
    std::int32_t index = 0;
};

class TfrmMain {
public:
    // Makes the window, hidden, and runs FormCreate.
    explicit TfrmMain(platform::System& sys);
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;
    ~TfrmMain();

    platform::Window& Form() { return *form_; }
    void AttachSideWindows(TfrmTrust& trust, TfrmOp& op);

    // --- Creation and layout ---------------------------------------------------------------
    // Starts the sockets library, finds the TCP-table function and fills the process menu.
    void FormCreate();
    void FormResize();
    void LoadTcpTableEntry();
    // Gives the TCP-table function and its library back; the shutdown does this.
    void FreeTcpTableEntry();
    bool HasTcpTableEntry() const { return TcpTableEntry != nullptr; }

    // --- The scan --------------------------------------------------------------------------
    // Empties both lists, then scans.
    void BtnScanClick();
    // Appends one scan's rows to the process list (the first scan runs on empty lists).
    void ScanCycle();

    // --- Watching the start-up places ---------------------------------------------------------
    // With "Watch Start up places" checked, watches the places the rules name now (each scan
    // arms it anew, as the rules may have changed); unchecked, or after the shutdown, watches
    // nothing.
    void ArmPlaceWatch();
    bool Watching() const { return placeWatch_ != nullptr; }
    // The watch told of changes: the places they name read again, then, when entries were
    // added, changed or removed there, a balloon naming each entry added or changed and the
    // process list scanned again over the places as read (none of them is read twice), the
    // selected program kept selected.
    void PlacesChanged();
    // What the last scan or answer of the watch found added, changed or removed since.
    const std::vector<EntryNews>& LastEntryNews() const { return lastNews_; }
    // How many rules of Scan.ini the last scan or answer of the watch read.
    std::size_t RulesReadLast() const { return picture_.RulesReadLast(); }

    // --- The lists -------------------------------------------------------------------------
    void LstProcMouseDown(platform::MouseButton button, int x, int y);
    // The tip of a process row: its sockets, publisher and signature verdict, and the scan's
    // verdict on the program with its reasons.
    std::string LstProcInfoTip(int row);
    platform::Colour LstStartCustomDrawItem(int row);
    // The tip of a start-up row, one line each: the notes of a hit found beyond its entry (the
    // script, the program run instead), the module it was found through, the other file its
    // entry really starts, and why Show or Disable is greyed for its kind.
    std::string LstStartInfoTip(int row);
    // A program with a start-up entry added or changed that the user has not looked at yet
    // (by clicking its row) is drawn red, as an active start-up entry is; one judged suspicious
    // purple, as other tools colour what they cannot vouch for; the others black.
    platform::Colour LstProcCustomDrawItem(int row);
    void PopStartPopup();
    void ShowStartup1Click();
    void DisableStartup1Click();

    // --- Filtering and copying ---------------------------------------------------------------
    // Shows the rows of the last scan that hold the filter box's text (all when it is empty),
    // in the scan's order, the selected program kept selected where it is still shown; the
    // start-up list is emptied when the program it shows is no longer shown.
    void EdtFilterChange();
    void ClearFilter();
    // How many rows the last scan listed, shown or not.
    std::size_t ListedCount() const { return listed_.size(); }
    // The list's selected rows with a header line, as tab-separated text on the clipboard;
    // nothing when none is selected.
    void CopyRows(platform::ListView& list);
    void SelectAllRows(platform::ListView& list);
    // Ctrl+F to the filter box, Esc in it clears it; Ctrl+C and Ctrl+A in either list copy and
    // select its rows. False for every other key, which goes on to the focused control.
    bool FilterAndCopyKeyDown(const platform::KeyStroke& stroke);

    // --- The report ------------------------------------------------------------------------
    // Every row the last scan listed, shown by the filter or not, written as zorvikc scan
    // writes it in the form of the filter chosen in the save dialog; cancelled, nothing is
    // written; a refused write is told.
    void BtnSaveReportClick();
    // Ctrl+S saves the report; false for every other key.
    bool ReportKeyDown(const platform::KeyStroke& stroke);

    // --- The keyboard ------------------------------------------------------------------------
    // Every key pressed in the window, before its focused control: the filter's and copy's keys,
    // the report's, then the window's own. True when the key was taken.
    bool KeyDown(const platform::KeyStroke& stroke);
    // F5 rescans as the Rescan button does; Enter in the process list shows the selected
    // program's start-ups as a left click does; the context menu key and Shift+F10 open the
    // focused list's menu at its selected row (the start-up list's with none selected at the
    // list's corner, as a right click on its empty space opens it; the process menu needs a
    // row). False for every other key.
    bool CommandKeyDown(const platform::KeyStroke& stroke);

    // --- The process menu's commands, on the selected process row ---------------------------
    void TerminateProcess();
    void AddtoTrustedProgramList();
    void OpenLocation();

    // --- Buttons ---------------------------------------------------------------------------
    void BtnHelpClick();
    void BtnOpClick();
    void BtnTrustClick();

    // --- Settings.ini ----------------------------------------------------------------------
    // At creation: maximised, or the saved outer size.
    void LoadWindowSize();
    // At the first show only: the trusted list, the options, the Trusted Programs window's size,
    // then the first scan.
    void LoadSettings();
    // At shutdown, once the settings were loaded (before that the controls hold only their
    // defaults); once a write is refused the rest is skipped and the user is told.
    void SaveSettings();
    // Whether the close-to-tray notice is still wanted.
    bool ReadCloseTip();
    // The user clicked the close notice: it is not shown again.
    void WriteCloseTipOff();

    // --- Tray icon and life cycle ----------------------------------------------------------
    void FormShow();
    void FormClose(platform::CloseRequest& request);
    void FormMouseMove(int x, int y);
    void LblNoticeClick();
    void LblNoticeMouseMove(int x, int y);
    // What the tray icon reports.
    void TrayIconEvent(platform::TrayEvent event);
    // Every message to the window passes here before the window's own handling.
    void WindowMessage(std::uint32_t message, std::uintptr_t wParam);
    // A double click on the icon: back from the tray when there, else into it.
    void TrayIconDoubleClick();
    void PopTrayAtCursor();
    void AddTrayIcon();
    void ShowTrayBalloon(const std::string& Title, const std::string& Text);
    void HideToTray();
    // Saves the settings and gives back the sockets library, the TCP-table function and the
    // tray icon. The releases happen once; after them nothing scans again.
    void SaveSettingsAndShutDown();
    bool IsShutDown() const { return shutDown_; }
    void TmrScanTimer();
    void Rescan1Click();
    void Show1Click();
    void Exit1Click();

private:
    platform::System& sys_;
    std::unique_ptr<platform::Window> form_;
    // WindowMessage's hold on the window's messages.
    platform::ListenerToken windowMessages_;
    // Dies before the window it belongs to.
    std::unique_ptr<platform::TrayIcon> trayIcon_;
    TfrmTrust* frmTrust_ = nullptr;
    TfrmOp* frmOp_ = nullptr;
    // The findings of the process row that filled the start-up list; expires with that row.
    std::weak_ptr<ProcInfo> startupOwner_;

    int ProcessRowOf(const ProcInfo* findings) const;
    // Empties both lists and forgets the scan's rows with their evidence.
    void ClearProcessRows();
    // Fills the process list with the scan's rows that the filter keeps.
    void ShowListedRows();
    // The filter box and the count of rows shown in their places, once the lists have theirs.
    void LayOutFilter();
    // After a scan or an answer: what changed among the entries, and which entries are new to
    // the user.
    void NoteNews(std::vector<EntryNews> news);
    // Creates the watch, or ends it, as the option and the shutdown say; arms nothing.
    void KeepPlaceWatch();
    // Fills the process list from the places as last read.
    void ListScan();
    // The user has seen the program's entries.
    void MarkSeen(const ProcInfo& findings);
    bool HasUnseenEntry(const ProcInfo& findings) const;
    void RescanKeepingSelection();
    // The program changed an entry itself: that is no news for the next scan.
    void ForgetOwnChange();
    void ClearStartupList();
    void FillStartupList(const std::shared_ptr<ProcInfo>& findings);
    // What a left click on a process row does: the start-up list shows the row's hits.
    void ShowStartupsOfRow(int row);
    // The process menu for the row, at a point on the screen.
    void ShowProcessMenu(int row, platform::Point screen);
    // The hit the selected start-up row shows, in the findings that filled the list; none when
    // no row is selected or those findings are gone or do not hold it.
    std::optional<StartupHit> SelectedStartupHit(std::shared_ptr<ProcInfo>& owner) const;
    // The steps of creation after the process menu: the tray icon, the messages, the size.
    void CreateTrayAndLoadSize();
    PopupMenuItem& AddTrayItemAfterSeparator(const char* name, const char* caption,
                                             void (TfrmMain::*handler)());
    bool shutDown_ = false;
    // The lists' sort orders and column widths kept in Settings.ini; the click on a header.
    void HookListHeaders();
    void LoadListLayout(const std::string& settingsFile);
    void SaveListLayout(SettingsWriter& out) const;
    // When the window goes: removes the icon if the shutdown has not, and takes the window's
    // handler off the application's minimise notification.
    struct LifeCycleGuard {
        TfrmMain& form;
        ~LifeCycleGuard();
    };

public:
    // The system's TCP-table function; null when it has none.
    std::unique_ptr<platform::TcpTable> TcpTableEntry;
    // Terminate Process, Add to Trusted Program List, Open Location.
    std::vector<ExMenuItem> ProcMenu;
    // What each scan adds to its rows before they are shown (AddEvidence: Task Manager's
    // verdicts, the file's facts, the verdict). Tests put rows of known verdicts in its place.
    std::function<void(ProcessList& rows)> AddRowEvidence;

    // The controls, in tab order where they take the focus: from the top down, the buttons
    // from left to right.
    platform::Label& Label1;
    platform::Label& LblFilter;
    platform::Edit& EdtFilter;
    platform::ListView& LstProc;
    platform::Label& LblStart;
    // How many programs the process list shows of all the scan listed.
    platform::Label& LblShown;
    platform::ListView& LstStart;
    platform::Button& BtnSaveReport;
    platform::Button& BtnHelp;
    platform::Button& BtnOp;
    platform::Button& BtnTrust;
    platform::Button& BtnScan;
    platform::Bevel& Bev;
    platform::Label& LblNotice;
    platform::Timer& TmrScan;

    // The start-up list's menu.
    PopupMenu PopStart;
    PopupMenuItem& ShowStartup1;
    PopupMenuItem& DisableStartup1;

    bool SettingsLoaded = false;
    // The balloon on show is the close-to-tray notice.
    bool CloseNoticeShown = false;

    // The tray icon's menu.
    PopupMenu PopTray;
    PopupMenuItem& Rescan1 = PopTray.Add("Rescan1", "Rescan", [this] { Rescan1Click(); });
    PopupMenuItem& Show1 =
        AddTrayItemAfterSeparator("Show1", "Show\\Hide", &TfrmMain::Show1Click);
    PopupMenuItem& Exit1 = AddTrayItemAfterSeparator("Exit1", "Exit", &TfrmMain::Exit1Click);

private:
    // The rows of the last scan, in its order; the process list shows those the filter keeps,
    // and each row's findings live as long as it is kept here.
    std::vector<ListedRow> listed_;
    // The evidence behind the process rows' tips.
    ProcessTips procTips_;
    // The same rows as the report gets them, with their findings and evidence.
    ProcessList reported_;
    // The watch of the start-up places; null while nothing is watched. Ends before the window.
    std::unique_ptr<platform::PlaceWatch> placeWatch_;
    // Every start-up place as last read, rule by rule.
    StartupPicture picture_;
    std::vector<EntryNews> lastNews_;
    // The stable keys of entries added or changed that the user has not looked at yet.
    std::set<std::string> unseenEntries_;
    // What the last scans read of the listed files: the timer's and the watch's scans read an
    // unchanged file no more.
    VerdictCache verdictCache_;
    // The order each list's user chose by its headers; the scan's own until then.
    // Program Path, PID, Details, Verdict, Publisher.
    ListSorter procSort_{LstProc, {SortKey::Text, SortKey::Text, SortKey::Text, SortKey::Verdict,
                                   SortKey::Text}};
    ListSorter startSort_{LstStart};
    LifeCycleGuard lifeCycleGuard_{*this};
};

}  // namespace zorvik
