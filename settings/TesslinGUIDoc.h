// The document: owns the program's one settings record.
#pragma once

#include "settings/Settings.h"

#include <wx/docview.h>

class CTesslinGUIDoc : public wxDocument {
public:
    CTesslinGUIDoc() = default;

    tesslin::Settings m_settings;

private:
    wxDECLARE_DYNAMIC_CLASS(CTesslinGUIDoc);
};
