// The keyboard reaches the window as a user expects: an accelerator, the key tips (Alt and
// the element's letter), F6 between the panes, and undo, cut, copy and paste inside the
// ribbon's edit boxes. Keys are real key presses on the (virtual) display.
#include "tests/gui/GuiTest.h"

#include "app/AboutDlg.h"
#include "res/CommandIds.h"
#include "ribbon/KeyTips.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/filedlg.h>
#include <wx/uiaction.h>

#include <set>

namespace tesslin::test {
namespace {

// The toolkit's own file chooser, asked for in Korean like the rest of the window.
class ExpectKoreanFileChooser : public wxExpectModalBase<wxFileDialog, ExpectKoreanFileChooser> {
protected:
    int OnInvoked(wxFileDialog* dialog) const override {
        EXPECT_EQ(Utf8(dialog->GetMessage()), "파일 열기");
        return wxID_CANCEL;
    }
};

class Keyboard : public AppWindowTest {
protected:
    void SetUp() override {
        if (UnderWine()) {
            GTEST_SKIP() << "Wine does not hand simulated key presses (SendInput) to the window";
        }
        AppWindowTest::SetUp();
        Frame().Raise();
        PumpUntil([&] { return Frame().IsActive(); }, 2.0);
    }

    // Puts the keyboard focus into the ribbon's edit box `id` and waits until it is there.
    wxTextCtrl& FocusBox(int id) {
        auto* box = dynamic_cast<wxTextCtrl*>(Frame().FindRibbonControl(id));
        box->SetFocus();
        EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == box; }));
        return *box;
    }

    static void Press(int key, int modifiers = wxMOD_NONE) {
        wxUIActionSimulator sim;
        sim.Char(key, modifiers);
        Pump();
    }

    static wxString ClipboardText() {
        wxTextDataObject data;
        if (wxTheClipboard->Open()) {
            wxTheClipboard->GetData(data);
            wxTheClipboard->Close();
        }
        return data.GetText();
    }
};

TEST_F(Keyboard, KeyTipsReachTheirElements) {
    FocusBox(ids::kEditVideoExtensionList);
    PopupCapture popups;

    // Alt+F opens the application menu, Alt+S the style menu.
    Press('F', wxMOD_ALT);
    ASSERT_EQ(popups.Menus().size(), 1u);
    EXPECT_NE(FindItem(popups.Menus()[0], ids::kMainFolder), nullptr);
    Press('S', wxMOD_ALT);
    ASSERT_EQ(popups.Menus().size(), 2u);
    EXPECT_NE(FindItem(popups.Menus()[1], ids::kDefaultLook), nullptr);

    // Alt+H and the panel key tip Alt+D show "홈".
    for (int key : {'H', 'D'}) {
        Frame().ActivateCategory(2);
        Pump();
        Press(key, wxMOD_ALT);
        EXPECT_EQ(Ribbon().GetActivePage(), 0) << "Alt+" << char(key);
    }

    // Ctrl+O asks for a document in the file chooser.
    wxTEST_DIALOG(Press('O', wxMOD_CONTROL), ExpectKoreanFileChooser());

    // Alt+A opens the about box.
    wxTEST_DIALOG(Press('A', wxMOD_ALT), wxExpectDismissableModal<CAboutDlg>(wxID_OK));

    // Alt+P presses "짝 찾기", which scans first and finds no pair; Alt+U "되돌리기", greyed
    // with nothing to undo, does nothing (a box here would fail the test).
    wxTEST_DIALOG(Press('P', wxMOD_ALT),
                  ExpectMessage("이름만 달라 짝이 될 파일을 찾지 못했습니다.", false));
    Press('U', wxMOD_ALT);
}

