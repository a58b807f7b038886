#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"

namespace {

using namespace platform;
using platform::sim::GuiOf;
using platform::sim::ShellOf;

class SimUiTest : public ::testing::Test {
protected:
    SimUiTest() {
        WindowSpec desc;
        desc.name = "frmMain";
        desc.caption = "Pellmoor";
        desc.outerWidth = 729;
        desc.outerHeight = 427;
        desc.mainWindow = true;
        main = gui.NewWindow(desc);
    }

    Button& AddButton(const std::string& name) {
        ButtonSpec desc;
        desc.name = name;
        return main->AddButton(desc);
    }

    sim::SimSystem sys;
    sim::SimUi& gui = GuiOf(sys);
    sim::SimShell& shell = ShellOf(sys);
    std::unique_ptr<Window> main;
};

TEST_F(SimUiTest, TheGeneralErrorHandlerReportsAndTheLoopGoesOn) {
    Button& app = AddButton("BtnApp");
    Button& plain = AddButton("BtnStd");
    Button& other = AddButton("BtnOther");
    int clicks = 0;
    app.OnClick = [&] { ++clicks; throw zorvik::AppError("Unable to write to C:\\x.ini"); };
    plain.OnClick = [&] { throw std::runtime_error("broken"); };
    other.OnClick = [] { throw 42; };

    gui.Click(app);
    gui.Click(plain);
    gui.Click(other);
    gui.Click(app);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(gui.MessageBoxes().size(), 4u);
    EXPECT_EQ(gui.MessageBoxes()[0].text, "Unable to write to C:\\x.ini");
    EXPECT_EQ(gui.MessageBoxes()[1].text, "broken");
    EXPECT_FALSE(gui.MessageBoxes()[2].text.empty());
    for (const auto& box : gui.MessageBoxes()) {
        EXPECT_EQ(box.title, "Zorvik");
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_EQ(box.owner, "frmMain");
    }
    gui.SetApplicationTitle("Pellmoor");
    gui.Click(plain);
    EXPECT_EQ(gui.MessageBoxes().back().title, "Pellmoor");
}

TEST_F(SimUiTest, ACheckBoxSetFromCodeRunsItsHandlerOnlyOnChangeAndPassesErrorsOn) {
    ControlSpec desc;
    desc.name = "ChkX";
    CheckBox& box = main->AddCheckBox(desc);
    int runs = 0;
    box.OnClick = [&] { ++runs; };
    box.SetChecked(false);
    EXPECT_EQ(runs, 0);
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(runs, 1);
    gui.Click(box);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(runs, 2);

    box.OnClick = [] { throw zorvik::AppError("from the handler"); };
    EXPECT_THROW(box.SetChecked(true), zorvik::AppError);
    EXPECT_TRUE(gui.MessageBoxes().empty()) << "code that sets the box gets the error itself";
    gui.Click(box);
    EXPECT_EQ(gui.MessageBoxes().size(), 1u);
}

TEST_F(SimUiTest, TimersTickOnTheSimulatedClock) {
    Timer& timer = main->AddTimer("TmrScan");
    std::vector<std::uint64_t> ticks;
    timer.OnTimer = [&] { ticks.push_back(gui.Now()); };
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Enabled());
    gui.AdvanceTime(5000);
    EXPECT_TRUE(ticks.empty());

    timer.SetInterval(300);
    timer.SetEnabled(true);
    gui.AdvanceTime(1000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{5300, 5600, 5900}));
    timer.SetEnabled(false);
    gui.AdvanceTime(1000);
    EXPECT_EQ(ticks.size(), 3u);

    timer.SetInterval(0);
    timer.SetEnabled(true);
    gui.AdvanceTime(10000);
    EXPECT_EQ(ticks.size(), 3u) << "interval 0 never ticks";
}

TEST_F(SimUiTest, ATimerWhoseHandlerFailsKeepsTicking) {
    Timer& timer = main->AddTimer("TmrScan");
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; throw zorvik::AppError("tick failed"); };
    timer.SetInterval(100);
    timer.SetEnabled(true);
    gui.AdvanceTime(300);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(gui.MessageBoxes().size(), 3u);
}

