// Windows and their controls as every platform keeps them: a control goes into a group box of
// its own window only.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ContractEnv.h"
#include "platform/Ui.h"

namespace {

using platform::ControlSpec;
using platform::WindowSpec;

WindowSpec SideWindow(const char* name) {
    WindowSpec window;
    window.name = name;
    window.caption = name;
    window.outerWidth = 300;
    window.outerHeight = 200;
    return window;
}

TEST(UiContract, AControlGoesOnlyIntoAGroupBoxOfItsOwnWindow) {
    platform::Ui& ui = contract::env().System().ui();
    auto holder = ui.NewWindow(SideWindow("frmGroupHolder"));
    auto other = ui.NewWindow(SideWindow("frmGroupOther"));
    ControlSpec groupSpec;
    groupSpec.name = "GroupBox1";
    groupSpec.bounds = {8, 8, 121, 49};
    platform::GroupBox& group = holder->AddGroupBox(groupSpec);

    ControlSpec inside;
    inside.name = "ChkInside";
    inside.bounds = {4, 4, 60, 17};
    inside.parent = &group;
    EXPECT_THROW(other->AddCheckBox(inside), std::logic_error);
    EXPECT_EQ(other->FindControl("ChkInside"), nullptr) << "nothing kept of the refused one";
    EXPECT_NO_THROW(holder->AddCheckBox(inside));
    EXPECT_NE(holder->FindControl("ChkInside"), nullptr);
}

}  // namespace
