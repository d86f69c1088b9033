// The about box from the tab row's button: its caption, icon, text and default button, and
// Escape ending it like OK.
#include "tests/gui/GuiTest.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "ribbon/TabRow.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace tesslin::test {
namespace {

class ExpectAboutBox : public wxExpectModalBase<CAboutDlg, ExpectAboutBox> {
protected:
    int OnInvoked(CAboutDlg* dlg) const override {
        EXPECT_EQ(Utf8(dlg->GetTitle()), "TesslinGUI 정보");
        bool text = false;
        bool icon = false;
        for (wxWindow* child : dlg->GetChildren()) {
            if (auto* label = dynamic_cast<wxStaticText*>(child)) {
                text = text || Utf8(label->GetLabel()) == "TesslinGUI, 버전 0.1";
            }
            if (auto* picture = dynamic_cast<wxStaticBitmap*>(child)) {
                icon = icon || picture->GetBitmap().IsOk();
            }
        }
        EXPECT_TRUE(text);
        EXPECT_TRUE(icon);
        auto* ok = dynamic_cast<wxButton*>(dlg->FindWindow(wxID_OK));
        EXPECT_NE(ok, nullptr);
        if (ok) {
            EXPECT_EQ(Utf8(ok->GetLabel()), "확인");
            EXPECT_EQ(dlg->GetDefaultItem(), ok);
        }
        // Escape and the close box end it as OK does: there is no cancel button.
        EXPECT_EQ(dlg->GetEscapeId(), wxID_OK);
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override { return "the about box"; }
};

using AboutBox = AppWindowTest;

TEST_F(AboutBox, TheTabRowsButtonShowsCaptionIconVersionAndDefaultOk) {
    wxTEST_DIALOG(Frame().GetTabRow().AboutButton().Click(), ExpectAboutBox());
}

} // namespace
} // namespace tesslin::test
