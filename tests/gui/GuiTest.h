// What every GUI test needs: the whole application window built the way the program starts,
// each test in its own working folder with its own profile; modal-dialog hooks (a dialog that
// no wxTEST_DIALOG expects fails the test and is cancelled, never left hanging); event
// pumping; pop-up menus and the folder picker answered by the test; and helpers that drive
// the window as a user does.
#pragma once

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/testing.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMainFrame;
class CTesslinGUIDoc;
class CTesslinGUIView;
class wxCheckBox;
class wxConfigBase;
class wxRibbonBar;
class wxTextCtrl;

namespace tesslin {
class CRenamerListCtrl;
}

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
// UTF-8 of a wxString, for readable failure messages.
std::string Utf8(const wxString& text);

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
    PopupCapture(const PopupCapture&) = delete;
    PopupCapture& operator=(const PopupCapture&) = delete;

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
    wxString GetDefaultDescription() const override;

private:
    std::string m_text;
    std::optional<bool> m_icon;
    std::string* m_out = nullptr;
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

// Makes file permissions hold for this thread even as root (as in CI), by lowering the
// capabilities that override them; restores them when it ends. ok() is false when that
// is not possible here.
class ScopedPermissionChecks {
public:
    ScopedPermissionChecks();
    ~ScopedPermissionChecks();
    ScopedPermissionChecks(const ScopedPermissionChecks&) = delete;
    ScopedPermissionChecks& operator=(const ScopedPermissionChecks&) = delete;
    bool ok() const { return m_ok; }

private:
    unsigned m_savedEffective = 0;
    bool m_ok = false;
    bool m_lowered = false;
};

class AppWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs before the window is built; write profile values or files here.
    virtual void BeforeWindow() {}

    // Closes the window (the document saves its settings) and builds it again, keeping the
    // working directory and the profile.
    void ReopenWindow();
    // Closes the window as the user would; the window is gone afterwards.
    void CloseWindow();

    CMainFrame& Frame() const;
    wxRibbonBar& Ribbon() const;
    wxConfigBase& Profile() const;
    // The profile file as it is on disk (after the program flushed it).
    std::string ProfileFileText() const;
    const TempDir& WorkDir() const { return m_cwd->dir(); }
    std::string SettingsFile() const { return WorkDir() / "TesslinGUI.ini"; }

    CTesslinGUIView& View() const;
    CTesslinGUIDoc& Doc() const;
    CRenamerListCtrl& VideoList() const;
    CRenamerListCtrl& SubtitleList() const;
    wxTextCtrl& Box(int id) const;
    wxCheckBox& Check(int id) const;
    // The box's text as bytes.
    std::string BoxText(int id) const;
    // Replaces the box's text as typing would (the box sends its change).
    void Type(int id, const std::string& text) const;
    // Clicks a check box: its mark flips and it sends its command; then the ribbon refreshes.
    void Click(int id) const;
    // Presses a ribbon button.
    void Press(int id) const;
    // Selects and focuses one row, as a click does.
    void Select(CRenamerListCtrl& list, long row) const;
    // The rows as the list shows them, as bytes.
    std::vector<std::string> Rows(const CRenamerListCtrl& list) const;
    std::string StatusText() const;
    // Index of the ribbon's visible category: 1 "홈", 2 "변경 작업".
    int ActiveCategory() const;

private:
    void OpenWindow();

    std::unique_ptr<ScopedWorkingDirectory> m_cwd;
    std::unique_ptr<TempDir> m_profileDir;
    std::string m_profilePath;
    CMainFrame* m_frame = nullptr;
};
using ViewTest = AppWindowTest;

} // namespace tesslin::test

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS tesslin::test::GTestModalHook
