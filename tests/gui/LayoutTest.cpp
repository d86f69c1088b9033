// The window as a user sees it: the ribbon's categories, panels and elements with their command
// IDs and captions, in order; the application menu, the quick access tools, the style menu and
// the about button with their tooltips, and the about box; the status bar, one pane fifty x
// wide showing the root folder whole or cut in the middle, never inside a character.
#include "tests/gui/GuiTest.h"

#include "app/AboutDlg.h"
#include "app/TesslinGUIApp.h"
#include "res/CommandIds.h"
#include "res/RibbonLayout.h"
#include "ribbon/RibbonAccess.h"
#include "ribbon/TabRow.h"
#include "view/RootFolderText.h"

#include <wx/button.h>
#include <wx/docview.h>
#include <wx/menu.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/tooltip.h>

namespace tesslin::test {
namespace {

// The about box: caption, icon, version, OK as the default button, and Escape ending it as
// OK does.
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

using Elements = std::vector<std::pair<int, std::string>>; // separators as {0, ""}

class Layout : public AppWindowTest {
protected:
    // The command ID of a ribbon control, through the frame's lookup.
    int CommandOf(const wxWindow* control) const {
        for (int id = 32700; id < 32900; ++id) {
            if (Frame().FindRibbonControl(id) == control) {
                return id;
            }
        }
        return -1;
    }

    // Buttons draw their captions themselves: theirs come from the layout table.
    static std::string TableCaption(int id) {
        for (const ribbon::Category& category : ribbon::TheLayout().categories) {
            for (const ribbon::Panel& panel : category.panels) {
                for (const ribbon::Element& e : panel.elements) {
                    if (e.id == id) {
                        return e.caption;
                    }
                }
            }
        }
        return "?";
    }

    // The elements of a panel as its windows show them, in order.
    Elements ElementsOf(wxRibbonPanel& panel) const {
        Elements seen;
        wxString caption;
        for (wxWindow* child : panel.GetChildren()) {
            if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(child)) {
                for (size_t i = 0; i < bar->GetButtonCount(); ++i) {
                    const int id = bar->GetItemId(bar->GetItem(i));
                    seen.emplace_back(id, TableCaption(id));
                }
            } else if (auto* label = dynamic_cast<wxStaticText*>(child)) {
                caption = label->GetLabel();
            } else if (dynamic_cast<wxTextCtrl*>(child)) {
                seen.emplace_back(CommandOf(child), Utf8(caption));
                caption.clear();
            } else if (auto* check = dynamic_cast<wxCheckBox*>(child)) {
                seen.emplace_back(CommandOf(child), Utf8(check->GetLabel()));
            } else if (dynamic_cast<wxStaticLine*>(child)) {
                seen.emplace_back(0, "");
            }
        }
        return seen;
    }
};

TEST_F(Layout, EveryPanelShowsItsElementsWithTheirCommandIdsAndCaptions) {
    struct Row {
        const char* category;
        const char* panel;
        Elements elements;
    };
    const Row rows[] = {
        {"홈", "작업", {{32775, "루트 폴더 설정"}, {32776, "영상/자막 파일 스캔"}}},
        {"홈",
         "검색 설정",
         {{32779, "영상 파일 확장자 리스트"},
          {32773, "자막 파일 확장자 리스트"},
          {32774, "하위 폴더도 검색"}}},
        {"홈",
         "정규식 필터",
         {{32781, "영상 파일 정규식 필터"},
          {32782, "자막 파일 정규식 필터"},
          {32783, "정규식 필터도 사용함"}}},
        {"변경 작업",
         "선택된 파일 목록 및 변경 작업",
         {{32817, "영상 파일 이름"},
          {32818, "자막 파일 이름"},
          {0, ""},
          {32821, "파일 이름 변경"}}},
        {"변경 작업",
         "파일 이름 설정",
         {{32819, "자막 파일 이름을 변경"}, {32820, "영상 파일 이름을 변경"}}},
        {"변경 작업",
         "짝 찾기",
         {{32822, "짝 찾기"}, {32823, "되돌리기"}, {32824, "언어 태그 유지"}}},
    };
    size_t row = 0;
    for (size_t c = 0; c < Ribbon().GetPageCount(); ++c) {
        wxRibbonPage* page = Ribbon().GetPage(static_cast<int>(c));
        for (wxWindow* child : page->GetChildren()) {
            if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) {
                ASSERT_LT(row, std::size(rows));
                EXPECT_EQ(Utf8(page->GetLabel()), rows[row].category);
                EXPECT_EQ(Utf8(panel->GetLabel()), rows[row].panel);
                EXPECT_EQ(ElementsOf(*panel), rows[row].elements) << rows[row].panel;
                ++row;
            }
        }
    }
    EXPECT_EQ(row, std::size(rows));
}

