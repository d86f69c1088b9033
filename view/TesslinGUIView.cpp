#include "view/TesslinGUIView.h"

#include "app/MainFrame.h"

#include <wx/panel.h>

wxIMPLEMENT_DYNAMIC_CLASS(CTesslinGUIView, wxView);

bool CTesslinGUIView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) {
        return false;
    }
    CMainFrame* frame = CMainFrame::Get();
    if (!frame) {
        return false;
    }
    SetFrame(frame);
    m_panel = new wxPanel(frame);
    frame->SetViewWindow(m_panel);
    Activate(true);
    return true;
}

bool CTesslinGUIView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) {
        return false;
    }
    Activate(false);
    if (deleteWindow && m_panel) {
        if (CMainFrame* frame = CMainFrame::Get()) {
            frame->SetViewWindow(nullptr);
        }
        m_panel->Destroy();
        m_panel = nullptr;
    }
    return true;
}

void CTesslinGUIView::OnDraw(wxDC*) {}
