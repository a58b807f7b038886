#include "core/windows/untTrust.h"

#include "core/windows/FormParts.h"

namespace zorvik {

namespace {

using platform::ControlSpec;

std::unique_ptr<platform::Window> MakeForm(platform::System& sys) {
    platform::WindowSpec desc = CentredWindowSpec(
        "frmTrust", "Trusted Programs", platform::WindowFrame::SizeableToolWindow, true);
    desc.outerWidth = 345;
    desc.outerHeight = 259;
    return sys.ui().NewWindow(desc);
}

platform::ListBox& MakeLstProg(platform::Window& form) {
    platform::ListBoxSpec desc;
    static_cast<ControlSpec&>(desc) = ControlAt("LstProg", {8, 8, 321, 153});
    desc.itemHeight = 13;
    return form.AddListBox(desc);
}

platform::Edit& MakeEdtPath(platform::Window& form) {
    return form.AddEdit(ControlAt("EdtPath", {8, 168, 297, 21}));
}

platform::Button& MakeSpdOpen(platform::Window& form) {
    platform::ButtonSpec desc;
    static_cast<ControlSpec&>(desc) = ControlAt("SpdOpen", {304, 168, 23, 22});
    desc.flat = true;
    desc.glyph = platform::ButtonGlyph::OpenFolder;
    return form.AddButton(desc);
}

}  // namespace

TfrmTrust::TfrmTrust(platform::System& sys)
    : sys_(sys),
      form_(MakeForm(sys)),
      LstProg(MakeLstProg(*form_)),
      EdtPath(MakeEdtPath(*form_)),
      SpdOpen(MakeSpdOpen(*form_)),
      BtnAdd(MakeButton(*form_, "BtnAdd", {8, 200, 75, 25}, "&Add")),
      BtnDelete(MakeButton(*form_, "BtnDelete", {88, 200, 75, 25}, "&Delete")) {
    BtnAdd.OnClick = [this] { BtnAddClick(); };
    BtnDelete.OnClick = [this] { BtnDeleteClick(); };
    SpdOpen.OnClick = [this] { SpdOpenClick(); };
    form_->OnResize = [this] { FormResize(); };
}

std::size_t TfrmTrust::Count() const { return static_cast<std::size_t>(LstProg.Count()); }

std::string TfrmTrust::Entry(std::size_t index) const {
    return LstProg.Item(static_cast<int>(index));
}

void TfrmTrust::Append(const std::string& entry) { LstProg.AddItem(entry); }

void TfrmTrust::BtnAddClick() {
    // Exactly as typed: blanks kept, duplicates allowed, nothing checked.
    const std::string path = EdtPath.Text();
    if (path.empty()) return;
    Append(path);
    EdtPath.SetText("");
}

void TfrmTrust::BtnDeleteClick() {
    const int selected = LstProg.SelectedIndex();
    if (selected >= 0) LstProg.DeleteItem(selected);
}

void TfrmTrust::SpdOpenClick() {
    platform::OpenFileRequest request;
    request.owner = form_.get();
    request.filters = {platform::FileFilter{"Exe Files(*.exe)", "*.exe"}};
    request.title = "Add Trusted Program";
    // The choice goes into the edit box only; "Add" puts it on the list.
    if (auto path = sys_.ui().ChooseOpenFile(request)) EdtPath.SetText(*path);
}

void TfrmTrust::FormResize() {
    const int w = form_->OuterWidth();
    const int h = form_->OuterHeight();
    LstProg.SetWidth(w - 24);
    LstProg.SetHeight(h - 106);
    EdtPath.SetTop(h - 90);
    EdtPath.SetWidth(w - 48);
    SpdOpen.SetLeft(w - 40);
    SpdOpen.SetTop(h - 90);
    BtnAdd.SetTop(h - 59);
    BtnDelete.SetTop(h - 59);
}

}  // namespace zorvik
