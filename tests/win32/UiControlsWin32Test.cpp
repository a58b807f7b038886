// Controls of the Windows build driven by real messages: the list view's rows, colours, hit
// tests and mouse presses; labels as links; the flat button; timers; check boxes.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "UiTestSupport.h"

namespace {

using platform::Colour;
using platform::MouseButton;
using platform::Point;
using platform::Rect;
using uitest::HandleOf;
using uitest::StyleOf;

class ControlsWin32 : public uitest::UiTest {
protected:
    ControlsWin32() {
        platform::WindowSpec desc;
        desc.name = "frmTest";
        desc.caption = "Test";
        desc.outerWidth = 600;
        desc.outerHeight = 400;
        form = ui.NewWindow(desc);
    }

    platform::ListView& AddList() {
        platform::ListViewSpec desc;
        desc.name = "LstProc";
        desc.bounds = Rect{8, 24, 560, 200};
        desc.columns = {{"Program Path", 280}, {"PID", 50}, {"Details", 200}};
        return form->AddListView(desc);
    }

    // Three rows with their sub-items; the list and its rows' texts as the control holds them.
    platform::ListView& ListWithRows() {
        platform::ListView& list = AddList();
        for (int i = 0; i < 3; ++i) {
            const int row = list.AddRow("C:\\p" + std::to_string(i) + ".exe");
            list.AddSubItem(row, std::to_string(100 + i));
            list.AddSubItem(row, "Possible Bot Process, ");
        }
        return list;
    }

