// The preview of the proposed pair renames ("짝 찾기"): one row per proposal with a check
// box, the current name, the new name (both below the folder named above the list, which
// holds them all; a name too long for its column is cut in the middle) and the rule that
// found the pair, all checked at first. The name columns share whatever width the dialog
// gives them. Space flips the check of the selected rows (all take the opposite of the
// focused row's), "모두 선택" and "모두 해제" check or clear every row, and a line below the
// list says how many of how many rows are checked; another shows the selected row's outcome
// in full, wrapped.
//
// "이름 변경" renames every checked row with the move that never replaces, one row after the
// other, on a worker thread while the window stays live (view/ScanInWindow.h): the status bar
// shows "N / M", and Esc or "취소" stops the batch after the rename in hand. Then each row
// shows what happened; rows not reached say so. The renames done go into the program's undo
// history as one batch. "닫기" closes.
#pragma once

#include "match/PairMatcher.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxButton;
class wxListCtrl;
class wxListEvent;
class wxSizeEvent;
class wxStaticText;

namespace tesslin {

class RenameHistory;

class CSuggestionsDialog : public wxDialog {
public:
    CSuggestionsDialog(wxWindow* parent, std::vector<PairProposal> proposals,
                       RenameHistory& history);
    ~CSuggestionsDialog() override;

    // What the "이름 변경" button does. Once only: the button is disabled afterwards. True
    // when a close of the main window arrived meanwhile (the dialog should end at once).
    bool RenameChecked();

    // The proposals that were renamed, in row order (pointing into the dialog's own).
    const std::vector<const PairProposal*>& Renamed() const { return m_renamed; }

    // The list: column 0 the current name, 1 the new name, 2 the rule, 3 the outcome.
    wxListCtrl& List() const { return *m_list; }
    // The line that counts the checked rows, and the one with the selected row's outcome.
    wxString CountText() const;
    wxString DetailText() const;

    // What the list shows (its rows are drawn from these).
    wxString CellText(long row, long column) const;
    bool Checked(long row) const { return m_checked[std::size_t(row)] != 0; }

private:
    void SetChecked(long row, bool checked);
    void CheckAll(bool checked);
    void ToggleSelected();
    void ShowCount();
    void ShowDetail();
    void OnRowShown(wxListEvent& event);
    void OnListSize(wxSizeEvent& event);
    void FitColumns();

    std::vector<PairProposal> m_proposals;
    std::vector<char> m_checked;
    std::vector<std::string> m_outcomes; // per row; empty until the batch ran
    std::size_t m_checkedCount = 0;
    std::string m_folder; // the common folder, with its final separator
    RenameHistory& m_history;
    std::vector<const PairProposal*> m_renamed;
    wxListCtrl* m_list = nullptr;
    wxStaticText* m_count = nullptr;
    wxStaticText* m_detail = nullptr;
    wxButton* m_renameButton = nullptr;
    std::vector<wxWindow*> m_choosers; // the select all / none buttons
};

// The rule's name as the window shows it ("episode" -> "같은 회차").
std::string RuleCaption(const std::string& rule);

} // namespace tesslin
