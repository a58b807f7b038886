#include "platform/win32/ui/controls/Win32FlatButton.h"

#include <windowsx.h>

#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

namespace {

constexpr const char* kFlatButtonClass = "ZorvikFlatButton";
constexpr int kGlyphSize = 16;

// The class draws nothing itself: the control's procedure in front of it does all.
ChildWindowSpec FlatButtonWindow() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = kFlatButtonClass;
        return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
    return ChildWindowSpec{kFlatButtonClass, 0, 0};
}

void FillPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline) {
    ::SetDCBrushColor(dc, fill);
    ::SetDCPenColor(dc, outline);
    ::Polygon(dc, points, count);
}

// A point of the picture's 96-dpi drawing, scaled about its corner.
struct GlyphGrid {
    int x;
    int y;
    int dpi;
    POINT operator()(int dx, int dy) const { return POINT{x + ToPixels(dx, dpi), y + ToPixels(dy, dpi)}; }
};

}  // namespace

void DrawOpenFolder(HDC dc, int x, int y, int dpi, bool enabled) {
    const COLORREF outline = enabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF back = enabled ? RGB(128, 128, 0) : ::GetSysColor(COLOR_BTNFACE);
    const COLORREF front = enabled ? RGB(255, 255, 0) : ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const int saved = ::SaveDC(dc);
    ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    ::SelectObject(dc, ::GetStockObject(DC_PEN));
    // The folder's back with its tab, then the front flap tipped open over it.
    const GlyphGrid at{x, y, dpi};
    const POINT backPanel[] = {at(1, 2), at(5, 2), at(6, 3), at(12, 3), at(12, 13), at(1, 13)};
    FillPolygon(dc, backPanel, 6, back, outline);
    const POINT frontFlap[] = {at(1, 13), at(4, 7), at(15, 7), at(12, 13)};
    FillPolygon(dc, frontFlap, 4, front, outline);
    ::RestoreDC(dc, saved);
}

Win32FlatButton::Win32FlatButton(Win32Window& form, const ButtonSpec& desc)
    : Win32PaintedControl(form, desc, FlatButtonWindow()), glyph_(desc.glyph) {
    // The font came while the window was still a plain one; this kind keeps it itself.
    font_ = form.Font();
}

bool Win32FlatButton::CursorInside(LPARAM lParam) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return ::PtInRect(&client, p) != FALSE;
}

void Win32FlatButton::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    const bool enabled = Enabled();
    if (enabled && pressed_) ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    else if (enabled && hot_) ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    if (glyph_ == ButtonGlyph::OpenFolder) {
        const int dpi = Form().Dpi();
        const int size = ToPixels(kGlyphSize, dpi);
        const int shift = pressed_ ? ToPixels(1, dpi) : 0;
        DrawOpenFolder(dc, (client.right - size) / 2 + shift, (client.bottom - size) / 2 + shift,
                       dpi, enabled);
    }
}

LRESULT Win32FlatButton::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, Handle(), 0};
                ::TrackMouseEvent(&leave);
                Repaint();
            }
            if (tracking_ && pressed_ != CursorInside(lParam)) {
                pressed_ = !pressed_;
                Repaint();
            }
            return 0;
        case WM_MOUSELEAVE:
            hot_ = false;
            Repaint();
            return 0;
        case WM_LBUTTONDOWN:
            // No SetFocus: the focus stays where it was.
            ::SetCapture(Handle());
            tracking_ = pressed_ = true;
            Repaint();
            return 0;
        case WM_LBUTTONUP: {
            if (!tracking_) return 0;
            const bool clicked = pressed_ && CursorInside(lParam);
            tracking_ = pressed_ = false;
            ::ReleaseCapture();
            Repaint();
            if (clicked) Form().Fire(OnClick);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (tracking_) {
                tracking_ = pressed_ = false;
                Repaint();
            }
            return 0;
        case BM_CLICK:
            if (Enabled()) Form().Fire(OnClick);
            return 0;
        case WM_ENABLE:
            Repaint();
            return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) Repaint();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        default:
            return Win32PaintedControl::ControlProc(message, wParam, lParam);
    }
}

}  // namespace platform::win32
