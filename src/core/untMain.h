#pragma once
// The main window: the process list a scan fills, the start-up list of the program last
// clicked, the commands on both, and the buttons below them.
//
// The window is made before the Trusted Programs and Options windows exist; they are attached
// once made (AttachSideWindows), and nothing scans before that.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/PopupMenu.h"
#include "core/untExMenu.h"
#include "core/untRecord.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace zorvik {

class TfrmOp;
class TfrmTrust;

// The main window's default outer size.
constexpr int kMainWindowWidth = 729;
constexpr int kMainWindowHeight = 427;

// Ids of the process menu's own entries (the shell's entries use 1 to 1023).
constexpr std::uint32_t kTerminateProcessId = 1024;
constexpr std::uint32_t kAddToTrustedId = 1025;
constexpr std::uint32_t kOpenLocationId = 1026;

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

    // --- The lists -------------------------------------------------------------------------
    void LstProcMouseDown(platform::MouseButton button, int x, int y);
    platform::Colour LstStartCustomDrawItem(int row);
    void PopStartPopup();
    void ShowStartup1Click();
    void DisableStartup1Click();

    // --- The process menu's commands, on the selected process row ---------------------------
    void TerminateProcess();
    void AddtoTrustedProgramList();
    void OpenLocation();

    // --- Buttons ---------------------------------------------------------------------------
    void BtnHelpClick();
    void BtnOpClick();
    void BtnTrustClick();

private:
    platform::System& sys_;
    std::unique_ptr<platform::Window> form_;
    TfrmTrust* frmTrust_ = nullptr;
    TfrmOp* frmOp_ = nullptr;
    // The findings of the process row that filled the start-up list; expires with that row.
    std::weak_ptr<ProcInfo> startupOwner_;

    int ProcessRowOf(const ProcInfo* findings) const;
    void ClearStartupList();
    void FillStartupList(const std::shared_ptr<ProcInfo>& findings);
    // Each gives true when the entry was disabled, so that the hit's flag may be set.
    bool DisableRegistryValue(const std::string& rootName, const std::string& key,
                              const std::string& name);
    bool DisableProfileEntry(const std::string& file, const std::string& section,
                             const std::string& ident);
    bool DisableFolderEntry(const std::string& folder, const std::string& programFileName);
    bool DisableFileLines(const std::string& file, const std::string& programFileName);

public:
    // The system's TCP-table function; null when it has none.
    std::unique_ptr<platform::TcpTable> TcpTableEntry;
    // Terminate Process, Add to Trusted Program List, Open Location.
    std::vector<ExMenuItem> ProcMenu;

    // The controls, in tab order where they take the focus.
    platform::Label& Label1;
    platform::Button& BtnScan;
    platform::ListView& LstProc;
    platform::Label& LblStart;
    platform::ListView& LstStart;
    platform::Button& BtnHelp;
    platform::Button& BtnTrust;
    platform::Button& BtnOp;
    platform::Bevel& Bev;
    platform::Label& LblNotice;
    platform::Timer& TmrScan;

    // The start-up list's menu.
    PopupMenu PopStart;
    PopupMenuItem& ShowStartup1;
    PopupMenuItem& DisableStartup1;
};

}  // namespace zorvik
