#include "platform/win32/ui/controls/Win32UpDown.h"

#include <commctrl.h>

#include <cstdint>

#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

Win32UpDown::Win32UpDown(Win32Window& form, const UpDownSpec& desc)
    : Win32Control(form, desc,
                   ChildWindowSpec{UPDOWN_CLASSA,
                                   static_cast<DWORD>(UDS_ARROWKEYS | WS_TABSTOP |
                                                      (desc.wrap ? UDS_WRAP : 0)),
                                   0}),
      min_(desc.min),
      max_(desc.max) {
    ::SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    // One step per click, also when an arrow is held down.
    UDACCEL step{0, 1};
    ::SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    SetPosition(desc.position);
    // The control makes itself its default width when created; the layout's width wins.
    MoveChild(desc.bounds);
}

void Win32UpDown::SetPosition(int position) {
    position_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(position & 0xFFFF));
    ::SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

bool Win32UpDown::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != UDN_DELTAPOS) return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    // The step is judged from the kept position, which may lie outside the control's range.
    const int step = change.iDelta > 0 ? 1 : change.iDelta < 0 ? -1 : 0;
    const int target = position_ + step;
    const bool moves = step != 0 && target >= min_ && target <= max_;
    const UpDownDirection direction =
        !moves ? UpDownDirection::None
               : (step > 0 ? UpDownDirection::Up : UpDownDirection::Down);
    bool allow = true;
    if (OnChangingEx) {
        auto handler = OnChangingEx;
        if (Win32Ui* ui = Form().Services()) ui->RunHandler([&] { allow = handler(direction); });
    }
    if (allow && moves) SetPosition(target);
    // The control never moves by itself: the position was set above when the step is allowed.
    result = TRUE;
    return true;
}

}  // namespace platform::win32
