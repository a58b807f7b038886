#pragma once
// A list box: single selection, unsorted, fixed item height.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32ListBox : public Win32Control<ListBox> {
public:
    Win32ListBox(Win32Window& form, const ListBoxSpec& desc);

    int Count() const override;
    std::string Item(int index) const override;
    void AddItem(const std::string& text) override;
    void DeleteItem(int index) override;
    void Clear() override;
    int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    int ItemHeight() const override;

protected:
    void OnDpiChanged(int oldDpi) override;

private:
    bool InRange(int index) const { return index >= 0 && index < Count(); }

    int itemHeight_;  // the layout's
};

}  // namespace platform::win32
