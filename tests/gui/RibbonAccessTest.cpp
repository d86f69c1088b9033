// The ribbon access helpers on every edit box: what is set is shown and read back byte for
// byte (Korean text, bytes that are not UTF-8), setting sends no text-changed command, what
// the user types is what is read, and without a window nothing breaks.
#include "tests/gui/GuiTest.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "res/CommandIds.h"
#include "ribbon/RibbonAccess.h"
#include "wxplatform/WxText.h"

#include <wx/docview.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace tesslin::test {
namespace {

const int kEditBoxes[] = {ids::kEditSubtitleExtensionList,  ids::kEditVideoExtensionList,
                          ids::kEditVideoRegularExpression, ids::kEditSubtitleRegularExpression,
                          ids::kEditVideoFileName,          ids::kEditSubtitleFileName};

using RibbonAccess = AppWindowTest;

TEST_F(RibbonAccess, SetTextIsShownAndReadBackOnEveryBox) {
    wxView* view = wxGetApp().GetDocManager()->GetAnyUsableView();
    ASSERT_NE(view, nullptr);
    int textEvents = 0;
    view->Bind(wxEVT_TEXT, [&](wxCommandEvent&) { ++textEvents; });

    const std::string texts[] = {"", "avi mkv mp4", "/tmp/동영상/드라마 1화.mkv",
                                 "/srv/\xB0\xA1\xC0\xBD/cp949.smi", "^(?:[0-9]+)\\.ass$"};
    for (int id : kEditBoxes) {
        auto* box = dynamic_cast<wxTextCtrl*>(Frame().FindRibbonControl(id));
        ASSERT_NE(box, nullptr) << id;
        for (const std::string& text : texts) {
            SetRibbonEditText(id, text);
            EXPECT_EQ(GetRibbonEditText(id), text) << id;
            EXPECT_EQ(box->GetValue(), PathToWx(text)) << id;
            if (!text.empty()) {
                EXPECT_FALSE(box->GetValue().empty()) << id << " shows nothing for " << text;
            }
        }
    }
    EXPECT_EQ(textEvents, 0);
}

TEST_F(RibbonAccess, ReadsWhatTheUserTyped) {
    Frame().Raise();
    PumpUntil([&] { return Frame().IsActive(); }, 2.0);
    Frame().ActivateCategory(2);
    auto* box = dynamic_cast<wxTextCtrl*>(Frame().FindRibbonControl(ids::kEditVideoFileName));
    box->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == box; }));
    wxUIActionSimulator().Text("movie.mkv");
    Pump();
    EXPECT_EQ(GetRibbonEditText(ids::kEditVideoFileName), "movie.mkv");
}

TEST_F(RibbonAccess, UnknownIdsAndAMissingWindowAreHarmless) {
    EXPECT_EQ(GetRibbonEditText(ids::kCheckRecursive), "");
    EXPECT_EQ(GetRibbonEditText(12345), "");
    SetRibbonEditText(12345, "x");
    CloseWindow();
    EXPECT_EQ(GetRibbonEditText(ids::kEditVideoFileName), "");
    SetRibbonEditText(ids::kEditVideoFileName, "x");
    ShowRootFolder("/tmp");
}

} // namespace
} // namespace tesslin::test
