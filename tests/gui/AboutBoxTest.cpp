// The about box: its caption, icon, text and default button, and that OK, Escape and the
// close box all just end it.
#include "tests/gui/AppWindowFixture.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "res/CommandIds.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <functional>

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
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override { return "the about box"; }
};

class AboutBox : public AppWindowTest {
protected:
    void SendAbout() {
        wxCommandEvent about(wxEVT_MENU, ids::kAppAbout);
        Frame().ProcessWindowEvent(about);
    }

    // Runs the about box for real and ends it with `close` once it is on screen. Returns false
    // when the box did not end (it is then ended by force so the test goes on).
    bool RunAndEnd(std::function<void(CAboutDlg&)> close) {
        AllowRealModal allow;
        bool closedByTest = false;
        bool forced = false;
        wxTimer timer;
        int ticks = 0;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            CAboutDlg* dlg = nullptr;
            for (wxWindow* window : wxTopLevelWindows) {
                if (auto* found = dynamic_cast<CAboutDlg*>(window); found && found->IsModal()) {
                    dlg = found;
                }
            }
            ++ticks;
            if (!dlg) {
                return;
            }
            if (!closedByTest && ticks > 3) {
                closedByTest = true;
                close(*dlg);
            } else if (closedByTest && ticks > 60) {
                forced = true;
                dlg->EndModal(wxID_CANCEL);
            }
        });
        timer.Start(50);
        SendAbout();
        timer.Stop();
        return closedByTest && !forced;
    }
};

TEST_F(AboutBox, ShowsCaptionIconVersionAndDefaultOk) {
    wxTEST_DIALOG(SendAbout(), ExpectAboutBox());
}

TEST_F(AboutBox, OkEscapeAndTheCloseBoxEndIt) {
    EXPECT_TRUE(RunAndEnd([](CAboutDlg& dlg) {
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(dlg.FindWindow(wxID_OK));
        dlg.FindWindow(wxID_OK)->ProcessWindowEvent(click);
    })) << "OK";
    EXPECT_TRUE(RunAndEnd([](CAboutDlg& dlg) {
        dlg.FindWindow(wxID_OK)->SetFocus();
        wxUIActionSimulator().Char(WXK_ESCAPE);
    })) << "Escape";
    EXPECT_TRUE(RunAndEnd([](CAboutDlg& dlg) { dlg.Close(); })) << "close box";
}

} // namespace
} // namespace tesslin::test
