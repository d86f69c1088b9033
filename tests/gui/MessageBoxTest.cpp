// The two message boxes: the framework's box (the core's messages) with the exclamation icon,
// the view's box without an icon; both carry the application's title.
#include "tests/gui/GuiTest.h"

#include "platform/MessageSeam.h"
#include "wxplatform/MessageBoxes.h"
#include "wxplatform/WxText.h"

#include <wx/msgdlg.h>

namespace tesslin::test {
namespace {

class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
public:
    ExpectBox(wxString text, long icon, int answer)
        : m_text(std::move(text)), m_icon(icon), m_answer(answer) {}

protected:
    int OnInvoked(wxMessageDialog* dlg) const override {
        EXPECT_EQ(dlg->GetMessage(), m_text);
        EXPECT_EQ(Utf8(dlg->GetTitle()), "TesslinGUI");
        const long icons = wxICON_EXCLAMATION | wxICON_ERROR | wxICON_QUESTION |
                           wxICON_INFORMATION | wxICON_AUTH_NEEDED;
        EXPECT_EQ(dlg->GetMessageDialogStyle() & icons, m_icon);
        return m_answer;
    }
    wxString GetDefaultDescription() const override { return "message box " + m_text; }

private:
    wxString m_text;
    long m_icon;
    int m_answer;
};

using MessageBoxes = AppWindowTest;

TEST_F(MessageBoxes, CoreMessagesUseTheFrameworksBoxWithTheExclamationIcon) {
    const std::string text = "설정 파일을 읽을 수 없습니다: TesslinGUI.ini";
    wxTEST_DIALOG(ShowMessage(text), ExpectBox(FromUtf8(text), wxICON_EXCLAMATION, wxID_OK));
}

TEST_F(MessageBoxes, TheViewsBoxHasNoIconAndReportsTheAnswer) {
    const std::string text = "변경할 파일이 없습니다.";
    wxTEST_DIALOG(EXPECT_EQ(ShowViewMessage(text), wxID_OK), ExpectBox(FromUtf8(text), 0, wxID_OK));
    wxTEST_DIALOG(EXPECT_EQ(ShowViewMessage(text, wxYES_NO), wxID_NO),
                  ExpectBox(FromUtf8(text), 0, wxID_NO));
}

} // namespace
} // namespace tesslin::test