    static std::string ItemText(HWND list, int row, int column) {
        char text[260] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    static RECT CellRect(HWND list, int row, int column) {
        RECT r{};
        r.top = column;
        r.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    static Point Middle(const RECT& r) {
        return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    std::unique_ptr<platform::Window> form;
};

TEST_F(ControlsWin32, ListViewIsAReadOnlyReportWithItsColumns) {
    platform::ListView& list = AddList();
    HWND hwnd = HandleOf(list);
    EXPECT_EQ((StyleOf(hwnd) & LVS_TYPEMASK), LVS_REPORT);
    EXPECT_TRUE(StyleOf(hwnd) & LVS_SINGLESEL);
    EXPECT_FALSE(StyleOf(hwnd) & LVS_EDITLABELS);
    EXPECT_TRUE(SendMessageA(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    const std::vector<std::pair<std::string, int>> expected{
        {"Program Path", 280}, {"PID", 50}, {"Details", 200}};
    for (int i = 0; i < 3; ++i) {
        char caption[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = caption;
        column.cchTextMax = sizeof caption;
        ASSERT_TRUE(SendMessageA(hwnd, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(caption, expected[i].first);
        EXPECT_EQ(column.cx, expected[i].second);
        EXPECT_EQ(list.Column(i).width, expected[i].second);
    }
    EXPECT_EQ(list.ColumnCount(), 3);
}

TEST_F(ControlsWin32, RowsAndSubItemsReachTheControl) {
    platform::ListView& list = ListWithRows();
    HWND hwnd = HandleOf(list);
    ASSERT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(hwnd, 1, 0), "C:\\p1.exe");
    EXPECT_EQ(ItemText(hwnd, 1, 1), "101");
    EXPECT_EQ(ItemText(hwnd, 1, 2), "Possible Bot Process, ");
    list.SetSubItem(1, 1, "Possible Bot Process, 2 Start up\\s detected");
    EXPECT_EQ(ItemText(hwnd, 1, 2), "Possible Bot Process, 2 Start up\\s detected");
    list.SetSubItem(1, 5, "nowhere");  // no such sub-item: nothing
    EXPECT_EQ(list.SubItemCount(1), 2);
    // A sub-item beyond the columns is kept, though the control cannot show it.
    list.AddSubItem(2, "extra");
    list.AddSubItem(2, "more");
    EXPECT_EQ(list.SubItemCount(2), 4);
    EXPECT_EQ(list.SubItem(2, 3), "more");

    list.DeleteRow(0);
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(hwnd, 0, 0), "C:\\p1.exe");
    EXPECT_EQ(list.RowCaption(0), "C:\\p1.exe");
    list.DeleteRow(7);
    EXPECT_EQ(list.RowCount(), 2);
    list.Clear();
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(ControlsWin32, RowDataLivesExactlyAsLongAsItsRow) {
    platform::ListView& list = AddList();
    auto first = std::make_shared<int>(1);
    auto second = std::make_shared<int>(2);
    auto third = std::make_shared<int>(3);
    std::weak_ptr<int> firstSeen = first, secondSeen = second, thirdSeen = third;
    list.AddRow("a", std::move(first));
    list.AddRow("b", std::move(second));
    list.AddRow("c", std::move(third));
    EXPECT_FALSE(firstSeen.expired());
    EXPECT_EQ(*std::static_pointer_cast<int>(list.RowData(1)), 2);
    list.DeleteRow(1);
    EXPECT_TRUE(secondSeen.expired());
    EXPECT_FALSE(firstSeen.expired());
    EXPECT_EQ(*std::static_pointer_cast<int>(list.RowData(1)), 3);
    list.Clear();
    EXPECT_TRUE(firstSeen.expired());
    EXPECT_TRUE(thirdSeen.expired());

    auto last = std::make_shared<int>(4);
    std::weak_ptr<int> lastSeen = last;
    list.AddRow("d", std::move(last));
    form.reset();
    EXPECT_TRUE(lastSeen.expired()) << "the window's end frees its rows' data";
}

TEST_F(ControlsWin32, SelectionAndHitTestingCoverWholeRows) {
    platform::ListView& list = ListWithRows();
    HWND hwnd = HandleOf(list);
    list.SetSelectedRow(2);
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    EXPECT_EQ(list.SelectedRow(), 2);
    list.SetSelectedRow(-1);
    EXPECT_EQ(list.SelectedRow(), -1);

    for (int column = 0; column < 3; ++column) {
        const Point p = Middle(CellRect(hwnd, 1, column));
        EXPECT_EQ(list.HitTest(p.x, p.y), 1) << "column " << column;
    }
    const RECT last = CellRect(hwnd, 2, 0);
    EXPECT_EQ(list.HitTest(last.left + 2, last.bottom + 30), -1) << "below the last row";
    EXPECT_EQ(list.HitTest(-5, 40), -1);
}

TEST_F(ControlsWin32, MousePressesSelectFirstThenReportThenAskForTheMenu) {
    platform::ListView& list = ListWithRows();
    form->Show();
    HWND hwnd = HandleOf(list);
    std::vector<std::string> events;
    list.OnMouseDown = [&](MouseButton button, int x, int y) {
        events.push_back(std::string(button == MouseButton::Left    ? "left"
                                     : button == MouseButton::Right ? "right"
                                                                    : "middle") +
                         " selected " + std::to_string(list.SelectedRow()) + " hit " +
                         std::to_string(list.HitTest(x, y)));
    };
    list.OnContextMenu = [&](Point screen) {
        const Point cursor = ui.CursorPosition();
        events.push_back(screen == cursor ? "menu at cursor" : "menu elsewhere");
    };

    const Point row1 = Middle(CellRect(hwnd, 1, 2));
    uitest::Click(hwnd, row1.x, row1.y);
    const Point row2 = Middle(CellRect(hwnd, 2, 1));
    uitest::Click(hwnd, row2.x, row2.y, WM_RBUTTONDOWN, WM_RBUTTONUP);
    ui.ProcessMessages();
    const RECT last = CellRect(hwnd, 2, 0);
    uitest::Click(hwnd, last.left + 2, last.bottom + 30);
    ui.ProcessMessages();

    EXPECT_EQ(events, (std::vector<std::string>{"left selected 1 hit 1",
                                                "right selected 2 hit 2", "menu at cursor",
                                                "left selected -1 hit -1"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ControlsWin32, TheMenuKeyAsksForTheMenuToo) {
    platform::ListView& list = ListWithRows();
    int asked = 0;
    list.OnContextMenu = [&](Point) { ++asked; };
    SendMessageA(HandleOf(list), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(HandleOf(list)), -1);
    EXPECT_EQ(asked, 1);
}

TEST_F(ControlsWin32, CustomDrawAsksForEachRowsColourAndDrawsTheWholeRowInIt) {
    platform::ListView& list = ListWithRows();
    HWND hwnd = HandleOf(list);
    std::vector<int> asked;
    list.OnCustomDrawItem = [&](int row) -> Colour {
        asked.push_back(row);
        return row == 1 ? platform::kGreen : platform::kRed;
    };
    const Rect bounds = list.Bounds();
    uitest::Canvas canvas(bounds.width, bounds.height);
    canvas.Draw(hwnd);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));

    const COLORREF red = RGB(255, 0, 0);
    const COLORREF green = RGB(0, 128, 0);
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        EXPECT_GT(canvas.Count(red, CellRect(hwnd, 0, column)), 0);
        EXPECT_EQ(canvas.Count(green, CellRect(hwnd, 0, column)), 0);
        EXPECT_GT(canvas.Count(green, CellRect(hwnd, 1, column)), 0);
        EXPECT_EQ(canvas.Count(red, CellRect(hwnd, 1, column)), 0);
    }
}

TEST_F(ControlsWin32, ACustomDrawHandlerThatFailsIsReportedAndTheRowIsDrawnBlack) {
    platform::ListView& list = ListWithRows();
    list.OnCustomDrawItem = [](int row) -> Colour {
        if (row == 0) throw std::runtime_error("no colour");
        return platform::kRed;
    };
    const Rect bounds = list.Bounds();
    uitest::Canvas canvas(bounds.width, bounds.height);
    canvas.Draw(HandleOf(list));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "no colour");
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0), CellRect(HandleOf(list), 0, 0)), 0);
    EXPECT_GT(canvas.Count(RGB(255, 0, 0), CellRect(HandleOf(list), 1, 0)), 0);
}

TEST_F(ControlsWin32, RedrawRepaintsThroughTheMessageLoop) {
    platform::ListView& list = ListWithRows();
    form->Show();
    ui.ProcessMessages();
    int asked = 0;
    list.OnCustomDrawItem = [&](int) -> Colour {
        ++asked;
        return platform::kBlack;
    };
    list.Redraw();
    EXPECT_EQ(asked, 0) << "a repaint is only asked for";
    UpdateWindow(HandleOf(list));
    EXPECT_EQ(asked, 3);
}

TEST_F(ControlsWin32, LabelActsAsALink) {
    platform::ControlSpec desc;
    desc.name = "LblNotice";
    desc.bounds = Rect{8, 376, 189, 13};
    desc.text = "Pellmoor v1.1.0";
    platform::Label& label = form->AddLabel(desc);
    HWND hwnd = HandleOf(label);
    int clicks = 0;
    std::vector<Point> moves;
    label.OnClick = [&] { ++clicks; };
    label.OnMouseMove = [&](int x, int y) { moves.push_back(Point{x, y}); };

    SendMessageA(hwnd, WM_MOUSEMOVE, 0, uitest::PointParam(5, 6));
    EXPECT_EQ(moves, (std::vector<Point>{{5, 6}}));
    uitest::Click(hwnd, 5, 6);
    EXPECT_EQ(clicks, 1);

    label.SetFontColour(platform::kBlue);
    label.SetUnderline(true);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    // The colour the label is drawn in, as its window hands it over for the drawing.
    uitest::Canvas canvas(4, 4);
    SendMessageA(HandleOf(*form), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.Dc()),
                 reinterpret_cast<LPARAM>(hwnd));
    EXPECT_EQ(GetTextColor(canvas.Dc()), RGB(0, 0, 255));
    label.SetUnderline(false);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_FALSE(font.lfUnderline);
}

TEST_F(ControlsWin32, FlatButtonClicksWithoutTakingTheFocusAndShowsAFolder) {
    platform::ControlSpec editSpec;
    editSpec.name = "EdtPath";
    editSpec.bounds = Rect{8, 168, 297, 21};
    platform::Edit& edit = form->AddEdit(editSpec);
    platform::ButtonSpec desc;
    desc.name = "SpdOpen";
    desc.bounds = Rect{304, 168, 23, 22};
    desc.flat = true;
    desc.glyph = platform::ButtonGlyph::OpenFolder;
    platform::Button& button = form->AddButton(desc);
    form->Show();
    SetFocus(HandleOf(edit));
    ASSERT_EQ(GetFocus(), HandleOf(edit));
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };

    uitest::Click(HandleOf(button), 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetFocus(), HandleOf(edit));
    // A press that is released outside the button is no click.
    SendMessageA(HandleOf(button), WM_LBUTTONDOWN, MK_LBUTTON, uitest::PointParam(10, 10));
    SendMessageA(HandleOf(button), WM_MOUSEMOVE, MK_LBUTTON, uitest::PointParam(60, 60));
    SendMessageA(HandleOf(button), WM_LBUTTONUP, 0, uitest::PointParam(60, 60));
    EXPECT_EQ(clicks, 1);

    uitest::Canvas canvas(23, 22);
    const RECT topRow{0, 0, 23, 1};
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    SendMessageA(HandleOf(button), WM_MOUSELEAVE, 0, 0);
    canvas.Draw(HandleOf(button));
    EXPECT_EQ(canvas.Count(face, topRow), 23) << "no frame while the mouse is elsewhere";
    SendMessageA(HandleOf(button), WM_MOUSEMOVE, 0, uitest::PointParam(5, 5));
    canvas.Draw(HandleOf(button));
    EXPECT_LT(canvas.Count(face, topRow), 23) << "a frame while the mouse is over it";
    SendMessageA(HandleOf(button), WM_MOUSELEAVE, 0, 0);
    canvas.Draw(HandleOf(button));
    const RECT all{0, 0, 23, 22};
    EXPECT_GT(canvas.Count(RGB(255, 255, 0), all), 20) << "the folder's front";
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), all), 20) << "its outline";
    EXPECT_GT(canvas.Count(GetSysColor(COLOR_BTNFACE), all), 100) << "flat: the face around it";
}

