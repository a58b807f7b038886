#pragma once
// The font of every window and control: "MS Sans Serif" at 8 points, and its underlined form
// for labels that act as links. Shared by the windows, so it outlives any of them.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

constexpr const char* kUiFontFace = "MS Sans Serif";
constexpr int kUiFontPoints = 8;

class UiFont {
public:
    UiFont();
    HFONT Regular() const { return regular_.get(); }
    HFONT Underlined() const { return underlined_.get(); }

private:
    ScopedFont regular_;
    ScopedFont underlined_;
};

}  // namespace platform::win32
