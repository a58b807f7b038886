// Windows and their controls as every platform keeps them: a control goes into a group box of
// its own window only; a key reaches the window before the focused control; a list view's
// header takes clicks, shows the sort arrow, and its columns take the widths set.
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

TEST(UiContract, AKeyReachesTheWindowFirstAndOnlyALeftKeyReachesTheControl) {
    platform::Ui& ui = contract::env().System().ui();
    auto window = ui.NewWindow(SideWindow("frmKeys"));
    ControlSpec boxSpec;
    boxSpec.name = "EdtKeys";
    boxSpec.bounds = {8, 8, 120, 21};
    platform::Edit& box = window->AddEdit(boxSpec);
    window->Show();
    window->FocusControl(box);
    ASSERT_EQ(window->FocusedControl(), &box);

    struct Case {
        platform::KeyStroke stroke;
        bool handled;
        const char* textAfter;  // what the box holds once the key is through
    };
    const Case cases[] = {
        {{'K', false, false, false}, false, "k"},
        {{'S', false, true, false}, false, "kS"},
        {{'F', true, false, false}, true, "kS"},
        {{'Z', false, true, false}, true, "kS"},
        {{'X', false, false, true}, true, "kS"},
    };
    std::vector<platform::KeyStroke> heard;
    bool handle = false;
    window->OnKeyDown = [&](const platform::KeyStroke& stroke) {
        heard.push_back(stroke);
        return handle;
    };
    for (const Case& c : cases) {
        handle = c.handled;
        heard.clear();
        contract::env().PressKey(*window, c.stroke);
        ASSERT_EQ(heard.size(), 1u) << "key " << char(c.stroke.key);
        EXPECT_EQ(heard[0], c.stroke) << "key " << char(c.stroke.key) << " with its modifiers";
        EXPECT_EQ(box.Text(), c.textAfter) << "key " << char(c.stroke.key);
    }
}

// A list of several rows selected keeps the focused one for the commands on one row; the
// clipboard gives back the text put on it, up to a NUL; an edit box reports a text set.
TEST(UiContract, ListsSelectSeveralRowsTheClipboardKeepsTextAndABoxReportsItsChange) {
    platform::Ui& ui = contract::env().System().ui();
    auto window = ui.NewWindow(SideWindow("frmSelect"));
    auto list = [&](const char* name, bool multiSelect) -> platform::ListView& {
        platform::ListViewSpec desc;
        desc.name = name;
        desc.bounds = {8, 8, 200, 80};
        desc.columns = {{"Name", 100}};
        desc.multiSelect = multiSelect;
        platform::ListView& view = window->AddListView(desc);
        for (const char* caption : {"a", "b", "c"}) view.AddRow(caption, nullptr);
        return view;
    };
    platform::ListView& several = list("LstSeveral", true);
    platform::ListView& single = list("LstSingle", false);
    ControlSpec boxSpec;
    boxSpec.name = "EdtChange";
    boxSpec.bounds = {8, 100, 120, 21};
    platform::Edit& box = window->AddEdit(boxSpec);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    window->Show();

    several.SetSelectedRow(1);
    several.SelectAll();
    EXPECT_EQ(several.SelectedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(several.SelectedRow(), 1) << "the focused row";
    several.SetSelectedRow(2);
    EXPECT_EQ(several.SelectedRows(), std::vector<int>{2}) << "alone again";
    single.SetSelectedRow(1);
    single.SelectAll();
    EXPECT_EQ(single.SelectedRows(), std::vector<int>{1});

    ASSERT_TRUE(ui.CopyToClipboard(window.get(), std::string("Name\r\nb\tc\r\n\0rest", 16)));
    EXPECT_EQ(ui.ClipboardText(), "Name\r\nb\tc\r\n");

    box.SetText("b");
    ui.ProcessMessages();
    EXPECT_EQ(changes, 1);
}

TEST(UiContract, AHeaderClickReachesTheListItsArrowAndWidthsAreReadBack) {
    platform::Ui& ui = contract::env().System().ui();
    auto window = ui.NewWindow(SideWindow("frmHeaders"));
    platform::ListViewSpec desc;
    desc.name = "LstHeaders";
    desc.bounds = {8, 8, 280, 150};
    desc.columns = {{"Name", 100}, {"Size", 60}, {"Kind", 80}};
    platform::ListView& list = window->AddListView(desc);
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
