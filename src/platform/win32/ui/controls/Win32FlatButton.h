#pragma once
// A flat tool button: no frame until the mouse is over it, sunk while pressed, never takes the
// focus, and shows its picture. Its own small window class: a push button would take the focus
// on every click.
#include "platform/win32/ui/controls/Win32PaintedControl.h"

namespace platform::win32 {

class Win32FlatButton : public Win32PaintedControl<Button> {
public:
    Win32FlatButton(Win32Window& form, const ButtonSpec& desc);

    ButtonGlyph Glyph() const { return glyph_; }

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    void Repaint() { ::InvalidateRect(Handle(), nullptr, FALSE); }
    bool CursorInside(LPARAM lParam) const;

    ButtonGlyph glyph_;
    HFONT font_ = nullptr;   // kept for WM_GETFONT, as every control keeps the window's font
    bool hot_ = false;       // the mouse is over the button
    bool tracking_ = false;  // the left button went down here and has not come up
    bool pressed_ = false;   // tracking, with the mouse inside
};

// The open-folder picture with its top-left corner at (x, y): 16 by 16 at 96 dpi, larger
// in proportion at `dpi`.
void DrawOpenFolder(HDC dc, int x, int y, int dpi, bool enabled);

}  // namespace platform::win32
