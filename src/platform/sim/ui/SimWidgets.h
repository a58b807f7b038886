#pragma once
// The simulated controls: plain state, no drawing. Shared by the simulated windows and the
// scripting side of the simulated windowing services.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Widgets.h"
#include "platform/shared/ListRows.h"
#include "platform/shared/FireEvent.h"
#include "platform/shared/TimerBase.h"
#include "platform/shared/WindowBase.h"

namespace platform::sim {

class SimUiImpl;

// The state every control has, over the portable control kind Base.
template <class Base>
class SimControl : public Base {
public:
    explicit SimControl(const ControlSpec& desc)
        : name_(desc.name), text_(desc.text), hint_(desc.hint), bounds_(desc.bounds),
          enabled_(desc.enabled), visible_(desc.visible), parent_(desc.parent) {}

    const std::string& Name() const override { return name_; }
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    Rect Bounds() const override { return bounds_; }
    void SetBounds(const Rect& bounds) override { bounds_ = bounds; }
    std::string Hint() const override { return hint_; }
    GroupBox* Parent() const { return parent_; }

    // User input reaches the control only while it and its group box are enabled and visible.
    bool Reachable() const {
        if (!enabled_ || !visible_) return false;
        return !parent_ || (parent_->Enabled() && parent_->Visible());
    }

private:
    std::string name_;
    std::string text_;
    std::string hint_;
    Rect bounds_;
    bool enabled_;
    bool visible_;
    GroupBox* parent_;
};

class SimLabel : public SimControl<Label> {
public:
    using SimControl::SimControl;
    Colour FontColour() const override { return colour_; }
    void SetFontColour(Colour colour) override { colour_ = colour; }
    bool Underline() const override { return underline_; }
    void SetUnderline(bool underline) override { underline_ = underline; }
    int TextWidth() const override;

private:
    Colour colour_ = kBlack;
    bool underline_ = false;
};

class SimButton : public SimControl<Button> {
public:
    explicit SimButton(const ButtonSpec& desc)
        : SimControl(desc), flat_(desc.flat), glyph_(desc.glyph) {}
    bool Flat() const { return flat_; }
    ButtonGlyph Glyph() const { return glyph_; }

private:
    bool flat_;
    ButtonGlyph glyph_;
};

class SimCheckBox : public SimControl<CheckBox> {
public:
    using SimControl::SimControl;
    bool Checked() const override { return checked_; }
    void SetChecked(bool checked) override {
        if (checked == checked_) return;
        checked_ = checked;
        if (OnClick) {
            auto handler = OnClick;
            handler();
        }
    }

private:
    bool checked_ = false;
};

class SimGroupBox : public SimControl<GroupBox> {
public:
    using SimControl::SimControl;
};

class SimEdit : public SimControl<Edit> {
public:
    SimEdit(const ControlSpec& desc, const shared::WindowBase& form)
        : SimControl(desc), form_(form) {}
    // As the box's change notification, a message: through the window's error handler.
    void SetText(const std::string& text) override {
        SimControl::SetText(text);
        if (Ui* ui = form_.Services()) shared::Fire(*ui, OnChange);
    }

private:
    const shared::WindowBase& form_;
};

class SimBevel : public SimControl<Bevel> {
public:
    using SimControl::SimControl;
};

class SimUpDown : public SimControl<UpDown> {
public:
    explicit SimUpDown(const UpDownSpec& desc)
        : SimControl(desc), min_(desc.min), max_(desc.max) {
        SetPosition(desc.position);
    }
    int Min() const override { return min_; }
    int Max() const override { return max_; }
    int Position() const override { return position_; }
    void SetPosition(int position) override {
        position_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(position & 0xFFFF));
    }

private:
    int min_;
    int max_;
    int position_ = 0;
};

class SimListBox : public SimControl<ListBox> {
public:
    explicit SimListBox(const ListBoxSpec& desc) : SimControl(desc), itemHeight_(desc.itemHeight) {}
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Item(int index) const override {
        return InRange(index) ? items_[static_cast<std::size_t>(index)] : std::string();
    }
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void DeleteItem(int index) override {
        if (!InRange(index)) return;
        items_.erase(items_.begin() + index);
        selected_ = shared::SelectionAfterRemoval(selected_, index);
    }
    void Clear() override { items_.clear(); selected_ = -1; }
    int SelectedIndex() const override { return selected_; }
    void SetSelectedIndex(int index) override { selected_ = InRange(index) ? index : -1; }
    int ItemHeight() const override { return itemHeight_; }

private:
    bool InRange(int index) const { return index >= 0 && index < Count(); }
    std::vector<std::string> items_;
    int selected_ = -1;
    int itemHeight_;
};

