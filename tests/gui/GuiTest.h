// What every GUI test needs: the whole application window built the way the program starts,
// each test in its own working folder with its own profile; modal-dialog hooks (a dialog that
// no wxTEST_DIALOG expects fails the test and is cancelled, never left hanging); event
// pumping; pop-up menus and the folder picker answered by the test; and helpers that drive
// the window as a user does.
#pragma once

#include "app/MainFrame.h"
#include "document/TesslinGUIDoc.h"
#include "tests/support/TempDir.h"
#include "view/RenamerListCtrl.h"
#include "view/SuggestionsDialog.h"
#include "view/TesslinGUIView.h"
#include "wxplatform/WxText.h"

#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tesslin::test {

// The hook behind wxTEST_DIALOG: failures become GoogleTest failures at the macro's line.
class GTestModalHook : public wxTestingModalHook {
public:
    GTestModalHook(const char* file, int line, const char* func)
        : wxTestingModalHook(file, line, func), m_file(file), m_line(line) {}

protected:
    int Enter(wxDialog* dialog) override;
    void ReportFailure(const wxString& message) override;

private:
    const char* m_file;
    int m_line;
};

// True when the program runs under Wine rather than on Windows itself.
bool UnderWine();
// Runs pending events, idle handlers (update-UI events) and deferred deletions a few times.
void Pump();
// Runs the event loop until `done` returns true or `seconds` pass; returns `done()`.
template <typename Done> bool PumpUntil(Done done, double seconds = 5.0) {
    wxStopWatch watch;
    while (!done() && watch.Time() < static_cast<long>(seconds * 1000)) {
        Pump();
        wxMilliSleep(10);
    }
    return done();
}
inline std::string Utf8(const wxString& text) {
    return text.utf8_string();
}

// Stands in for pop-up menus while it lives: each menu is recorded as the user would see it
// (after its update-UI pass) and closed at once, or answered with the item ChooseNext names.
class PopupCapture {
public:
    struct Item {
        int id;         // the command ID; 0 for a heading or a separator
        wxString label; // with its mnemonic and accelerator text
        bool enabled;
        bool checked;
        bool separator;
    };
    using Menu = std::vector<Item>;

    PopupCapture();
    ~PopupCapture();
    const std::vector<Menu>& Menus() const { return m_menus; }
    void ChooseNext(int id) { m_choose = id; }

private:
    std::vector<Menu> m_menus;
    int m_choose = 0;
};
// The item with `id` in `menu`, or nullptr.
const PopupCapture::Item* FindItem(const PopupCapture::Menu& menu, int id);

// A message box with exactly `text` (UTF-8, paths byte for byte) and the program's title,
// answered with OK. With `icon`, also the exclamation icon (true) or no icon (false).
// Capture(&out) instead stores the box's text for the test to check.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    explicit ExpectMessage(std::string text, std::optional<bool> icon = std::nullopt)
        : m_text(std::move(text)), m_icon(icon) {}
    ExpectMessage Capture(std::string* out) const {
        ExpectMessage e(*this);
        e.m_out = out;
        return e;
    }

protected:
    int OnInvoked(wxMessageDialog* dialog) const override;
    wxString GetDefaultDescription() const override { return "message box " + PathToWx(m_text); }

private:
    std::string m_text;
    std::optional<bool> m_icon;
    std::string* m_out = nullptr;
};

// Presses the button of `window` captioned `caption`, as a click does.
inline void ClickButton(wxWindow& window, const std::string& caption) {
    wxWindow* button = wxWindow::FindWindowByLabel(FromUtf8(caption), &window);
    ASSERT_NE(button, nullptr) << caption;
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

// The preview of proposals: `act` does what the user does in it; then it closes.
class WithPreview : public wxExpectModalBase<CSuggestionsDialog, WithPreview> {
public:
    explicit WithPreview(std::function<void(CSuggestionsDialog&)> act) : m_act(std::move(act)) {}

protected:
    int OnInvoked(CSuggestionsDialog* dialog) const override {
        m_act(*dialog);
        return wxID_CANCEL;
    }

private:
    std::function<void(CSuggestionsDialog&)> m_act;
};

// The folder picker answers `folder` (nothing: the user cancels) while this lives, and
// counts how often it was asked.
class ScopedFolderChoice {
public:
    explicit ScopedFolderChoice(std::optional<std::string> folder);
    ~ScopedFolderChoice();
    int asked = 0;

private:
    std::optional<std::string> m_folder;
};

class AppWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Closes the window as the user would (the document saves its settings); the window is
    // gone afterwards. ReopenWindow builds it again in the same folder with the same profile.
    void CloseWindow();
    void ReopenWindow();

    CMainFrame& Frame() const { return *m_frame; }
    wxRibbonBar& Ribbon() const { return *m_frame->GetRibbonBar(); }
    wxConfigBase& Profile() const { return *wxConfigBase::Get(); }
    // The profile file as it is on disk (after the program flushed it).
    std::string ProfileFileText() const;
    const TempDir& WorkDir() const { return m_cwd->dir(); }
    std::string SettingsFile() const { return WorkDir() / "TesslinGUI.ini"; }

    CTesslinGUIView& View() const;
    CTesslinGUIDoc& Doc() const { return *View().GetDocument(); }
    CRenamerListCtrl& VideoList() const { return *View().m_videoList; }
    CRenamerListCtrl& SubtitleList() const { return *View().m_subtitleList; }
    wxTextCtrl& Box(int id) const { return *dynamic_cast<wxTextCtrl*>(Control(id)); }
    wxCheckBox& Check(int id) const { return *dynamic_cast<wxCheckBox*>(Control(id)); }
    std::string BoxText(int id) const { return WxToPath(Box(id).GetValue()); }
    // Replaces the box's text as typing would (the box sends its change).
    void Type(int id, const std::string& text) const { Box(id).SetValue(PathToWx(text)); }
    // Clicks a check box: its mark flips and it sends its command; then the ribbon refreshes.
    void Click(int id) const;
    // Presses a ribbon button.
    void Press(int id) const;
    // Presses the button `id` that asks for a folder, and the user picks `folder`.
    void PressPicking(int id, const std::string& folder) const {
        ScopedFolderChoice choice(folder);
        Press(id);
    }
    // Selects and focuses one row, as a click does.
    void Select(wxListCtrl& list, long row) const {
        const long state = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
        list.SetItemState(row, state, state);
    }
    // The rows as the list shows them, as bytes.
    std::vector<std::string> Rows(const CRenamerListCtrl& list) const;
    std::string StatusText() const { return WxToPath(Frame().GetStatusBar()->GetStatusText(0)); }
    // Index of the ribbon's visible category: 1 "홈", 2 "변경 작업".
    int ActiveCategory() const { return Ribbon().GetActivePage() + 1; }

private:
    void OpenWindow();
    wxWindow* Control(int id) const;

    std::unique_ptr<ScopedWorkingDirectory> m_cwd;
    std::unique_ptr<TempDir> m_profileDir;
    std::string m_profilePath;
    CMainFrame* m_frame = nullptr;
};

} // namespace tesslin::test

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS tesslin::test::GTestModalHook
