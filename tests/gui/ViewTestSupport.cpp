#include "tests/gui/ViewTestSupport.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "settings/TesslinGUIDoc.h"
#include "view/FolderPicker.h"
#include "view/RenamerListCtrl.h"
#include "view/TesslinGUIView.h"
#include "wxplatform/WxText.h"

#include <wx/checkbox.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tesslin::test {

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const {
    if (m_out) {
        *m_out = WxToPath(dialog->GetMessage());
    } else {
        EXPECT_EQ(WxToPath(dialog->GetMessage()), m_text);
    }
    if (m_icon) {
        EXPECT_EQ((dialog->GetMessageDialogStyle() & wxICON_EXCLAMATION) != 0, *m_icon)
            << "icon of \"" << m_text << "\"";
    }
    return wxID_OK;
}

wxString ExpectMessage::GetDefaultDescription() const {
    return "message box \"" + PathToWx(m_text) + "\"";
}

ScopedFolderChoice::ScopedFolderChoice(std::optional<std::string> folder)
    : m_folder(std::move(folder)) {
    SetFolderPicker([this](wxWindow*) {
        ++asked;
        return m_folder;
    });
}

ScopedFolderChoice::~ScopedFolderChoice() {
    SetFolderPicker({});
}

namespace {
constexpr unsigned kPermissionOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool SetEffective(unsigned effective, unsigned* old) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    if (old) {
        *old = data[0].effective;
    }
    data[0].effective = effective & data[0].permitted;
    return syscall(SYS_capset, &header, data) == 0;
}

unsigned Effective() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    return syscall(SYS_capget, &header, data) == 0 ? data[0].effective : 0;
}
} // namespace

ScopedPermissionChecks::ScopedPermissionChecks() {
    if (geteuid() != 0) {
        m_ok = true;
        return;
    }
    m_ok = m_lowered = SetEffective(Effective() & ~kPermissionOverrides, &m_savedEffective);
}

ScopedPermissionChecks::~ScopedPermissionChecks() {
    if (m_lowered) {
        SetEffective(m_savedEffective, nullptr);
    }
}

CTesslinGUIView& ViewTest::View() const {
    auto* view = dynamic_cast<CTesslinGUIView*>(wxGetApp().GetDocManager()->GetAnyUsableView());
    EXPECT_NE(view, nullptr);
    return *view;
}

CTesslinGUIDoc& ViewTest::Doc() const {
    return *View().GetDocument();
}

CRenamerListCtrl& ViewTest::VideoList() const {
    return *View().m_videoList;
}

CRenamerListCtrl& ViewTest::SubtitleList() const {
    return *View().m_subtitleList;
}

wxTextCtrl& ViewTest::Box(int id) const {
    auto* box = dynamic_cast<wxTextCtrl*>(Frame().FindRibbonControl(id));
    EXPECT_NE(box, nullptr) << id;
    return *box;
}

wxCheckBox& ViewTest::Check(int id) const {
    auto* check = dynamic_cast<wxCheckBox*>(Frame().FindRibbonControl(id));
    EXPECT_NE(check, nullptr) << id;
    return *check;
}

std::string ViewTest::BoxText(int id) const {
    return WxToPath(Box(id).GetValue());
}

void ViewTest::Type(int id, const std::string& text) const {
    Box(id).SetValue(PathToWx(text));
}

void ViewTest::Click(int id) const {
    wxCheckBox& check = Check(id);
    check.SetValue(!check.GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, check.GetId());
    event.SetEventObject(&check);
    event.SetInt(check.GetValue() ? 1 : 0);
    check.ProcessWindowEvent(event);
    Pump();
}

void ViewTest::Press(int id) const {
    wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id);
    event.SetEventObject(&Ribbon());
    Frame().ProcessWindowEvent(event);
}

void ViewTest::Select(CRenamerListCtrl& list, long row) const {
    list.SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                      wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

std::vector<std::string> ViewTest::Rows(const CRenamerListCtrl& list) const {
    std::vector<std::string> rows;
    for (long i = 0; i < list.GetItemCount(); ++i) {
        // As the list shows them.
        rows.push_back(WxToPath(list.GetItemText(i)));
    }
    return rows;
}

std::string ViewTest::StatusText() const {
    return WxToPath(Frame().GetStatusBar()->GetStatusText(0));
}

int ViewTest::ActiveCategory() const {
    return Ribbon().GetActivePage() + 1;
}

} // namespace tesslin::test
