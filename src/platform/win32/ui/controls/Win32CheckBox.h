#pragma once
// A check box. The control toggles itself on a click (BS_AUTOCHECKBOX) and then reports it;
// a state set from code sends no click, so SetChecked runs OnClick itself.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32CheckBox : public Win32Control<CheckBox> {
public:
    Win32CheckBox(Win32Window& form, const ControlSpec& desc);
    bool Checked() const override;
    void SetChecked(bool checked) override;
    bool OnCommand(WORD code) override;

protected:
    void OnDpiChanged(int oldDpi) override;

private:
    // Wide enough for the box, the gap and the text in the window's font.
    void FitText();
};

}  // namespace platform::win32
