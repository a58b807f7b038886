#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/windows/untTrust.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"

namespace {

using platform::Rect;
using platform::sim::GuiOf;

class TrustedWindowTest : public ::testing::Test {
protected:
    std::vector<std::string> Entries() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < frm.Count(); ++i) out.push_back(frm.Entry(i));
        return out;
    }
    void Add(const std::string& text) {
        frm.EdtPath.SetText(text);
        gui.Click(frm.BtnAdd);
    }

    platform::sim::SimSystem sys;
    platform::sim::SimUi& gui = GuiOf(sys);
    zorvik::TfrmTrust frm{sys};
};

TEST_F(TrustedWindowTest, StartsHiddenWithTheFormsLayout) {
    platform::Window& form = frm.Form();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Caption(), "Trusted Programs");
    EXPECT_EQ(form.OuterWidth(), 345);
    EXPECT_EQ(form.OuterHeight(), 259);
    EXPECT_EQ(frm.LstProg.Bounds(), (Rect{8, 8, 321, 153}));
    EXPECT_EQ(frm.LstProg.ItemHeight(), 13);
    EXPECT_EQ(frm.EdtPath.Bounds(), (Rect{8, 168, 297, 21}));
    EXPECT_EQ(frm.EdtPath.Text(), "");
    EXPECT_EQ(frm.SpdOpen.Bounds(), (Rect{304, 168, 23, 22}));
    EXPECT_EQ(frm.BtnAdd.Bounds(), (Rect{8, 200, 75, 25}));
    EXPECT_EQ(platform::CaptionAsShown(frm.BtnAdd.Text()), "Add");
    EXPECT_EQ(frm.BtnDelete.Bounds(), (Rect{88, 200, 75, 25}));
    EXPECT_EQ(platform::CaptionAsShown(frm.BtnDelete.Text()), "Delete");
    EXPECT_EQ(frm.Count(), 0u);
}

TEST_F(TrustedWindowTest, AddTakesTheTextExactlyAsTyped) {
    gui.Click(frm.BtnAdd);
    EXPECT_EQ(frm.Count(), 0u) << "an empty box adds nothing";

    Add("C:\\Tools\\App.exe");
    EXPECT_EQ(frm.EdtPath.Text(), "") << "the box is cleared after an add";
    Add("   ");
    Add("C:\\Tools\\App.exe");
    Add("not a path at all");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\Tools\\App.exe", "   ",
                                                   "C:\\Tools\\App.exe", "not a path at all"}));
}

TEST_F(TrustedWindowTest, AppendFromCodeWorksWhileHidden) {
    frm.Append("C:\\a.exe");
    frm.Append("");
    EXPECT_FALSE(frm.Form().Visible());
    EXPECT_EQ(frm.LstProg.Count(), 2);
    EXPECT_EQ(frm.LstProg.Item(1), "");
    EXPECT_TRUE(zorvik::IsTrusted(frm, "c:\\A.EXE"));
    EXPECT_TRUE(zorvik::IsTrusted(frm, ""));
    EXPECT_FALSE(zorvik::IsTrusted(frm, "C:\\b.exe"));
}

TEST_F(TrustedWindowTest, DeleteRemovesOnlyTheSelectedEntry) {
    Add("C:\\a.exe");
    Add("C:\\b.exe");
    Add("C:\\b.exe");
    Add("C:\\c.exe");

    gui.Click(frm.BtnDelete);
    EXPECT_EQ(frm.Count(), 4u) << "nothing selected, nothing deleted";

    gui.SelectItem(frm.LstProg, 2);
    gui.Click(frm.BtnDelete);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}));
    EXPECT_EQ(frm.LstProg.SelectedIndex(), -1);
    gui.Click(frm.BtnDelete);
    EXPECT_EQ(frm.Count(), 3u);

    gui.SelectItem(frm.LstProg, 0);
    gui.Click(frm.BtnDelete);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\b.exe", "C:\\c.exe"}));
}

TEST_F(TrustedWindowTest, BrowsingFillsTheBoxButAddsNothing) {
    frm.EdtPath.SetText("typed");
    gui.QueueOpenFileResult(std::string("C:\\Program Files\\Viewer\\view.exe"));
    gui.Click(frm.SpdOpen);
    EXPECT_EQ(frm.EdtPath.Text(), "C:\\Program Files\\Viewer\\view.exe");
    EXPECT_EQ(frm.Count(), 0u);

    ASSERT_EQ(gui.OpenFileDialogs().size(), 1u);
    const auto& dialog = gui.OpenFileDialogs()[0];
    EXPECT_EQ(dialog.owner, "frmTrust");
    EXPECT_EQ(dialog.title, "Add Trusted Program");
    ASSERT_EQ(dialog.filters.size(), 1u);
    EXPECT_EQ(dialog.filters[0].description, "Exe Files(*.exe)");
    EXPECT_EQ(dialog.filters[0].pattern, "*.exe");
}

TEST_F(TrustedWindowTest, CancellingTheDialogKeepsTheTypedText) {
    frm.EdtPath.SetText("C:\\half typed");
    gui.QueueOpenFileResult(std::nullopt);
    gui.Click(frm.SpdOpen);
    EXPECT_EQ(frm.EdtPath.Text(), "C:\\half typed");
    EXPECT_EQ(gui.OpenFileDialogs().size(), 1u);
    EXPECT_TRUE(gui.MessageBoxes().empty());
}

struct LayoutCase {
    int width, height;
    Rect list, edit, browse, add, remove;
};

class TrustedLayoutTest : public TrustedWindowTest,
                          public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TrustedLayoutTest, ResizeLaysOutFromTheOuterSize) {
    const LayoutCase& c = GetParam();
    frm.Show();  // the first show lays out at the default size
    gui.UserResize(frm.Form(), c.width, c.height);
    EXPECT_EQ(frm.LstProg.Bounds(), c.list);
    EXPECT_EQ(frm.EdtPath.Bounds(), c.edit);
    EXPECT_EQ(frm.SpdOpen.Bounds(), c.browse);
    EXPECT_EQ(frm.BtnAdd.Bounds(), c.add);
    EXPECT_EQ(frm.BtnDelete.Bounds(), c.remove);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TrustedLayoutTest,
    ::testing::Values(
        // The default size: one pixel off the form's own placement.
        LayoutCase{345, 259, {8, 8, 321, 153}, {8, 169, 297, 21}, {305, 169, 23, 22},
                   {8, 200, 75, 25}, {88, 200, 75, 25}},
        LayoutCase{600, 400, {8, 8, 576, 294}, {8, 310, 552, 21}, {560, 310, 23, 22},
                   {8, 341, 75, 25}, {88, 341, 75, 25}},
        LayoutCase{200, 150, {8, 8, 176, 44}, {8, 60, 152, 21}, {160, 60, 23, 22},
                   {8, 91, 75, 25}, {88, 91, 75, 25}}));

TEST_F(TrustedWindowTest, SettingTheSizeFromCodeLaysOutAndReadsBack) {
    frm.Form().SetOuterHeight(300);
    frm.Form().SetOuterWidth(400);
    EXPECT_EQ(frm.Form().OuterWidth(), 400);
    EXPECT_EQ(frm.Form().OuterHeight(), 300);
    EXPECT_EQ(frm.LstProg.Bounds(), (Rect{8, 8, 376, 194}));
    EXPECT_EQ(frm.BtnDelete.Top(), 241);
}

}  // namespace
