// Windows and their controls as every platform keeps them: a control goes into a group box of
// its own window only; a list view's header takes clicks, shows the sort arrow, and its columns
// take the widths set.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ContractEnv.h"
#include "platform/Ui.h"

namespace {

using platform::ControlSpec;
using platform::SortArrow;
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

TEST(UiContract, AHeaderClickReachesTheListItsArrowAndWidthsAreReadBack) {
    platform::Ui& ui = contract::env().System().ui();
    auto window = ui.NewWindow(SideWindow("frmHeaders"));
    platform::ListViewSpec spec;
    spec.name = "LstHeaders";
    spec.bounds = {8, 8, 280, 150};
    spec.columns = {{"Name", 100}, {"Size", 60}, {"Kind", 80}};
    platform::ListView& list = window->AddListView(spec);
    std::vector<int> clicked;
    list.OnColumnClick = [&](int column) { clicked.push_back(column); };

    contract::env().ClickColumnHeader(list, 1);
    contract::env().ClickColumnHeader(list, 0);
    EXPECT_EQ(clicked, (std::vector<int>{1, 0}));

    struct Case { int column; SortArrow arrow; std::vector<SortArrow> shown; };
    const Case cases[] = {
        {1, SortArrow::Up, {SortArrow::None, SortArrow::Up, SortArrow::None}},
        {1, SortArrow::Down, {SortArrow::None, SortArrow::Down, SortArrow::None}},
        {2, SortArrow::Up, {SortArrow::None, SortArrow::Down, SortArrow::Up}},
        {1, SortArrow::None, {SortArrow::None, SortArrow::None, SortArrow::Up}},
        {3, SortArrow::Down, {SortArrow::None, SortArrow::None, SortArrow::Up}},  // no such column
    };
    for (const Case& c : cases) {
        list.SetSortArrow(c.column, c.arrow);
        std::vector<SortArrow> shown;
        for (int column = 0; column < list.ColumnCount(); ++column)
            shown.push_back(list.SortArrowOf(column));
        EXPECT_EQ(shown, c.shown) << c.column;
    }
    EXPECT_EQ(list.Column(0).caption, "Name") << "the arrow leaves the caption";

    list.SetColumnWidth(0, 140);
    list.SetColumnWidth(2, 30);
    list.SetColumnWidth(3, 90);
    EXPECT_EQ(list.Column(0).width, 140);
    EXPECT_EQ(list.Column(1).width, 60);
    EXPECT_EQ(list.Column(2).width, 30);
}

}  // namespace
