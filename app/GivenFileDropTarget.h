// Files and folders dropped on the main window: the first one is taken as if it had been
// named on the command line (CTesslinGUIDoc::OpenGiven): a folder becomes the root folder, a
// file is opened as a settings file.
#pragma once

#include <wx/dnd.h>

namespace tesslin {

class GivenFileDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;
};

} // namespace tesslin
