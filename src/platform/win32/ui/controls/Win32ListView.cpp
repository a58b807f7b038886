#include "platform/win32/ui/controls/Win32ListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/shared/CutCellTip.h"
#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

namespace {

DWORD ListStyle(const ListViewSpec& desc) {
    return LVS_REPORT | (desc.multiSelect ? 0 : LVS_SINGLESEL) | WS_TABSTOP;
}

void SetRowState(HWND list, WPARAM row, UINT mask, UINT state) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

Win32ListView::Win32ListView(Win32Window& form, const ListViewSpec& desc)
    : Win32Control(form, desc, ChildWindowSpec{WC_LISTVIEWA, ListStyle(desc), WS_EX_CLIENTEDGE}),
      columns_(desc.columns),
      infoTips_(desc.infoTips),
      multiSelect_(desc.multiSelect) {
    const DWORD extended = LVS_EX_FULLROWSELECT | (infoTips_ ? LVS_EX_INFOTIP : 0);
    ::SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns_[i].caption.c_str());
        column.cx = ToPixels(columns_[i].width, form.Dpi());
        column.iSubItem = static_cast<int>(i);
        ::SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

ListColumn Win32ListView::Column(int index) const {
    if (index < 0 || index >= ColumnCount()) return ListColumn{};
    ListColumn column = columns_[static_cast<std::size_t>(index)];
    // The user may have dragged the column's edge.
    const LRESULT width = ::SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, index, 0);
    if (width > 0) column.width = FromPixels(static_cast<int>(width), Form().Dpi());
    return column;
}

void Win32ListView::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= ColumnCount()) return;
    const int pixels = ToPixels(std::max(width, 0), Form().Dpi());
    ::SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, column, MAKELPARAM(pixels, 0));
}

int Win32ListView::HeaderFormat(int column) const {
    const auto header = reinterpret_cast<HWND>(::SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
    if (!header || column < 0 || column >= ColumnCount()) return 0;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.fmt;
}

void Win32ListView::SetSortArrow(int column, SortArrow arrow) {
    const auto header = reinterpret_cast<HWND>(::SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
    if (!header || column < 0 || column >= ColumnCount()) return;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    // The other format flags (text, alignment) stay as the column was made.
    item.fmt = HeaderFormat(column) & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (arrow == SortArrow::Up) item.fmt |= HDF_SORTUP;
    if (arrow == SortArrow::Down) item.fmt |= HDF_SORTDOWN;
    ::SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
}

SortArrow Win32ListView::SortArrowOf(int column) const {
    const int format = HeaderFormat(column);
    if (format & HDF_SORTUP) return SortArrow::Up;
    if (format & HDF_SORTDOWN) return SortArrow::Down;
    return SortArrow::None;
}

void Win32ListView::OnDpiChanged(int oldDpi) {
    // Each column keeps its width, the user's included, at the new scale.
    for (int i = 0; i < ColumnCount(); ++i) {
        const LRESULT width = ::SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, i, 0);
        if (width <= 0) continue;
        const int layout = FromPixels(static_cast<int>(width), oldDpi);
        ::SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, i,
                       MAKELPARAM(ToPixels(layout, Form().Dpi()), 0));
    }
}

int Win32ListView::AddRow(const std::string& caption, std::shared_ptr<void> data) {
    const int index = RowCount();
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(caption.c_str());
    ::SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    rows_.Add(caption, std::move(data));
    return index;
}

void Win32ListView::DeleteRow(int row) {
    if (!rows_.InRange(row)) return;
    ::SendMessageA(Handle(), LVM_DELETEITEM, row, 0);
    rows_.Delete(row);
}

void Win32ListView::Clear() {
    ::SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
    rows_.Clear();
}

void Win32ListView::AddSubItem(int row, const std::string& text) {
    const int added = rows_.AddSubItem(row, text);
    if (added >= 0) ShowSubItem(row, added, text);
}

void Win32ListView::SetSubItem(int row, int subItem, const std::string& text) {
    if (rows_.SetSubItem(row, subItem, text)) ShowSubItem(row, subItem, text);
}

