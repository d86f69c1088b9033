// The about box "TesslinGUI 정보": the application icon, "TesslinGUI, 버전 0.1" and the
// default button "확인". OK, Escape and the close box all just end it; it stores nothing.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};
