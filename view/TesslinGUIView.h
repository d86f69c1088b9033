// The view: the window below the ribbon.
#pragma once

#include <wx/docview.h>

class wxPanel;

class CTesslinGUIView : public wxView {
public:
    CTesslinGUIView() = default;

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnDraw(wxDC* dc) override;

private:
    wxPanel* m_panel = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CTesslinGUIView);
};
