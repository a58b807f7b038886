#pragma once
// The program's start: its three windows, made in their order, and the message loop.
#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/System.h"

namespace zorvik {

class Zorvik {
public:
    // The main window first (its creation runs before the side windows exist), then the
    // Trusted Programs and the Options window.
    explicit Zorvik(platform::System& sys);
    Zorvik(const Zorvik&) = delete;
    Zorvik& operator=(const Zorvik&) = delete;

    // Shows the main window, whose first show loads the settings and scans, and handles
    // messages until the program ends.
    void Run();

    TfrmMain frmMain;
    TfrmTrust frmTrust;
    TfrmOp frmOp;

private:
    platform::System& sys_;
};

// Makes the windows and runs the loop; the process's exit code.
int RunZorvik(platform::System& sys);

}  // namespace zorvik
