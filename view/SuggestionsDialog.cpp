#include "view/SuggestionsDialog.h"

#include "rename/RenameBatch.h"
#include "res/CommandIds.h"
#include "view/ScanInWindow.h"
#include "wxplatform/WxText.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <boost/filesystem/path.hpp>

namespace tesslin {

namespace {

constexpr const char* kTitle = "짝 찾기";
constexpr const char* kFolder = "폴더: ";
constexpr const char* kRename = "이름 변경";
constexpr const char* kClose = "닫기";
constexpr const char* kCancel = "취소";
constexpr const char* kCheckAll = "모두 선택";
constexpr const char* kCheckNone = "모두 해제";
constexpr const char* kColumns[] = {"현재 이름", "새 이름", "규칙", "결과"};
constexpr const char* kRenamed = "변경됨";
constexpr const char* kNotChecked = "선택 안 됨";
constexpr const char* kNotReached = "취소되어 하지 않음";
constexpr int kRuleWidth = 90;
constexpr int kOutcomeWidth = 120;

// The separators of a path: "/" and, on Windows, "\\" as well.
const char kSeparators[] = {'/', static_cast<char>(boost::filesystem::path::preferred_separator),
                            '\0'};

// The folder that holds every name of the proposals, current and new (a subtitle in "Subs"
// moves up), with its final separator: the rows show the names below it, which keeps them
// short enough to read side by side.
std::string CommonFolder(const std::vector<PairProposal>& proposals) {
    if (proposals.empty()) {
        return {};
    }
    std::string common = proposals.front().existingName;
    common.erase(common.find_last_of(kSeparators) + 1);
    for (const PairProposal& p : proposals) {
        for (const std::string* name : {&p.existingName, &p.newName}) {
            while (!common.empty() && name->compare(0, common.size(), common) != 0) {
                common.erase(common.find_last_of(kSeparators, common.size() - 2) + 1);
            }
        }
    }
    return common;
}

std::string Count(std::size_t n) {
    return std::to_string(n) + "개";
}

// The list draws only the rows on screen and asks the dialog for their texts and checks, so
// that 150,000 proposals open at once; a name wider than its column is cut in the middle,
// where rows of one series differ least.
class PreviewList : public wxListCtrl {
public:
    explicit PreviewList(CSuggestionsDialog* owner)
        : wxListCtrl(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL),
          m_owner(*owner) {}

protected:
    wxString OnGetItemText(long item, long column) const override {
        const wxString text = m_owner.CellText(item, column);
        if (column > 1) {
            return text;
        }
        // The check box takes part of the first column.
        const int room = GetColumnWidth(int(column)) - (column == 0 ? 32 : 12);
        wxClientDC dc(const_cast<PreviewList*>(this));
        dc.SetFont(GetFont());
        return wxControl::Ellipsize(text, dc, wxELLIPSIZE_MIDDLE, std::max(room, 20));
    }
    bool OnGetItemIsChecked(long item) const override { return m_owner.Checked(item); }

private:
    const CSuggestionsDialog& m_owner;
};

} // namespace

std::string RuleCaption(const std::string& rule) {
    if (rule == "name") {
        return "같은 이름";
    }
    if (rule == "language") {
        return "언어 태그";
    }
    if (rule == "episode") {
        return "같은 회차";
    }
    if (rule == "title") {
        return "같은 제목";
    }
    return rule;
}

CSuggestionsDialog::CSuggestionsDialog(wxWindow* parent, std::vector<PairProposal> proposals,
                                       RenameHistory& history)
    : wxDialog(parent, wxID_ANY, FromUtf8(kTitle), wxDefaultPosition, wxSize(900, 480),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_proposals(std::move(proposals)), m_checked(m_proposals.size(), 1),
      m_outcomes(m_proposals.size()), m_checkedCount(m_proposals.size()),
      m_folder(CommonFolder(m_proposals)), m_history(history) {
    m_list = new PreviewList(this);
    m_list->EnableCheckBoxes();
    for (const char* caption : kColumns) {
        m_list->AppendColumn(FromUtf8(caption));
    }
    m_list->SetItemCount(long(m_proposals.size()));
    m_count = new wxStaticText(this, wxID_ANY, wxString());
    m_detail = new wxStaticText(this, wxID_ANY, wxString());

    m_renameButton = new wxButton(this, wxID_OK, FromUtf8(kRename));
    auto* cancel = new wxButton(this, ids::kCancelScan, FromUtf8(kCancel));
    cancel->Hide(); // shown while the batch runs
    auto* close = new wxButton(this, wxID_CANCEL, FromUtf8(kClose));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    for (const auto& [caption, state] :
         {std::pair{kCheckAll, true}, std::pair{kCheckNone, false}}) {
        auto* chooser = new wxButton(this, wxID_ANY, FromUtf8(caption));
        chooser->Bind(wxEVT_BUTTON, [this, all = state](wxCommandEvent&) { CheckAll(all); });
        buttons->Add(chooser, 0, wxRIGHT, 8);
        m_choosers.push_back(chooser);
    }
    buttons->Add(m_count, 0, wxALIGN_CENTER_VERTICAL);
    buttons->AddStretchSpacer();
    buttons->Add(m_renameButton, 0, wxRIGHT, 8);
    buttons->Add(cancel, 0, wxRIGHT, 8);
    buttons->Add(close);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, FromUtf8(kFolder) + PathToWx(m_folder)), 0,
               wxLEFT | wxRIGHT | wxTOP, 8);
    sizer->Add(m_list, 1, wxEXPAND | wxALL, 8);
    sizer->Add(m_detail, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(sizer);
    Layout();
    FitColumns();
    ShowCount();
    m_renameButton->SetDefault();

    m_list->Bind(wxEVT_SIZE, &CSuggestionsDialog::OnListSize, this);
    // A click on a check box flips it through the list; the list keeps no checks of its own.
    m_list->Bind(wxEVT_LIST_ITEM_CHECKED,
                 [this](wxListEvent& e) { SetChecked(e.GetIndex(), true); });
    m_list->Bind(wxEVT_LIST_ITEM_UNCHECKED,
                 [this](wxListEvent& e) { SetChecked(e.GetIndex(), false); });
    m_list->Bind(wxEVT_LIST_ITEM_FOCUSED, &CSuggestionsDialog::OnRowShown, this);
    m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CSuggestionsDialog::OnRowShown, this);
    m_list->Bind(wxEVT_CHAR, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_SPACE && !event.HasModifiers()) {
            ToggleSelected();
        } else {
            event.Skip();
        }
    });
    // The button renames and keeps the dialog open, so the user reads the outcome per row.
    m_renameButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const bool wasModal = IsModal();
        const bool closing = RenameChecked();
        if (wasModal && !IsModal()) {
            // Ended while the batch ran (a signal ends the open boxes): the end was asked for
            // from the batch's own loop, which the toolkit does not pass on to this dialog's.
            if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
                loop->Exit(GetReturnCode());
            }
        } else if (closing && IsModal()) {
            EndModal(wxID_CANCEL);
        }
    });
    SetEscapeId(wxID_CANCEL);
}

