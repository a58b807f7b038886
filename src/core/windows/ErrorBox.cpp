#include "core/windows/ErrorBox.h"

namespace zorvik {

void ShowErrorBox(platform::Ui& ui, const std::string& text) {
    ui.ShowMessageBox(nullptr, text, "ERROR", platform::MessageIcon::Error);
}

}  // namespace zorvik
