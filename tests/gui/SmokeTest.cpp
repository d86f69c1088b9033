// The program starts as a user sees it: one window with the ribbon and a new document.
#include "tests/gui/GuiTest.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"

#include <wx/docview.h>
#include <wx/ribbon/bar.h>

namespace tesslin::test {
namespace {

using StartUp = AppWindowTest;

TEST_F(StartUp, OpensOneWindowWithANewDocumentTitledFromTheApplication) {
    EXPECT_TRUE(Frame().IsShown());
    EXPECT_EQ(Ribbon().GetPageCount(), 2u);
    wxDocManager* manager = wxGetApp().GetDocManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetDocumentsVector().size(), 1u);
    EXPECT_TRUE(Frame().GetTitle().EndsWith(" - TesslinGUI")) << Utf8(Frame().GetTitle());
    ASSERT_NE(Frame().GetViewWindow(), nullptr);
    EXPECT_GT(Frame().GetViewWindow()->GetSize().y, 100);
}

} // namespace
} // namespace tesslin::test