wxString CSuggestionsDialog::CellText(long row, long column) const {
    const PairProposal& p = m_proposals[std::size_t(row)];
    switch (column) {
    case 0:
        return PathToWx(p.existingName.substr(m_folder.size()));
    case 1:
        return PathToWx(p.newName.substr(m_folder.size()));
    case 2:
        return FromUtf8(RuleCaption(p.rule));
    default:
        return PathToWx(m_outcomes[std::size_t(row)]);
    }
}

void CSuggestionsDialog::FitColumns() {
    const int width = m_list->GetClientSize().x;
    const int names = std::max((width - kRuleWidth - kOutcomeWidth) / 2, 80);
    m_list->SetColumnWidth(0, names);
    m_list->SetColumnWidth(1, names);
    m_list->SetColumnWidth(2, kRuleWidth);
    m_list->SetColumnWidth(3, std::max(width - 2 * names - kRuleWidth, kOutcomeWidth));
}

void CSuggestionsDialog::SetChecked(long row, bool checked) {
    if (!m_renameButton->IsEnabled()) {
        m_list->RefreshItem(row); // after the batch the checks stay as they were renamed
        return;
    }
    char& mark = m_checked[std::size_t(row)];
    if (bool(mark) != checked) {
        mark = checked;
        m_checkedCount += checked ? 1 : -1;
        m_list->RefreshItem(row);
    }
    ShowCount();
}

void CSuggestionsDialog::CheckAll(bool checked) {
    std::fill(m_checked.begin(), m_checked.end(), checked);
    m_checkedCount = checked ? m_checked.size() : 0;
    m_list->Refresh();
    ShowCount();
}