TEST_F(Layout, ApplicationMenuHoldsItsCommandsAndAtMostFourRecentFiles) {
    wxDocManager* manager = wxGetApp().GetDocManager();
    for (const char* name :
         {"/a/one.txt", "/a/two.txt", "/a/three.txt", "/a/four.txt", "/a/five.txt"}) {
        manager->AddFileToHistory(wxString::FromUTF8(name));
    }
    PopupCapture popups;
    Frame().GetTabRow().ShowMainMenu();
    ASSERT_EQ(popups.Menus().size(), 1u);
    std::vector<std::string> labels;
    for (const PopupCapture::Item& item : popups.Menus()[0]) {
        if (!item.separator) {
            labels.push_back(Utf8(item.label));
        }
    }
    const std::vector<std::string> expected = {
        "루트 폴더 설정", "영상/자막 파일 스캔", "최근 문서",     "&1 /a/five.txt",
        "&2 /a/four.txt", "&3 /a/three.txt",     "&4 /a/two.txt", "끝내기(&X)"};
    EXPECT_EQ(labels, expected);
    EXPECT_NE(FindItem(popups.Menus()[0], ids::kMainFolder), nullptr);
    EXPECT_NE(FindItem(popups.Menus()[0], ids::kMainScan), nullptr);
    EXPECT_NE(FindItem(popups.Menus()[0], ids::kAppExit), nullptr);

    // The list outlives the window: it is kept in the profile.
    ReopenWindow();
    ASSERT_EQ(wxGetApp().GetDocManager()->GetHistoryFilesCount(), 4u);
    EXPECT_EQ(wxGetApp().GetDocManager()->GetHistoryFile(0), "/a/five.txt");
}

TEST_F(Layout, TabRowHoldsQuickAccessStyleMenuAndTheAboutBox) {
    Pump();
    const std::vector<TabRowButton*>& qat = Frame().GetTabRow().QuickAccessButtons();
    struct Tool {
        int id;
        const char* tip; // "": none
    };
    const Tool tools[] = {
        {ids::kFileNew, "새로 만들기\n새 문서를 만듭니다."},
        {ids::kFileOpen, "열기\n기존 문서를 엽니다."},
        {ids::kFileSave, "저장\n활성 문서를 저장합니다."},
        {ids::kFilePrintDirect, ""},
    };
    ASSERT_EQ(qat.size(), std::size(tools));
    for (size_t i = 0; i < qat.size(); ++i) {
        EXPECT_EQ(qat[i]->GetCommand(), tools[i].id);
        EXPECT_TRUE(qat[i]->IsShown());
        // Print has no handler and shows disabled.
        EXPECT_EQ(qat[i]->IsEnabled(), tools[i].id != ids::kFilePrintDirect) << tools[i].id;
        const wxToolTip* tip = qat[i]->GetToolTip();
        EXPECT_EQ(tip ? Utf8(tip->GetTip()) : std::string(), tools[i].tip) << tools[i].id;
    }
    const wxToolTip* about = Frame().GetTabRow().AboutButton().GetToolTip();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->GetTip().StartsWith(
        FromUtf8("정보\n프로그램 정보, 버전 번호 및 저작권을 표시합니다.")))
        << Utf8(about->GetTip());
    wxTEST_DIALOG(Frame().GetTabRow().AboutButton().Click(), ExpectAboutBox());
    EXPECT_EQ(Utf8(Frame().GetTabRow().StyleButton().GetCaption()), "스타일");
    EXPECT_EQ(Utf8(Frame().GetTabRow().ApplicationButton().GetCaption()), "파일");

    PopupCapture popups;
    Frame().GetTabRow().ShowStyleMenu();
    ASSERT_EQ(popups.Menus().size(), 1u);
    std::vector<std::pair<int, std::string>> items;
    for (const PopupCapture::Item& item : popups.Menus()[0]) {
        items.emplace_back(item.id, Utf8(item.label));
    }
    const std::vector<std::pair<int, std::string>> expected = {
        {215, "Office 2007(파랑 스타일)(&B)"},
        {216, "Office 2007(검정 스타일)(&L)"},
        {217, "Office 2007(은색 스타일)(&S)"},
        {218, "Office 2007(바다색 스타일)(&A)"},
        {219, "Windows 7(&D)"}};
    EXPECT_EQ(items, expected);
}

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
}

using StatusPane = AppWindowTest;

// The root folder's pane, and the scan's counts beside it.
TEST_F(StatusPane, IsFiftyXWideShowingTheRootFolderEvenWhenItIsNotUtf8) {
    wxStatusBar* bar = Frame().GetStatusBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetFieldsCount(), 2);
    EXPECT_EQ(bar->GetStatusWidth(0), bar->GetTextExtent(wxString('x', 50)).x);
    EXPECT_EQ(bar->GetStatusWidth(1), -1);
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
