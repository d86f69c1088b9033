// The ribbon a user sees is the one the layout table describes: categories, panels and
// elements with their command IDs, captions and kinds, in order; the application menu, the
// quick access toolbar, the style menu and the about button with their tooltips.
#include "tests/gui/GuiTest.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "res/CommandIds.h"
#include "res/RibbonLayout.h"
#include "ribbon/RibbonImages.h"
#include "ribbon/TabRow.h"
#include "wxplatform/WxText.h"

#include <wx/checkbox.h>
#include <wx/docview.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

#include <sstream>
#include <vector>

namespace tesslin::test {
namespace {

using ribbon::Kind;

// One element as found on screen, or as the table describes it.
struct Seen {
    Kind kind;
    int id;
    std::string caption; // edit boxes and check boxes; buttons draw theirs themselves

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    const char* kinds[] = {"button", "edit", "check", "separator"};
    return out << kinds[static_cast<int>(seen.kind)] << " " << seen.id << " \"" << seen.caption
               << "\"";
}

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

    // The elements of a panel as its windows show them, in order.
    std::vector<Seen> ElementsOf(wxRibbonPanel& panel) const {
        std::vector<Seen> seen;
        wxString caption;
        for (wxWindow* child : panel.GetChildren()) {
            if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(child)) {
                for (size_t i = 0; i < bar->GetButtonCount(); ++i) {
                    seen.push_back({Kind::Button, bar->GetItemId(bar->GetItem(i)), ""});
                }
            } else if (auto* label = dynamic_cast<wxStaticText*>(child)) {
                caption = label->GetLabel();
            } else if (dynamic_cast<wxTextCtrl*>(child)) {
                seen.push_back({Kind::Edit, CommandOf(child), Utf8(caption)});
                caption.clear();
            } else if (auto* check = dynamic_cast<wxCheckBox*>(child)) {
                seen.push_back({Kind::Check, CommandOf(child), Utf8(check->GetLabel())});
            } else if (dynamic_cast<wxStaticLine*>(child)) {
                seen.push_back({Kind::Separator, 0, ""});
            }
        }
        return seen;
    }
};

TEST_F(Layout, CategoriesPanelsAndElementsFollowTheTable) {
    const ribbon::Layout& layout = ribbon::TheLayout();
    ASSERT_EQ(Ribbon().GetPageCount(), layout.categories.size());
    for (size_t c = 0; c < layout.categories.size(); ++c) {
        const ribbon::Category& category = layout.categories[c];
        wxRibbonPage* page = Ribbon().GetPage(static_cast<int>(c));
        EXPECT_EQ(Utf8(page->GetLabel()), category.caption);
        std::vector<wxRibbonPanel*> panels;
        for (wxWindow* child : page->GetChildren()) {
            if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) {
                panels.push_back(panel);
            }
        }
        ASSERT_EQ(panels.size(), category.panels.size()) << category.caption;
        for (size_t p = 0; p < panels.size(); ++p) {
            const ribbon::Panel& spec = category.panels[p];
            EXPECT_EQ(Utf8(panels[p]->GetLabel()), spec.caption);
            std::vector<Seen> expected;
            for (const ribbon::Element& e : spec.elements) {
                const bool captioned = e.kind == Kind::Edit || e.kind == Kind::Check;
                expected.push_back({e.kind, e.id, captioned ? e.caption : ""});
            }
            EXPECT_EQ(ElementsOf(*panels[p]), expected) << spec.caption;
        }
    }
}

// The table itself holds the program's IDs and texts; a slip there would pass the test above.
TEST_F(Layout, TableHoldsTheProgramsIdsAndCaptions) {
    struct Row {
        const char* category;
        const char* panel;
        std::vector<std::pair<int, const char*>> elements; // separators as {0, ""}
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
    for (const ribbon::Category& category : ribbon::TheLayout().categories) {
        for (const ribbon::Panel& panel : category.panels) {
            ASSERT_LT(row, std::size(rows));
            EXPECT_STREQ(category.caption, rows[row].category);
            EXPECT_STREQ(panel.caption, rows[row].panel);
            ASSERT_EQ(panel.elements.size(), rows[row].elements.size()) << panel.caption;
            for (size_t e = 0; e < panel.elements.size(); ++e) {
                EXPECT_EQ(panel.elements[e].id, rows[row].elements[e].first);
                EXPECT_STREQ(panel.elements[e].caption, rows[row].elements[e].second);
            }
            ++row;
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

TEST_F(Layout, TabRowHoldsQuickAccessStyleMenuAndAbout) {
    const std::vector<TabRowButton*>& qat = Frame().GetTabRow().QuickAccessButtons();
    struct Tool {
        int id;
        const char* tip; // nullptr: none
    };
    const Tool tools[] = {
        {ids::kFileNew, "새로 만들기\n새 문서를 만듭니다."},
        {ids::kFileOpen, "열기\n기존 문서를 엽니다."},
        {ids::kFileSave, "저장\n활성 문서를 저장합니다."},
        {ids::kFilePrintDirect, nullptr},
    };
    ASSERT_EQ(qat.size(), std::size(tools));
    for (size_t i = 0; i < qat.size(); ++i) {
        EXPECT_EQ(qat[i]->GetCommand(), tools[i].id);
        EXPECT_TRUE(qat[i]->IsShown());
        const wxToolTip* tip = qat[i]->GetToolTip();
        if (tools[i].tip) {
            ASSERT_NE(tip, nullptr) << tools[i].id;
            EXPECT_EQ(Utf8(tip->GetTip()), tools[i].tip);
        } else {
            EXPECT_EQ(tip, nullptr) << tools[i].id;
        }
    }
    const wxToolTip* about = Frame().GetTabRow().AboutButton().GetToolTip();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->GetTip().StartsWith(
        FromUtf8("정보\n프로그램 정보, 버전 번호 및 저작권을 표시합니다.")))
        << Utf8(about->GetTip());
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

TEST_F(Layout, PrintHasNoHandlerAndShowsDisabled) {
    Pump();
    for (const TabRowButton* tool : Frame().GetTabRow().QuickAccessButtons()) {
        EXPECT_EQ(tool->IsEnabled(), tool->GetCommand() != ids::kFilePrintDirect)
            << tool->GetCommand();
    }
}

TEST_F(Layout, EveryImageOfEveryStripExists) {
    using ribbon::ImageList;
    for (ImageList list : {ImageList::FileSmall, ImageList::FileLarge, ImageList::WriteSmall,
                           ImageList::WriteLarge, ImageList::Buttons, ImageList::Main}) {
        const int size = ribbon::ImageSize(list);
        for (int i = 0; i < ribbon::ImageCount(list); ++i) {
            const wxBitmap image = RibbonImage(list, i);
            ASSERT_TRUE(image.IsOk()) << static_cast<int>(list) << "/" << i;
            EXPECT_EQ(image.GetSize(), wxSize(size, size)) << static_cast<int>(list) << "/" << i;
        }
    }
}

} // namespace
} // namespace tesslin::test
