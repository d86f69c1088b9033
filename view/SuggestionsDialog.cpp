#include "view/SuggestionsDialog.h"

#include "rename/RenameBatch.h"
#include "wxplatform/WxText.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <boost/filesystem/path.hpp>

namespace tesslin {

namespace {

constexpr const char* kTitle = "짝 찾기";
constexpr const char* kFolder = "폴더: ";
constexpr const char* kRename = "이름 변경";
constexpr const char* kClose = "닫기";
constexpr const char* kColumns[] = {"현재 이름", "새 이름", "규칙", "결과"};
constexpr const char* kRenamed = "변경됨";
constexpr const char* kNotChecked = "선택 안 됨";

// The separators of a path: "/" and, on Windows, "\\" as well.
const char kSeparators[] = {'/', static_cast<char>(boost::filesystem::path::preferred_separator),
                            '\0'};

// The folder that holds every name of the proposals, with its final separator: the rows show
// the names below it, which keeps them short enough to read side by side.
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
      m_proposals(std::move(proposals)), m_history(history) {
    m_list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL);
    m_list->EnableCheckBoxes();
    const int widths[] = {330, 330, 90, 120};
    for (int column = 0; column < 4; ++column) {
        m_list->AppendColumn(FromUtf8(kColumns[column]), wxLIST_FORMAT_LEFT, widths[column]);
    }
    const std::string folder = CommonFolder(m_proposals);
    for (std::size_t i = 0; i < m_proposals.size(); ++i) {
        const PairProposal& p = m_proposals[i];
        const long row =
            m_list->InsertItem(long(i), PathToWx(p.existingName.substr(folder.size())));
        m_list->SetItem(row, 1, PathToWx(p.newName.substr(folder.size())));
        m_list->SetItem(row, 2, FromUtf8(RuleCaption(p.rule)));
        m_list->CheckItem(row, true);
    }

    m_renameButton = new wxButton(this, wxID_OK, FromUtf8(kRename));
    auto* close = new wxButton(this, wxID_CANCEL, FromUtf8(kClose));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(m_renameButton, 0, wxRIGHT, 8);
    buttons->Add(close);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, FromUtf8(kFolder) + PathToWx(folder)), 0,
               wxLEFT | wxRIGHT | wxTOP, 8);
    sizer->Add(m_list, 1, wxEXPAND | wxALL, 8);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    m_renameButton->SetDefault();
    // The button renames and keeps the dialog open, so the user reads the outcome per row.
    m_renameButton->Bind(wxEVT_BUTTON, &CSuggestionsDialog::OnRename, this);
    SetEscapeId(wxID_CANCEL);
}

void CSuggestionsDialog::OnRename(wxCommandEvent&) {
    RenameChecked();
}

void CSuggestionsDialog::RenameChecked() {
    if (!m_renameButton->IsEnabled()) {
        return;
    }
    m_renameButton->Disable();
    std::vector<long> rows;
    std::vector<RenameStep> steps;
    for (long row = 0; row < m_list->GetItemCount(); ++row) {
        if (m_list->IsItemChecked(row)) {
            const PairProposal& p = m_proposals[std::size_t(row)];
            rows.push_back(row);
            steps.push_back({p.existingName, p.newName});
        } else {
            m_list->SetItem(row, 3, FromUtf8(kNotChecked));
        }
    }
    std::vector<StepResult> results;
    {
        wxBusyCursor wait;
        results = RunRenames(steps);
    }
    m_history.Record(results);
    for (std::size_t i = 0; i < results.size(); ++i) {
        const long row = rows[i];
        if (results[i].done) {
            m_renamed.push_back(m_proposals[std::size_t(row)]);
            m_list->SetItem(row, 3, FromUtf8(kRenamed));
        } else {
            m_list->SetItem(row, 3, PathToWx(results[i].error));
        }
    }
    m_list->SetColumnWidth(3, wxLIST_AUTOSIZE);
}

} // namespace tesslin
