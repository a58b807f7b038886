#pragma once
// The Options window: six choices, each control being the live setting itself. There is no
// OK or Cancel; other parts read the controls at the moment they need them.
#include <functional>
#include <memory>

#include "core/engine/ScanOptions.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace zorvik {

class TfrmOp : public ScanOptions {
public:
    // Creates the window hidden, its controls in their starting states.
    explicit TfrmOp(platform::System& sys);
    TfrmOp(const TfrmOp&) = delete;
    TfrmOp& operator=(const TfrmOp&) = delete;

    platform::Window& Form() { return *form_; }
    // Shown without waiting; closing it only hides it.
    void Show() { form_->Show(); }

    // "Ignore Safe Start ups", as the start-up search reads it.
    bool IgnoreSafe() const override { return ChkIgnoreSafe.Checked(); }

    void ChkAutoScanClick();
    void EdtIntKeyPress(char& key);
    bool UpIntChangingEx(platform::UpDownDirection direction);
    void ChkStartWinClick();
    void ChkWatchClick();
    void ChkHideVerifiedClick();

    // "Watch Start up places" was switched; the main window starts or ends its watch.
    std::function<void()> OnWatchChoice;
    // "Hide Windows' own and verified programs" was switched; the main window lists again.
    std::function<void()> OnHideChoice;

private:
    platform::System& sys_;
    std::unique_ptr<platform::Window> form_;

public:
    // The controls, in tab order.
    platform::GroupBox& GroupBox1;
    platform::CheckBox& ChkAutoScan;
    platform::Label& Label1;
    platform::Edit& EdtInt;  // the auto-scan interval in seconds, as text
    platform::UpDown& UpInt; // arrows that nudge EdtInt; their position is no setting
    platform::CheckBox& ChkMin;
    platform::CheckBox& ChkStartWin;
    platform::CheckBox& ChkIgnoreSafe;
    // Watch the start-up places and rescan when one changes; checked at the start.
    platform::CheckBox& ChkWatch;
    // Windows' own and verified programs are not listed; unchecked at the start.
    platform::CheckBox& ChkHideVerified;
};

}  // namespace zorvik