class SimWindow;

class SimListView : public SimControl<ListView> {
public:
    SimListView(const ListViewSpec& desc, const SimWindow& window)
        : SimControl(desc), window_(window), columns_(desc.columns), infoTips_(desc.infoTips),
          multiSelect_(desc.multiSelect) {}

    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    ListColumn Column(int index) const override {
        return index >= 0 && index < ColumnCount() ? columns_[static_cast<std::size_t>(index)]
                                                   : ListColumn{};
    }
    int RowCount() const override { return rows_.Count(); }
    int AddRow(const std::string& caption, std::shared_ptr<void> data) override {
        rows_.Add(caption, std::move(data));
        selected_.push_back(false);
        return RowCount() - 1;
    }
    void DeleteRow(int row) override;
    void Clear() override {
        rows_.Clear();
        selected_.clear();
        focused_ = -1;
    }
    std::string RowCaption(int row) const override { return rows_.Caption(row); }
    std::shared_ptr<void> RowData(int row) const override { return rows_.Data(row); }
    int SubItemCount(int row) const override { return rows_.SubItemCount(row); }
    void AddSubItem(int row, const std::string& text) override { rows_.AddSubItem(row, text); }
    void SetSubItem(int row, int subItem, const std::string& text) override {
        rows_.SetSubItem(row, subItem, text);
    }
    std::string SubItem(int row, int subItem) const override {
        return rows_.SubItem(row, subItem);
    }
    int SelectedRow() const override;
    void SetSelectedRow(int row) override;
    std::vector<int> SelectedRows() const override;
    void SelectAll() override;
    int HitTest(int x, int y) const override;
    Point RowScreenPoint(int row) const override;
    void Redraw() override { ++redrawCount_; }
    int RedrawCount() const { return redrawCount_; }
    // The tip the list view would show with the mouse resting on row; empty for none.
    std::string InfoTip(int row) const;

    void SetColumnWidth(int column, int width) override {
        if (column >= 0 && column < ColumnCount())
            columns_[static_cast<std::size_t>(column)].width = std::max(width, 0);
    }
    void SetSortArrow(int column, SortArrow arrow) override {
        if (column >= 0 && column < ColumnCount())
            arrows_[static_cast<std::size_t>(column)] = arrow;
    }
    SortArrow SortArrowOf(int column) const override {
        return column >= 0 && column < ColumnCount() ? arrows_[static_cast<std::size_t>(column)]
                                                     : SortArrow::None;
    }
    bool MultiSelect() const { return multiSelect_; }
    bool RowSelected(int row) const {
        return rows_.InRange(row) && selected_[static_cast<std::size_t>(row)];
    }
    // Ctrl with a left press on a row: the row's selection turned over, the focus on it.
    void ToggleRow(int row);
    void FocusRow(int row) {
        if (rows_.InRange(row)) focused_ = row;
    }

private:
    const SimWindow& window_;
    std::vector<ListColumn> columns_;
    std::vector<SortArrow> arrows_ = std::vector<SortArrow>(columns_.size(), SortArrow::None);
    bool infoTips_ = false;
    bool multiSelect_ = false;
    shared::ListRows rows_;
    std::vector<bool> selected_;  // one flag per row
    int focused_ = -1;
    int redrawCount_ = 0;
};

class SimTimer : public shared::TimerBase {
public:
    SimTimer(SimUiImpl& ui, std::string name) : TimerBase(std::move(name)), ui_(&ui) {}
    ~SimTimer() override;

    // When the next tick is due, on the simulated clock.
    std::uint64_t NextDue() const { return nextDue_; }
    void Restart();
    void Detach() { ui_ = nullptr; }

protected:
    void Changed() override { Restart(); }

private:
    SimUiImpl* ui_;
    std::uint64_t nextDue_ = 0;
};

}  // namespace platform::sim
