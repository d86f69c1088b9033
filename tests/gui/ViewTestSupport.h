// Driving the main view as a user does: typing into the ribbon's boxes, clicking its check
// boxes and buttons, picking a folder, selecting rows, and expecting message boxes by text.
#pragma once

#include "tests/gui/AppWindowFixture.h"

#include <wx/msgdlg.h>

#include <optional>
#include <string>
#include <vector>

class CTesslinGUIDoc;
class CTesslinGUIView;
class wxCheckBox;
class wxTextCtrl;

namespace tesslin {
class CRenamerListCtrl;
}

namespace tesslin::test {

// A message box with exactly `text` (UTF-8, paths byte for byte), answered with OK. With
// `icon`, also the exclamation icon (true) or no icon (false). Capture(&out) instead stores
// the box's text for the test to check.
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

class ViewTest : public AppWindowTest {
protected:
    CTesslinGUIView& View() const;
    CTesslinGUIDoc& Doc() const;
    tesslin::CRenamerListCtrl& VideoList() const;
    tesslin::CRenamerListCtrl& SubtitleList() const;

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
    void Select(tesslin::CRenamerListCtrl& list, long row) const;
    std::vector<std::string> Rows(const tesslin::CRenamerListCtrl& list) const;
    std::string StatusText() const;
    // Index of the ribbon's visible category: 1 "홈", 2 "변경 작업".
    int ActiveCategory() const;
    std::string SettingsFile() const { return WorkDir() / "TesslinGUI.ini"; }
};

} // namespace tesslin::test
