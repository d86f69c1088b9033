// Text between the core's narrow strings and wxString.
//
// wxGTK never sets the C locale, so wxString(std::string) of non-ASCII text silently comes
// out empty. Display text (UTF-8) goes through FromUtf8; paths go through a lossless
// conversion that keeps bytes which are not UTF-8, so a path survives list row -> name box
// -> rename byte for byte.
#pragma once

#include <wx/string.h>

#include <string>

class wxDirDialog;

namespace tesslin {

// UTF-8 text (captions, messages) to wxString.
wxString FromUtf8(const std::string& text);

// Any bytes (a file path) to wxString and back, losslessly: bytes that are not UTF-8 map
// to private-use characters and come back unchanged.
wxString PathToWx(const std::string& bytes);
std::string WxToPath(const wxString& text);

// Makes the toolkit's own file functions (wxFileName, wxDir, the document manager's files)
// use the conversion of PathToWx and WxToPath. Call once at start-up.
void UseLosslessFileNames();

// The folder a folder dialog was confirmed on, as the file system's bytes. The GTK dialog's
// GetPath() decodes the name as strict UTF-8 and gives empty text for a name in any other
// encoding, so there the bytes come from the native chooser itself.
std::string DirDialogPath(wxDirDialog& dialog);

} // namespace tesslin
