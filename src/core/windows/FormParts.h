#pragma once
// The pieces the program's windows are built from: the window's own description and controls
// placed by name, bounds and text. Each window adds only what sets it apart.
#include "platform/Widgets.h"

namespace zorvik {

// A window centred on the screen, hidden until shown; sizes are left to the caller.
platform::WindowSpec CentredWindowSpec(const char* name, const char* caption,
                                       platform::WindowFrame frame, bool alwaysOnTop);

platform::ControlSpec ControlAt(const char* name, platform::Rect bounds, const char* text = "",
                                platform::GroupBox* parent = nullptr);

platform::Button& MakeButton(platform::Window& form, const char* name, platform::Rect bounds,
                             const char* text);

}  // namespace zorvik
