#pragma once
// How the windows tell the user that something failed: a message box with the error icon over
// the main window, always under the same title.
#include <string>

#include "platform/Ui.h"

namespace zorvik {

// Waits until the user closes the box.
void ShowErrorBox(platform::Ui& ui, const std::string& text);

}  // namespace zorvik