TEST_F(ControlsWin32, CheckBoxClicksRunThroughTheErrorHandlerButCodeSeesTheException) {
    platform::ControlSpec desc;
    desc.name = "ChkMin";
    desc.bounds = Rect{8, 64, 105, 17};
    desc.text = "Minimize on Close";
    platform::CheckBox& box = form->AddCheckBox(desc);
    std::vector<bool> seen;
    box.OnClick = [&] {
        seen.push_back(box.Checked());
        throw std::runtime_error("refused");
    };
    SendMessageA(HandleOf(box), BM_CLICK, 0, 0);
    EXPECT_EQ(seen, (std::vector<bool>{true})) << "toggled before the handler";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "refused");

    EXPECT_THROW(box.SetChecked(false), std::runtime_error);
    EXPECT_EQ(SendMessageA(HandleOf(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_NO_THROW(box.SetChecked(false)) << "no change, no handler";
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ControlsWin32, BevelIsAnEtchedLine) {
    platform::ControlSpec desc;
    desc.name = "Bev";
    desc.bounds = Rect{8, 352, 705, 2};
    platform::Bevel& bevel = form->AddBevel(desc);
    EXPECT_EQ(bevel.Bounds(), desc.bounds);
    EXPECT_EQ(uitest::RectInParent(HandleOf(bevel)), desc.bounds);
    uitest::Canvas canvas(705, 2);
    canvas.Draw(HandleOf(bevel));
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNSHADOW), RECT{0, 0, 705, 1}), 705);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNHIGHLIGHT), RECT{0, 1, 705, 2}), 705);
}

