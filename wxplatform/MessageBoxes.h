// The program's two kinds of message box. Both are modal, carry the application's title
// ("TesslinGUI") and sit over the main window when there is one.
#pragma once

#include <wx/string.h>

#include <string>

namespace tesslin {

// The framework's box: the exclamation icon and one OK button. The core's messages
// (tesslin::ShowMessage) arrive here once the application has started.
void ShowFrameworkMessage(const wxString& text);

// The view's box: no icon; `style` gives the buttons (wxOK, wxYES_NO, ...). Returns the
// button pressed as wxID_OK, wxID_YES, wxID_NO or wxID_CANCEL.
int ShowViewMessage(const wxString& text, long style = wxOK);
int ShowViewMessage(const std::string& utf8Text, long style = wxOK);

} // namespace tesslin
