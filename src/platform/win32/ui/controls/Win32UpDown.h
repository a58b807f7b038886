#pragma once
// A vertical pair of arrows with no buddy window. The position is kept here as well: the
// control clamps what it is given to its range, the interface keeps any 16-bit value.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32UpDown : public Win32Control<UpDown> {
public:
    Win32UpDown(Win32Window& form, const UpDownSpec& desc);

    int Min() const override { return min_; }
    int Max() const override { return max_; }
    int Position() const override { return position_; }
    void SetPosition(int position) override;

    bool OnNotify(NMHDR& header, LRESULT& result) override;

private:
    int min_;
    int max_;
    int position_ = 0;
};

}  // namespace platform::win32