TEST_F(SimUiTest, PopupMenusReturnTheQueuedChoiceOfEnabledEntriesOnly) {
    const std::vector<MenuEntry> entries{
        {"Rescan", 1, true, false}, {"", 0, true, true}, {"Greyed", 2, false, false}};
    gui.SetCursorPosition({10, 20});
    gui.QueueMenuChoice(1);
    gui.QueueMenuChoice(2);
    gui.QueueMenuChoice(99);
    EXPECT_EQ(gui.RunPopupMenu(*main, entries, gui.CursorPosition()), 1u);
    EXPECT_EQ(gui.RunPopupMenu(*main, entries, {0, 0}), 0u) << "greyed entries cannot be chosen";
    EXPECT_EQ(gui.RunPopupMenu(*main, entries, {0, 0}), 0u);
    EXPECT_EQ(gui.RunPopupMenu(*main, entries, {0, 0}), 0u) << "no answer: dismissed";
    ASSERT_EQ(gui.Menus().size(), 4u);
    EXPECT_EQ(gui.Menus()[0].screen, (Point{10, 20}));
    EXPECT_EQ(gui.Menus()[0].entries.size(), 3u);
    EXPECT_EQ(gui.Menus()[0].owner, "frmMain");
}

TEST_F(SimUiTest, ATimerCanTickWhileAMenuIsOpen) {
    Timer& timer = main->AddTimer("TmrScan");
    std::vector<std::string> order;
    timer.OnTimer = [&] { order.push_back("tick"); };
    timer.SetInterval(50);
    timer.SetEnabled(true);
    gui.QueueMenuChoice(7, [&] { gui.AdvanceTime(50); });
    const std::uint32_t chosen = gui.RunPopupMenu(*main, {{"Go", 7, true, false}}, {0, 0});
    order.push_back("chosen " + std::to_string(chosen));
    EXPECT_EQ(order, (std::vector<std::string>{"tick", "chosen 7"}));
}