TEST_F(Keyboard, AltAloneShowsLetterBadgesThatActAndStepBack) {
    const wxTextCtrl& box = FocusBox(ids::kEditVideoExtensionList);
    const wxString typed = box.GetValue();
    const KeyTips& tips = Frame().GetKeyTips();
    auto shown = [&] {
        std::multiset<std::string> letters;
        for (const KeyTips::Badge& badge : tips.Shown()) {
            letters.insert(Utf8(badge.letter));
        }
        return letters;
    };
    auto letterOf = [&](const char* caption) {
        for (const KeyTips::Badge& badge : tips.Shown()) {
            if (Utf8(badge.caption) == caption) {
                return static_cast<int>(badge.letter[0].GetValue());
            }
        }
        ADD_FAILURE() << "no badge on " << caption;
        return 0;
    };

    Frame().ActivateCategory(2);
    Pump();
    Press(WXK_ALT); // alone
    const std::multiset<std::string> letters = shown();
    for (const char* letter : {"F", "1", "4", "H", "S", "A"}) {
        EXPECT_EQ(letters.count(letter), 1u) << letter;
    }
    // Every element of the row has a badge of its own, the tab without a key tip too.
    EXPECT_EQ(std::set<std::string>(letters.begin(), letters.end()).size(), letters.size());

    // H turns to "홈" and shows its panel's D; the letter types nothing into the box.
    Press('H');
    EXPECT_EQ(Ribbon().GetActivePage(), 0);
    EXPECT_EQ(letterOf("작업"), 'D');
    EXPECT_EQ(box.GetValue(), typed);
    Press(WXK_ESCAPE);
    EXPECT_EQ(shown().count("F"), 1u);
    Press(WXK_ALT); // alone
    EXPECT_TRUE(shown().empty());

    // Down to a check box of "변경 작업", whose letter ticks it.
    auto& check = dynamic_cast<wxCheckBox&>(*Frame().FindRibbonControl(ids::kCheckRenameVideoFile));
    const bool before = check.GetValue();
    Press(WXK_ALT); // alone
    Press(letterOf("변경 작업"));
    Press(letterOf("파일 이름 설정"));
    Press(letterOf("영상 파일 이름을 변경"));
    EXPECT_NE(check.GetValue(), before);
    EXPECT_TRUE(shown().empty());
}

TEST_F(Keyboard, EditKeysWorkInsideTheRibbonBoxes) {
    wxTextCtrl& box = FocusBox(ids::kEditVideoRegularExpression);
    wxUIActionSimulator().Text("abc");
    Pump();
    ASSERT_EQ(box.GetValue(), "abc");

    box.SelectAll();
    Press('C', wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "abc");
    EXPECT_EQ(box.GetValue(), "abc");

    box.SelectAll();
    Press('X', wxMOD_CONTROL);
    EXPECT_EQ(box.GetValue(), "");
    EXPECT_EQ(ClipboardText(), "abc");

    Press('V', wxMOD_CONTROL);
    Press('V', wxMOD_CONTROL);
    EXPECT_EQ(box.GetValue(), "abcabc");

    // Undo takes back the whole run of changes since the box got the focus, and a second
    // undo brings it back, as in a Windows edit box.
    Press('Z', wxMOD_CONTROL);
    EXPECT_EQ(box.GetValue(), "");
    Press(WXK_BACK, wxMOD_ALT);
    EXPECT_EQ(box.GetValue(), "abcabc");

    // The alternative keys.
    box.SetSelection(0, 3);
    Press(WXK_DELETE, wxMOD_SHIFT);
    EXPECT_EQ(box.GetValue(), "abc");
    box.SetInsertionPointEnd();
    Press(WXK_INSERT, wxMOD_SHIFT);
    EXPECT_EQ(box.GetValue(), "abcabc");
    box.SetSelection(0, 2);
    Press(WXK_INSERT, wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "ab");
}

TEST_F(Keyboard, F6MovesBetweenThePanes) {
    wxTextCtrl& ribbonBox = FocusBox(ids::kEditVideoExtensionList);
    auto focusAfter = [&](int modifiers) {
        Press(WXK_F6, modifiers);
        PumpUntil([] { return false; }, 0.1);
        return wxWindow::FindFocus();
    };
    EXPECT_EQ(focusAfter(wxMOD_NONE), &VideoList());
    EXPECT_EQ(focusAfter(wxMOD_NONE), &SubtitleList());
    EXPECT_EQ(focusAfter(wxMOD_NONE), &ribbonBox);
    EXPECT_EQ(focusAfter(wxMOD_SHIFT), &SubtitleList());
    EXPECT_EQ(focusAfter(wxMOD_SHIFT), &VideoList());
}

} // namespace
} // namespace tesslin::test
