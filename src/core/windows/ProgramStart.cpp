#include "core/windows/ProgramStart.h"

#include <exception>

namespace zorvik {

Zorvik::Zorvik(platform::System& sys) : frmMain(sys), frmTrust(sys), frmOp(sys), sys_(sys) {
    frmMain.AttachSideWindows(frmTrust, frmOp);
}

void Zorvik::Run() { sys_.ui().Run(); }

int RunZorvik(platform::System& sys) {
    try {
        Zorvik program(sys);
        program.Run();
        return 0;
    } catch (const std::exception& e) {
        // Only a window that cannot be made gets here; the handlers report their own errors.
        sys.ui().ShowMessageBox(nullptr, e.what(), sys.ui().ApplicationTitle(),
                                platform::MessageIcon::Error);
        return 1;
    }
}

}  // namespace zorvik
