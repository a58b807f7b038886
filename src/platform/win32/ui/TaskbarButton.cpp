#include "platform/win32/ui/TaskbarButton.h"

namespace platform::win32 {

ITaskbarList* TaskbarButton::List() {
    if (!tried_) {
        // Made on first use: most runs never hide the button.
        tried_ = true;
        if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_ITaskbarList,
                                         reinterpret_cast<void**>(list_.Receive())))) {
            if (FAILED(list_->HrInit())) list_.Reset();
        }
    }
    return list_.get();
}

void TaskbarButton::Set(HWND window, bool shown) {
    if (!window) return;
    ITaskbarList* list = List();
    if (!list) return;
    if (shown) list->AddTab(window);
    else list->DeleteTab(window);
}

}  // namespace platform::win32
