#include "app/AboutDlg.h"

#include "res/AppIcon.h"
#include "res/Strings.h"
#include "wxplatform/WxText.h"

#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, tesslin::FromUtf8(tesslin::text::kAboutCaption)) {
    auto* icon = new wxStaticBitmap(this, wxID_ANY, tesslin::AppIconBitmap(32));
    // wxST_NO_AUTORESIZE is not wanted; the text carries no mnemonic, so no '&' processing
    // can change it.
    auto* version =
        new wxStaticText(this, wxID_ANY, tesslin::FromUtf8(tesslin::text::kAboutVersion));
    auto* copyright =
        new wxStaticText(this, wxID_ANY, tesslin::FromUtf8(tesslin::text::kAboutCopyright));
    auto* licence =
        new wxStaticText(this, wxID_ANY, tesslin::FromUtf8(tesslin::text::kAboutLicence));
    const wxString home = tesslin::FromUtf8(tesslin::text::kAboutHomePage);
    auto* homePage = new wxHyperlinkCtrl(this, wxID_ANY, home, home);
    auto* ok = new wxButton(this, wxID_OK, tesslin::FromUtf8(tesslin::text::kAboutOk));
    ok->SetDefault();
    SetAffirmativeId(wxID_OK);
    // No cancel button: Escape ends the box like OK does.
    SetEscapeId(wxID_OK);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(icon, 0, wxALL, FromDIP(14));
    auto* lines = new wxBoxSizer(wxVERTICAL);
    for (wxWindow* line : std::initializer_list<wxWindow*>{version, copyright, licence, homePage}) {
        lines->Add(line, 0, wxBOTTOM, FromDIP(6));
    }
    top->Add(lines, 1, wxTOP | wxRIGHT | wxALIGN_TOP, FromDIP(20));

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(top, 1, wxEXPAND);
    sizer->Add(ok, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, FromDIP(12));
    SetSizerAndFit(sizer);
    SetMinSize(GetSize());
    ok->SetFocus();
    CentreOnParent();
}
