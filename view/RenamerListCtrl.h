// The list control of the main view's two file lists: one column, one row per file, the
// file's full path as the row's text.
//
// The list is virtual: it keeps the rows as the scan's own compact path list and draws only the
// rows on screen, so a scan of 100,000 unmatched files fills it at once and is held once. When the
// user selects or focuses a row, its full path goes into the ribbon's name box of this list (32817
// for the video list, 32818 for the subtitle list); the rename command takes its names from those
// boxes.
#pragma once

#include <wx/listctrl.h>

#include "scan/PathList.h"

#include <set>
#include <string>

namespace tesslin {

class CRenamerListCtrl : public wxListCtrl {
public:
    CRenamerListCtrl() = default;
    ~CRenamerListCtrl() override;

    // Creates the window: report mode, several rows selectable, not sorted, one
    // left-aligned column 0 with `caption`, 500 pixels wide.
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                const wxString& caption);

    // false: the video list, whose rows go to box 32817; true: the subtitle list (32818).
    // Set right after Create, before any row exists.
    bool m_bSubtitleList = false;

    // Replaces every row by `rows`, in order; a row's text is its path's bytes. Sends no
    // selection event and writes no box.
    void SetRows(PathList rows);

    long RowCount() const { return static_cast<long>(m_rows.size()); }
    // Every row, as the list holds them.
    const PathList& Rows() const { return m_rows; }

    // The row's full path as bytes (UTF-8 on Windows), with the platform's separators; `row`
    // must be a valid index.
    std::string Row(long row) const;

    // Removes one row; the rows after it move up and keep their selection. A row index
    // outside the list is ignored.
    void DeleteRow(long row);

    // Removes every row whose path (as bytes) is in `paths`; the others keep their order.
    // The selection is cleared.
    void RemoveRows(const std::set<std::string>& paths);

    // The lowest-index selected row, or -1 when no row is selected.
    long FirstSelectedRow() const;

    // The command ID of the ribbon box that this list's rows go to.
    int NameBoxId() const;

protected:
    wxString OnGetItemText(long item, long column) const override;

private:
    void OnItemStateChanged(wxListEvent& event);
    void CopyRowToNameBox(long row) const;

    PathList m_rows;
};

// Replaces all rows of `list` by `paths`, in order, each taken byte for byte. The paths move
// into the list: a scan's result is not copied.
void FillFileList(PathList paths, CRenamerListCtrl& list);

} // namespace tesslin
