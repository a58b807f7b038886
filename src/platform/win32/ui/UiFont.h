#pragma once
// The font of every window and control: "MS Sans Serif" at 8 points, and its underlined form
// for labels that act as links, made for one resolution. Shared by the windows at that
// resolution, so it outlives any of them.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

constexpr const char* kUiFontFace = "MS Sans Serif";
constexpr int kUiFontPoints = 8;

class UiFont {
public:
    explicit UiFont(int dpi);
    int Dpi() const { return dpi_; }
    HFONT Regular() const { return regular_.get(); }
    HFONT Underlined() const { return underlined_.get(); }

private:
    int dpi_;
    ScopedFont regular_;
    ScopedFont underlined_;
};

}  // namespace platform::win32