void CSuggestionsDialog::ToggleSelected() {
    long focused = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    if (focused < 0) {
        focused = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    }
    if (focused < 0) {
        return;
    }
    // One state for all, so that a mixed selection does not stay mixed.
    const bool checked = !Checked(focused);
    SetChecked(focused, checked);
    for (long row = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = m_list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        SetChecked(row, checked);
    }
}

// The list outlives this part of the dialog: the base class destroys it, and as it goes it
// still reports its focus and size, which must not reach a dialog that is half gone.
CSuggestionsDialog::~CSuggestionsDialog() {
    m_list->Unbind(wxEVT_LIST_ITEM_FOCUSED, &CSuggestionsDialog::OnRowShown, this);
    m_list->Unbind(wxEVT_LIST_ITEM_SELECTED, &CSuggestionsDialog::OnRowShown, this);
    m_list->Unbind(wxEVT_SIZE, &CSuggestionsDialog::OnListSize, this);
}

void CSuggestionsDialog::OnRowShown(wxListEvent&) {
    ShowDetail();
}

void CSuggestionsDialog::OnListSize(wxSizeEvent& event) {
    event.Skip();
    FitColumns();
}

wxString CSuggestionsDialog::CountText() const {
    return m_count->GetLabel();
}

wxString CSuggestionsDialog::DetailText() const {
    return m_detail->GetLabel();
}

void CSuggestionsDialog::ShowCount() {
    m_count->SetLabel(
        FromUtf8(Count(m_proposals.size()) + " 중 " + Count(m_checkedCount) + " 선택"));
    Layout();
}

void CSuggestionsDialog::ShowDetail() {
    const long row = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    if (row < 0) {
        return;
    }
    const PairProposal& p = m_proposals[std::size_t(row)];
    std::string text = p.existingName + "\n→ " + p.newName;
    if (!m_outcomes[std::size_t(row)].empty()) {
        text += "\n" + m_outcomes[std::size_t(row)];
    }
    m_detail->SetLabelText(PathToWx(text));
    m_detail->Wrap(std::max(GetClientSize().x - 16, 100));
    Layout();
}

bool CSuggestionsDialog::RenameChecked() {
    if (!m_renameButton->IsEnabled()) {
        return false;
    }
    m_renameButton->Disable();
    std::vector<std::size_t> rows;
    std::vector<RenameStep> steps;
    rows.reserve(m_checkedCount);
    steps.reserve(m_checkedCount);
    for (std::size_t row = 0; row < m_proposals.size(); ++row) {
        if (m_checked[row]) {
            rows.push_back(row);
            steps.push_back({m_proposals[row].existingName, m_proposals[row].newName});
        } else {
            m_outcomes[row] = kNotChecked;
        }
    }

    BatchProgress progress;
    progress.total = steps.size();
    std::vector<StepResult> results;
    WindowWork work;
    work.stop = &progress.stop;
    work.status = [&progress] {
        return "이름 변경 중: " + std::to_string(progress.finished.load()) + " / " +
               std::to_string(progress.total.load()) + " (Esc: 취소)";
    };
    work.work = [&] { results = RunRenames(steps, &progress); };
    wxWindow* cancel = FindWindow(ids::kCancelScan);
    m_list->Disable();
    for (wxWindow* w : m_choosers) {
        w->Disable();
    }
    cancel->Show();
    Layout();
    const bool closing = RunWorkInWindow(work);
    cancel->Hide();
    m_list->Enable();

    // What was done stays done and is undone as one batch, also when the batch was stopped.
    m_history.Record(results);
    std::size_t done = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string& outcome = m_outcomes[rows[i]];
        if (i >= results.size()) {
            outcome = kNotReached;
        } else if (results[i].done) {
            ++done;
            m_renamed.push_back(&m_proposals[rows[i]]);
            outcome = kRenamed;
        } else {
            outcome = results[i].error;
        }
    }
    m_count->SetLabel(FromUtf8(Count(rows.size()) + " 중 " + Count(done) + " 변경, " +
                               Count(results.size() - done) + " 실패, " +
                               Count(rows.size() - results.size()) + " 취소"));
    m_list->Refresh();
    ShowDetail();
    Layout();
    return closing;
}

} // namespace tesslin
