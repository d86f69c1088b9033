#include "view/RenamerListCtrl.h"

#include "res/CommandIds.h"
#include "ribbon/RibbonAccess.h"
#include "wxplatform/WxText.h"

#include <algorithm>

namespace tesslin {

bool CRenamerListCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                              const wxSize& size, const wxString& caption) {
    if (!wxListCtrl::Create(parent, id, pos, size, wxLC_REPORT | wxLC_VIRTUAL)) {
        return false;
    }
    AppendColumn(caption, wxLIST_FORMAT_LEFT, 500);
    // A row whose state changes to selected or focused copies its path into the name box.
    // The generic list reports a state change as one of these three events; a row that
    // loses its selection but keeps the focus still counts (see OnItemStateChanged).
    Bind(wxEVT_LIST_ITEM_SELECTED, &CRenamerListCtrl::OnItemStateChanged, this);
    Bind(wxEVT_LIST_ITEM_FOCUSED, &CRenamerListCtrl::OnItemStateChanged, this);
    Bind(wxEVT_LIST_ITEM_DESELECTED, &CRenamerListCtrl::OnItemStateChanged, this);
    return true;
}

CRenamerListCtrl::~CRenamerListCtrl() {
    // The base class's destructor still reports selection and focus changes while it tears
    // its items down; by then this object is no longer a CRenamerListCtrl and its rows are
    // gone, so the handler must not hear them.
    Unbind(wxEVT_LIST_ITEM_SELECTED, &CRenamerListCtrl::OnItemStateChanged, this);
    Unbind(wxEVT_LIST_ITEM_FOCUSED, &CRenamerListCtrl::OnItemStateChanged, this);
    Unbind(wxEVT_LIST_ITEM_DESELECTED, &CRenamerListCtrl::OnItemStateChanged, this);
}

void CRenamerListCtrl::SetRows(PathList rows) {
    // Emptying the control first drops its selection and focus; its focus event then names
    // no row, so no box is written while the rows are replaced.
    m_rows.Clear();
    DeleteAllItems();
    m_rows = std::move(rows);
    SetItemCount(static_cast<long>(m_rows.size()));
    Refresh();
}

void CRenamerListCtrl::DeleteRow(long row) {
    if (row < 0 || row >= static_cast<long>(m_rows.size())) {
        return;
    }
    // The control shifts the selection of the rows below; the data must move with it.
    m_rows.Erase(static_cast<std::size_t>(row));
    DeleteItem(row);
}

std::string CRenamerListCtrl::Row(long row) const {
    std::string text = m_rows.Text(static_cast<std::size_t>(row));
#ifdef _WIN32
    // The scan joins with the separator the user's root holds; the list shows Windows' own.
    std::replace(text.begin(), text.end(), '/', '\\');
#endif
    return text;
}

void CRenamerListCtrl::RemoveRows(const std::set<std::string>& paths) {
    PathList kept;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (paths.count(Row(static_cast<long>(row))) == 0) {
            kept.Append(m_rows, row, row + 1);
        }
    }
    SetRows(std::move(kept));
}

long CRenamerListCtrl::FirstSelectedRow() const {
    return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

int CRenamerListCtrl::NameBoxId() const {
    return m_bSubtitleList ? ids::kEditSubtitleFileName : ids::kEditVideoFileName;
}

wxString CRenamerListCtrl::OnGetItemText(long item, long column) const {
    if (column != 0 || item < 0 || item >= static_cast<long>(m_rows.size())) {
        return {};
    }
    return PathToWx(Row(item));
}

void CRenamerListCtrl::OnItemStateChanged(wxListEvent& event) {
    const long row = event.GetIndex();
    if (event.GetEventType() == wxEVT_LIST_ITEM_DESELECTED) {
        // A row that loses only its selection and keeps the focus is still focused
        // afterwards, so it is copied again; one that loses both leaves the box alone.
        if (row >= 0 && row < GetItemCount() && GetItemState(row, wxLIST_STATE_FOCUSED) != 0) {
            CopyRowToNameBox(row);
        }
    } else {
        CopyRowToNameBox(row);
    }
    event.Skip();
}

void CRenamerListCtrl::CopyRowToNameBox(long row) const {
    // Emptying the list reports a focus change to "no row" (-1).
    if (row < 0 || row >= static_cast<long>(m_rows.size())) {
        return;
    }
    SetRibbonEditText(NameBoxId(), Row(row));
}

void FillFileList(PathList paths, CRenamerListCtrl& list) {
    list.SetRows(std::move(paths));
}

} // namespace tesslin
