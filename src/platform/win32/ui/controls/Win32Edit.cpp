#include "platform/win32/ui/controls/Win32Edit.h"

#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

Win32Edit::Win32Edit(Win32Window& form, const ControlSpec& desc)
    : Win32Control(form, desc,
                   ChildWindowSpec{"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
                                   WS_EX_CLIENTEDGE}) {}

bool Win32Edit::OnCommand(WORD code) {
    if (code != EN_CHANGE) return false;
    Form().Fire(OnChange);
    return true;
}

LRESULT Win32Edit::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CHAR || !OnKeyPress) return CallOriginal(message, wParam, lParam);
    char key = static_cast<char>(wParam);
    bool filtered = false;
    auto handler = OnKeyPress;
    if (Win32Ui* ui = Form().Services()) {
        ui->RunHandler([&] {
            handler(key);
            filtered = true;
        });
    }
    // A filter that failed, or one that cleared the character, drops it.
    if (!filtered || key == 0) return 0;
    return CallOriginal(message, static_cast<WPARAM>(static_cast<unsigned char>(key)), lParam);
}

}  // namespace platform::win32
