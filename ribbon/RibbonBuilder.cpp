#include "ribbon/RibbonBuilder.h"

#include "ribbon/RibbonImages.h"
#include "ribbon/Tooltips.h"
#include "wxplatform/WxText.h"

#include <wx/checkbox.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace tesslin {

namespace {

using ribbon::Element;
using ribbon::Kind;

constexpr int kGap = 4;

// The control keeps its automatic window ID; what it sends out carries the command ID.
void CarryCommandId(wxWindow& control, int id) {
    auto relabel = [id](auto& event) {
        event.SetId(id);
        event.Skip();
    };
    control.Bind(wxEVT_TEXT, [relabel](wxCommandEvent& e) { relabel(e); });
    control.Bind(wxEVT_CHECKBOX, [relabel](wxCommandEvent& e) { relabel(e); });
    control.Bind(wxEVT_UPDATE_UI, [relabel](wxUpdateUIEvent& e) { relabel(e); });
}

void AddButtons(wxRibbonPanel& panel, wxSizer& row, const ribbon::Category& category,
                const std::vector<const Element*>& buttons) {
    auto* bar = new wxRibbonButtonBar(&panel);
    for (const Element* e : buttons) {
        bar->AddButton(e->id, FromUtf8(e->caption),
                       RibbonImage(category.largeImages, e->largeImage),
                       RibbonImage(category.smallImages, e->smallImage), wxNullBitmap, wxNullBitmap,
                       wxRIBBON_BUTTON_NORMAL, TooltipFor(e->id));
        if (e->alwaysLarge) {
            bar->SetButtonMinSizeClass(e->id, wxRIBBON_BUTTONBAR_BUTTON_LARGE);
        }
    }
    row.Add(bar, 0, wxEXPAND);
}

// Edit boxes and check boxes stack in one column. With justified columns the boxes line up
// behind the longest caption; otherwise each box follows its own caption.
void AddColumn(wxRibbonPanel& panel, wxSizer& row, bool justify,
               const std::vector<const Element*>& elements, RibbonControls& controls) {
    wxSizer* column = nullptr;
    if (justify) {
        auto* grid = new wxFlexGridSizer(2, kGap, kGap * 2);
        grid->AddGrowableCol(1);
        column = grid;
    } else {
        column = new wxBoxSizer(wxVERTICAL);
    }
    for (const Element* e : elements) {
        if (e->kind == Kind::Edit) {
            auto* caption = new wxStaticText(&panel, wxID_ANY, FromUtf8(e->caption));
            auto* box = new wxTextCtrl(&panel, wxID_ANY, wxString(), wxDefaultPosition,
                                       wxSize(e->width, -1));
            CarryCommandId(*box, e->id);
            controls[e->id] = box;
            if (justify) {
                column->Add(caption, 0, wxALIGN_CENTER_VERTICAL);
                column->Add(box, 1, wxEXPAND);
            } else {
                auto* line = new wxBoxSizer(wxHORIZONTAL);
                line->Add(caption, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap * 2);
                line->Add(box, 1);
                column->Add(line, 0, wxEXPAND | wxBOTTOM, kGap);
            }
        } else {
            auto* check = new wxCheckBox(&panel, wxID_ANY, FromUtf8(e->caption));
            CarryCommandId(*check, e->id);
            controls[e->id] = check;
            if (justify) {
                column->Add(check, 0, wxALIGN_CENTER_VERTICAL);
                column->AddSpacer(0);
            } else {
                column->Add(check, 0, wxBOTTOM, kGap);
            }
        }
    }
    row.Add(column, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, kGap);
}

void BuildPanel(wxRibbonPage& page, const ribbon::Category& category, const ribbon::Panel& spec,
                RibbonControls& controls) {
    auto* panel = new wxRibbonPanel(
        &page, wxID_ANY, FromUtf8(spec.caption), RibbonImage(category.smallImages, spec.image),
        wxDefaultPosition, wxDefaultSize, wxRIBBON_PANEL_NO_AUTO_MINIMISE);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    std::vector<const Element*> run;
    Kind runKind = Kind::Separator;
    auto flush = [&] {
        if (run.empty()) {
            return;
        }
        if (runKind == Kind::Button) {
            AddButtons(*panel, *row, category, run);
        } else {
            AddColumn(*panel, *row, spec.justifyColumns, run, controls);
        }
        run.clear();
    };
    for (const Element& e : spec.elements) {
        const Kind groupKind = e.kind == Kind::Check ? Kind::Edit : e.kind;
        if (groupKind != runKind) {
            flush();
            runKind = groupKind;
        }
        if (e.kind == Kind::Separator) {
            row->Add(
                new wxStaticLine(panel, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL),
                0, wxEXPAND | wxLEFT | wxRIGHT, kGap);
            continue;
        }
        run.push_back(&e);
    }
    flush();
    panel->SetSizer(row);
}

} // namespace

RibbonControls BuildCategories(wxRibbonBar& bar, const ribbon::Layout& layout) {
    RibbonControls controls;
    for (const ribbon::Category& category : layout.categories) {
        auto* page = new wxRibbonPage(&bar, wxID_ANY, FromUtf8(category.caption));
        for (const ribbon::Panel& panel : category.panels) {
            BuildPanel(*page, category, panel, controls);
        }
    }
    return controls;
}

} // namespace tesslin
