#pragma once
// A static text that can act as a link: its own font colour, underline, clicks and mouse moves.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32Label : public Win32Control<Label> {
public:
    Win32Label(Win32Window& form, const ControlSpec& desc);

    Colour FontColour() const override { return colour_; }
    void SetFontColour(Colour colour) override;
    bool Underline() const override { return underline_; }
    void SetUnderline(bool underline) override;
    int TextWidth() const override;

    bool OnCommand(WORD code) override;
    HBRUSH OnColour(HDC dc) override;

protected:
    void OnDpiChanged(int oldDpi) override;
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Colour colour_ = kBlack;
    bool underline_ = false;
};

}  // namespace platform::win32
