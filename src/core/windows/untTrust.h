#pragma once
// The Trusted Programs window. Its list box is the one store of the trusted list: every
// reader and writer goes to its items, also while the window is hidden.
#include <cstddef>
#include <memory>
#include <string>

#include "core/engine/TrustedList.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace zorvik {

class TfrmTrust : public TrustedList {
public:
    // Creates the window hidden, at its default outer size of 345 by 259.
    explicit TfrmTrust(platform::System& sys);
    TfrmTrust(const TfrmTrust&) = delete;
    TfrmTrust& operator=(const TfrmTrust&) = delete;

    platform::Window& Form() { return *form_; }
    // Shown without waiting; closing it only hides it.
    void Show() { form_->Show(); }

    // The trusted list, in list order; entries may repeat and may be empty.
    std::size_t Count() const override;
    std::string Entry(std::size_t index) const override;
    void Append(const std::string& entry) override;

    void BtnAddClick();
    void BtnDeleteClick();
    void SpdOpenClick();
    void FormResize();

private:
    platform::System& sys_;
    std::unique_ptr<platform::Window> form_;

public:
    platform::ListBox& LstProg;
    platform::Edit& EdtPath;
    platform::Button& SpdOpen;
    platform::Button& BtnAdd;
    platform::Button& BtnDelete;
};

}  // namespace zorvik