TEST_F(SimUiTest, PostedMessagesWaitForTheLoopSentOnesDoNot) {
    std::vector<std::intptr_t> seen;
    const auto listener = [&](std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
        if (message == 1025) seen.push_back(lParam);
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    main->Post(1025, 0, 515);
    main->Send(1025, 0, 517);
    EXPECT_EQ(seen, (std::vector<std::intptr_t>{517}));
    EXPECT_EQ(gui.PendingMessages(), 1u);
    gui.ProcessMessages();
    EXPECT_EQ(seen, (std::vector<std::intptr_t>{517, 515}));

    const std::uint32_t id = gui.RegisterMessage("TaskbarCreated");
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(gui.RegisterMessage("taskbarcreated"), id);
    EXPECT_NE(gui.RegisterMessage("Other"), id);
}

TEST_F(SimUiTest, EachMessageListenerHearsUntilItsTokenGoes) {
    std::vector<std::string> heard;
    ListenerToken first, second, third;
    auto listen = [&](const std::string& name, std::function<void()> also = nullptr) {
        return main->AddMessageListener([&heard, name, also](std::uint32_t message, std::uintptr_t,
                                                             std::intptr_t) {
            if (message != 1025) return;
            heard.push_back(name);
            if (also) also();
        });
    };
    first = listen("first");
    second = listen("second", [&] { third.Reset(); });
    third = listen("third");
    const struct Step {
        const char* what;
        std::function<void()> before;
        std::vector<std::string> heard;
    } steps[] = {
        {"in the order added; the second takes the third off at once", [] {},
         {"first", "second"}},
        {"a reset token", [&] { first.Reset(); }, {"second"}},
        {"a token moved over another", [&] { second = listen("fourth"); }, {"fourth"}},
    };
    for (const Step& step : steps) {
        step.before();
        heard.clear();
        main->Send(1025, 0, 0);
        EXPECT_EQ(heard, step.heard) << step.what;
    }
    main.reset();
    second.Reset();  // after its window: nothing to take off, nothing touched
}

TEST_F(SimUiTest, TheTrayIconKeepsFieldsACallDoesNotSet) {
    NotifyIconData icon;
    icon.window = main.get();
    icon.flags = kNotifyMessage | kNotifyIcon | kNotifyTip;
    icon.callbackMessage = 1025;
    icon.icon = TrayIconImage::Application;
    icon.tip = "Zorvik";
    EXPECT_TRUE(shell.NotifyIcon(NotifyAction::Add, icon));
    EXPECT_FALSE(shell.NotifyIcon(NotifyAction::Add, icon)) << "already there";

    NotifyIconData balloon = icon;
    balloon.flags = kNotifyInfo;
    balloon.tip = "ignored, not flagged";
    balloon.infoTitle = "Detection!";
    balloon.infoText = "New program detected";
    balloon.timeout = 5000;
    balloon.infoFlags = kBalloonInfoIcon;
    EXPECT_TRUE(shell.NotifyIcon(NotifyAction::Modify, balloon));
    auto now = shell.CurrentIcon();
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->tip, "Zorvik");
    EXPECT_EQ(now->infoTitle, "Detection!");
    EXPECT_EQ(now->callbackMessage, 1025u);

    std::vector<std::intptr_t> events;
    const auto listener = [&](std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
        if (message == 1025) events.push_back(lParam);
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    shell.PostTrayEvent(kTrayBalloonClick);
    gui.ProcessMessages();
    EXPECT_EQ(events, (std::vector<std::intptr_t>{1029}));

    EXPECT_TRUE(shell.NotifyIcon(NotifyAction::Delete, balloon));
    EXPECT_FALSE(shell.CurrentIcon().has_value());
    shell.PostTrayEvent(kTrayDoubleClick);
    gui.ProcessMessages();
    EXPECT_EQ(events.size(), 1u) << "no icon, no events";
    EXPECT_EQ(shell.NotifyCalls().size(), 4u);
}

TEST_F(SimUiTest, ARestartedTaskbarLosesTheIconAndTellsEveryWindow) {
    NotifyIconData icon;
    icon.window = main.get();
    shell.NotifyIcon(NotifyAction::Add, icon);
    const std::uint32_t created = gui.RegisterMessage("TaskbarCreated");
    int told = 0;
    const auto listener = [&](std::uint32_t message, std::uintptr_t, std::intptr_t) {
        if (message == created) {
            ++told;
            shell.NotifyIcon(NotifyAction::Add, icon);
        }
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    shell.RestartTaskbar();
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(shell.CurrentIcon().has_value());
}

TEST_F(SimUiTest, ShellExecuteCallsAreRecorded) {
    shell.SetExecuteResult(2);
    EXPECT_EQ(shell.Execute({nullptr, "OPEN", "notepad.exe", "win.ini", "", kShowNormal}), 2);
    ASSERT_EQ(shell.Executions().size(), 1u);
    EXPECT_EQ(shell.Executions()[0].file, "notepad.exe");
    EXPECT_EQ(shell.Executions()[0].parameters, "win.ini");
}

struct Probe {
    explicit Probe(int& destroyed) : destroyed(destroyed) {}
    ~Probe() { ++destroyed; }
    int& destroyed;
};

TEST_F(SimUiTest, ListViewRowsOwnTheirDataAndAnswerTheMouse) {
    ListViewSpec desc;
    desc.name = "LstProc";
    desc.bounds = {8, 24, 705, 150};
    desc.columns = {{"Program Path", 280}, {"PID", 50}, {"Details", 370}};
    ListView& list = main->AddListView(desc);
    int destroyed = 0;
    for (const char* path : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) {
        const int row = list.AddRow(path, std::make_shared<Probe>(destroyed));
        list.AddSubItem(row, "10");
        list.AddSubItem(row, "Possible Bot Process, ");
    }
    list.SetSubItem(1, 1, "longer");
    EXPECT_EQ(list.SubItem(1, 1), "longer");
    EXPECT_EQ(list.SubItem(1, 5), "");

    std::vector<std::string> events;
    list.OnMouseDown = [&](MouseButton b, int, int) {
        events.push_back((b == MouseButton::Right ? "right on " : "left on ") +
                         std::to_string(list.SelectedRow()));
    };
    list.OnContextMenu = [&](Point) { events.push_back("menu"); };
    gui.PressRow(list, MouseButton::Left, 2);
    gui.PressRow(list, MouseButton::Right, 0);
    gui.PressRow(list, MouseButton::Left, 3);  // below the last row
    EXPECT_EQ(events, (std::vector<std::string>{"left on 2", "right on 0", "menu", "left on -1"}));
    EXPECT_EQ(list.HitTest(4, 5), -1) << "the header is no row";

    list.OnCustomDrawItem = [&](int row) { return row == 1 ? kGreen : kRed; };
    EXPECT_EQ(gui.DrawRows(list), (std::vector<Colour>{kRed, kGreen, kRed}));

    list.SetSelectedRow(2);
    list.DeleteRow(0);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(list.SelectedRow(), 1) << "the selection follows its row";
    EXPECT_EQ(list.RowCaption(0), "C:\\b.exe");
    list.Clear();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(list.SelectedRow(), -1);
}

TEST_F(SimUiTest, UpDownPositionIsASigned16BitNumberOutsideTheRange) {
    UpDownSpec desc;
    desc.name = "UpInt";
    UpDown& arrows = main->AddUpDown(desc);
    arrows.SetPosition(70000);
    EXPECT_EQ(arrows.Position(), 4464);
    arrows.SetPosition(300);
    EXPECT_EQ(arrows.Position(), 300);
    arrows.SetPosition(-1);
    EXPECT_EQ(arrows.Position(), -1);
    arrows.SetPosition(40000);
    EXPECT_EQ(arrows.Position(), 40000 - 65536);
}

TEST_F(SimUiTest, MinimiseRestoreAndCloseOfTheApplication) {
    int minimised = 0;
    gui.OnApplicationMinimise = [&] { ++minimised; };
    main->Show();
    gui.UserMinimise();
    gui.MinimiseApplication();
    EXPECT_EQ(minimised, 1) << "only a change runs the notification";
    EXPECT_TRUE(gui.ApplicationMinimised());
    main->Hide();
    gui.RestoreApplication();
    EXPECT_FALSE(gui.ApplicationMinimised());
    EXPECT_TRUE(main->Visible());

    main->OnClose = [](CloseRequest& r) { r.allow = false; };
    gui.UserClose(*main);
    EXPECT_TRUE(main->Visible());
    EXPECT_FALSE(gui.Terminated());
    main->OnClose = nullptr;
    gui.UserClose(*main);
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(gui.Terminated());
}

TEST_F(SimUiTest, ResizeRunsOnEveryOuterSizeChangeAndAtTheFirstShow) {
    int resizes = 0;
    main->OnResize = [&] { ++resizes; };
    main->SetOuterWidth(729);
    EXPECT_EQ(resizes, 0) << "same size";
    main->SetOuterWidth(800);
    EXPECT_EQ(resizes, 1);
    main->Show();
    EXPECT_EQ(resizes, 2);
    main->Hide();
    main->Show();
    EXPECT_EQ(resizes, 2);
    main->SetMaximised(true);
    EXPECT_TRUE(main->Maximised());
    EXPECT_EQ(main->OuterWidth(), sim::kSimScreenWidth);
    main->SetMaximised(false);
    EXPECT_EQ(main->OuterWidth(), 800);
    EXPECT_EQ(resizes, 4);
}

TEST_F(SimUiTest, ControlsAreFoundByNameAndNamesAreUnique) {
    AddButton("BtnScan");
    EXPECT_EQ(&gui.Get<Button>("frmMain", "BtnScan"), main->FindControl("BtnScan"));
    EXPECT_THROW(gui.Get<CheckBox>("frmMain", "BtnScan"), std::logic_error);
    EXPECT_THROW(AddButton("BtnScan"), std::logic_error);
    EXPECT_EQ(main->FindControl("Nothing"), nullptr);
}

}  // namespace