TEST_F(ControlsWin32, TimersTickThroughTheLoopAndStopWhenSwitchedOff) {
    platform::Timer& timer = form->AddTimer("TmrScan");
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Enabled());
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetInterval(20);
    EXPECT_FALSE(uitest::PumpUntil(ui, [&] { return ticks > 0; }, 150)) << "off at creation";
    timer.SetEnabled(true);
    EXPECT_TRUE(uitest::PumpUntil(ui, [&] { return ticks >= 2; }, 3000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    uitest::PumpUntil(ui, [] { return false; }, 150);
    EXPECT_EQ(ticks, stopped);

    timer.SetInterval(0);
    timer.SetEnabled(true);
    uitest::PumpUntil(ui, [] { return false; }, 150);
    EXPECT_EQ(ticks, stopped) << "interval 0 never ticks";
}

TEST_F(ControlsWin32, ATickThatFailsIsShownAndTheLoopGoesOn) {
    platform::Timer& timer = form->AddTimer("TmrScan");
    int ticks = 0;
    timer.OnTimer = [&] {
        ++ticks;
        throw std::runtime_error("'' is not a valid integer value");
    };
    timer.SetInterval(20);
    timer.SetEnabled(true);
    EXPECT_TRUE(uitest::PumpUntil(ui, [&] { return ticks >= 2; }, 3000));
    timer.SetEnabled(false);
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "'' is not a valid integer value");
    EXPECT_EQ(boxes[0].title, "win32_tests") << "the program file's name until a title is set";
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

}  // namespace