void Win32ListView::ShowSubItem(int row, int subItem, const std::string& text) {
    // Sub-item n is shown in column n + 1; those past the last column are kept but not shown.
    if (subItem + 1 >= ColumnCount()) return;
    LVITEMA item{};
    item.iSubItem = subItem + 1;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(Handle(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

int Win32ListView::SelectedRow() const {
    const WPARAM from = static_cast<WPARAM>(-1);
    LRESULT row = ::SendMessageA(Handle(), LVM_GETNEXTITEM, from, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0) row = ::SendMessageA(Handle(), LVM_GETNEXTITEM, from, LVNI_SELECTED);
    return row < 0 ? -1 : static_cast<int>(row);
}

void Win32ListView::SetSelectedRow(int row) {
    SetRowState(Handle(), static_cast<WPARAM>(-1), LVIS_SELECTED, 0);
    if (rows_.InRange(row))
        SetRowState(Handle(), static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED,
                    LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<int> Win32ListView::SelectedRows() const {
    std::vector<int> rows;
    LRESULT row = -1;
    while ((row = ::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                 LVNI_SELECTED)) >= 0) {
        if (row >= RowCount()) break;
        rows.push_back(static_cast<int>(row));
    }
    return rows;
}

void Win32ListView::SelectAll() {
    if (multiSelect_) SetRowState(Handle(), static_cast<WPARAM>(-1), LVIS_SELECTED, LVIS_SELECTED);
}

Point Win32ListView::RowScreenPoint(int row) const {
    RECT r{};
    POINT at{0, 0};
    if (row >= 0 && row < RowCount()) {
        r.left = LVIR_BOUNDS;
        if (::SendMessageA(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&r)))
            at = POINT{r.left, (r.top + r.bottom) / 2};
    }
    ::ClientToScreen(Handle(), &at);
    return Point{at.x, at.y};
}

int Win32ListView::HitTest(int x, int y) const {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    // The sub-item test finds the row in any column, as whole-row selection shows it.
    LRESULT row = ::SendMessageA(Handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (row < 0 || !(hit.flags & LVHT_ONITEM)) {
        hit = LVHITTESTINFO{};
        hit.pt = POINT{x, y};
        row = ::SendMessageA(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (!(hit.flags & LVHT_ONITEM)) row = -1;
    }
    return row >= 0 && row < RowCount() ? static_cast<int>(row) : -1;
}

void Win32ListView::Redraw() { ::InvalidateRect(Handle(), nullptr, TRUE); }

void Win32ListView::GetInfoTip(NMHDR& header) {
    // Both forms carry the row at the same place; the text differs in width only.
    auto& tip = reinterpret_cast<NMLVGETINFOTIPA&>(header);
    if (!tip.pszText || tip.cchTextMax <= 0) return;
    const int row = tip.iItem;
    std::string text = infoTips_ && rows_.InRange(row) ? RowTip(row) : std::string();
    // An empty text shows no tip, also where the control offered the row's own caption.
    const std::size_t room = static_cast<std::size_t>(tip.cchTextMax) - 1;
    if (text.size() > room) text.resize(room);
    if (header.code == static_cast<UINT>(LVN_GETINFOTIPW)) {
        auto& wide = reinterpret_cast<NMLVGETINFOTIPW&>(header);
        const int written = text.empty() ? 0
                                         : ::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                                 static_cast<int>(text.size()),
                                                                 wide.pszText, wide.cchTextMax - 1);
        wide.pszText[written > 0 ? written : 0] = L'\0';
        return;
    }
    text.copy(tip.pszText, text.size());
    tip.pszText[text.size()] = '\0';
}

std::string Win32ListView::RowTip(int row) {
    std::string tip;
    if (OnGetInfoTip) {
        auto handler = OnGetInfoTip;
        if (Win32Ui* ui = Form().Services()) ui->RunHandler([&] { tip = handler(row); });
    }
    std::vector<int> widths;
    for (int column = 0; column < ColumnCount(); ++column) widths.push_back(Column(column).width);
    // In the list's own font, as the cells are drawn; in the columns' units, not pixels.
    const auto textWidth = [this](const std::string& text) {
        return FromPixels(static_cast<int>(::SendMessageA(Handle(), LVM_GETSTRINGWIDTHA, 0,
                                                          reinterpret_cast<LPARAM>(text.c_str()))),
                          Form().Dpi());
    };
    return shared::CutCellTip(rows_, row, widths, textWidth, tip);
}

bool Win32ListView::OnNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case static_cast<UINT>(NM_CUSTOMDRAW):
            result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
            return true;
        case static_cast<UINT>(LVN_COLUMNCLICK):
            Form().Fire(OnColumnClick, reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            result = 0;
            return true;
        case static_cast<UINT>(LVN_GETINFOTIPA):
        case static_cast<UINT>(LVN_GETINFOTIPW):
            GetInfoTip(header);
            result = 0;
            return true;
        default:
            return false;
    }
}

LRESULT Win32ListView::CustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return OnCustomDrawItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT: {
            Colour colour = kBlack;
            if (OnCustomDrawItem) {
                auto handler = OnCustomDrawItem;
                const int row = static_cast<int>(draw.nmcd.dwItemSpec);
                if (Win32Ui* ui = Form().Services()) ui->RunHandler([&] { colour = handler(row); });
            }
            // The whole row, every column, is drawn in this colour.
            draw.clrText = colour;
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT Win32ListView::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return MouseDown(MouseButton::Left, message, wParam, lParam);
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return MouseDown(MouseButton::Right, message, wParam, lParam);
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            return MouseDown(MouseButton::Middle, message, wParam, lParam);
        case WM_CONTEXTMENU:
            if (inMouseDown_) contextMenuWaiting_ = true;
            else ContextMenu();
            return 0;
        default:
            return CallOriginal(message, wParam, lParam);
    }
}

LRESULT Win32ListView::MouseDown(MouseButton button, UINT message, WPARAM wParam, LPARAM lParam) {
    // The control selects (or clears) first; on Windows it may also track the mouse until the
    // button is released and ask for the context menu meanwhile.
    inMouseDown_ = true;
    contextMenuWaiting_ = false;
    const LRESULT result = CallOriginal(message, wParam, lParam);
    inMouseDown_ = false;
    Form().Fire(OnMouseDown, button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (contextMenuWaiting_) {
        contextMenuWaiting_ = false;
        ContextMenu();
    }
    return result;
}

void Win32ListView::ContextMenu() {
    Win32Ui* ui = Form().Services();
    if (ui) Form().Fire(OnContextMenu, ui->CursorPosition());
}

}  // namespace platform::win32
