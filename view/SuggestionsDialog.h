// The preview of the proposed pair renames ("짝 찾기"): one row per proposal with a check
// box, the current name, the new name (both below the folder named above the list, which
// holds them all) and the rule that found the pair, all checked at first. "이름 변경" renames every
// checked row with the move that never replaces, one row after the other, and then shows in each
// row what happened; "닫기" closes. The renames go into the program's undo history as one batch.
#pragma once

#include "match/PairMatcher.h"

#include <wx/dialog.h>

#include <vector>

class wxButton;
class wxListCtrl;

namespace tesslin {

class RenameHistory;

class CSuggestionsDialog : public wxDialog {
public:
    CSuggestionsDialog(wxWindow* parent, std::vector<PairProposal> proposals,
                       RenameHistory& history);

    // What the "이름 변경" button does. Once only: the button is disabled afterwards.
    void RenameChecked();

    // The proposals that were renamed, in row order.
    const std::vector<PairProposal>& Renamed() const { return m_renamed; }

    // The list: column 0 the current name, 1 the new name, 2 the rule, 3 the outcome.
    wxListCtrl& List() const { return *m_list; }

private:
    void OnRename(wxCommandEvent& event);

    std::vector<PairProposal> m_proposals;
    RenameHistory& m_history;
    std::vector<PairProposal> m_renamed;
    wxListCtrl* m_list = nullptr;
    wxButton* m_renameButton = nullptr;
};

// The rule's name as the window shows it ("episode" -> "같은 회차").
std::string RuleCaption(const std::string& rule);

} // namespace tesslin
