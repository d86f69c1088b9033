// The status bar: one pane, fifty x wide, showing the root folder whole or cut in the middle,
// never blank because a cut fell inside a character.
#include "tests/gui/GuiTest.h"

#include "app/MainFrame.h"
#include "app/RootFolderText.h"
#include "ribbon/RibbonAccess.h"
#include "wxplatform/WxText.h"

#include <wx/menu.h>
#include <wx/statusbr.h>

namespace tesslin::test {
namespace {

const std::string kPrefix = "루트 폴더: ";

TEST(RootFolderText, CutsLongPathsInTheMiddleOnCharacterBoundaries) {
    struct Case {
        const char* what;
        std::string path;
        std::string shown;
    };
    const std::string fifty = "/" + std::string(48, 'a') + "z";    // 50 bytes
    const std::string fiftyOne = "/" + std::string(49, 'b') + "z"; // 51 bytes
    // 57 bytes; byte 20 falls inside "영", the last 20 bytes would start inside "모".
    const std::string hangul = "/home/사용자/동영상/드라마 모음/시즌1/자막";
    const Case cases[] = {
        {"empty", "", ""},
        {"50 bytes, whole", fifty, fifty},
        {"51 bytes, cut", fiftyOne,
         "/" + std::string(19, 'b') + " ... " + std::string(19, 'b') + "z"},
        {"cut inside Hangul on both sides", hangul, "/home/사용자/동 ... 음/시즌1/자막"},
        {"stray bytes count as one each",
         std::string("/\xB0\xB1\xB2") + std::string(60, 'c') + "\xC0",
         std::string("/\xB0\xB1\xB2") + std::string(16, 'c') + " ... " + std::string(19, 'c') +
             "\xC0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RootFolderText(c.path), c.shown) << c.what;
    }
    // Neither side ever holds more than 20 bytes.
    const std::string cut = RootFolderText(hangul);
    const size_t dots = cut.find(" ... ");
    ASSERT_NE(dots, std::string::npos);
    EXPECT_LE(dots, 20u);
    EXPECT_LE(cut.size() - dots - 5, 20u);
}

using StatusPane = AppWindowTest;

TEST_F(StatusPane, IsOnePaneFiftyXWideShowingTheRootFolderEvenWhenItIsNotUtf8) {
    wxStatusBar* bar = Frame().GetStatusBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetFieldsCount(), 1);
    EXPECT_EQ(bar->GetStatusWidth(0), bar->GetTextExtent(wxString('x', 50)).x);
    for (const std::string& path :
         {std::string(), std::string("/\xB0\xB1/") + std::string(60, 'x')}) {
        ShowRootFolder(path);
        EXPECT_EQ(StatusText(), kPrefix + RootFolderText(path)) << path;
    }

    // A menu that opens, highlights an item and closes leaves the pane alone.
    ShowRootFolder("");
    wxMenu menu;
    for (const wxEventType type : {wxEVT_MENU_OPEN, wxEVT_MENU_HIGHLIGHT, wxEVT_MENU_CLOSE}) {
        wxMenuEvent event(type, 1, &menu);
        Frame().HandleWindowEvent(event);
        EXPECT_EQ(StatusText(), kPrefix);
    }
}

} // namespace
} // namespace tesslin::test
