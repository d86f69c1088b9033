#include "app/Looks.h"

#include "res/CommandIds.h"

#include <wx/image.h>
#include <wx/ribbon/art.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesslin {

Look LookFor(long id) {
    switch (id) {
    case 205:
        return {Visual::Win2000, -1, false, false};
    case 206:
        return {Visual::OfficeXP, -1, false, false};
    case 207:
        return {Visual::WinXP, -1, false, false};
    case 208:
        return {Visual::Office2003, -1, true, false};
    case 209:
        return {Visual::VS2005, -1, true, false};
    case 210:
        return {Visual::VS2008, -1, true, false};
    case 215:
        return {Visual::Office2007, kOffice2007Blue, true, false};
    case 216:
        return {Visual::Office2007, kOffice2007Black, true, false};
    case 217:
        return {Visual::Office2007, kOffice2007Silver, true, false};
    case 218:
        return {Visual::Office2007, kOffice2007Aqua, true, false};
    case 219:
        return {Visual::Win7, -1, true, true};
    default:
        // 211 to 214, and anything a hand-edited profile may hold.
        return {Visual::Office2007, -1, true, false};
    }
}

namespace {

struct Scheme {
    bool flat;          // the AUI art: flat, captions on top
    wxColour primary;   // pages and panels
    wxColour secondary; // hovered and pressed elements
    wxColour tertiary;  // text
};

Scheme SchemeFor(Visual visual, int office2007Style) {
    switch (visual) {
    case Visual::Win2000:
        return {true, wxColour(212, 208, 200), wxColour(49, 106, 197), wxColour(0, 0, 0)};
    case Visual::OfficeXP:
        return {true, wxColour(219, 216, 209), wxColour(182, 189, 210), wxColour(0, 0, 0)};
    case Visual::WinXP:
        return {false, wxColour(236, 233, 216), wxColour(49, 106, 197), wxColour(0, 0, 0)};
    case Visual::Office2003:
        return {false, wxColour(195, 218, 249), wxColour(255, 213, 140), wxColour(0, 0, 0)};
    case Visual::VS2005:
        return {true, wxColour(238, 235, 220), wxColour(193, 210, 238), wxColour(0, 0, 0)};
    case Visual::VS2008:
        return {true, wxColour(233, 236, 250), wxColour(255, 231, 162), wxColour(0, 0, 0)};
    case Visual::Win7:
        return {false, wxColour(236, 241, 247), wxColour(196, 222, 250), wxColour(0, 0, 0)};
    case Visual::Office2007:
        break;
    }
    switch (office2007Style) {
    case kOffice2007Black:
        return {false, wxColour(60, 60, 60), wxColour(255, 199, 60), wxColour(240, 240, 240)};
    case kOffice2007Silver:
        return {false, wxColour(208, 212, 221), wxColour(255, 223, 114), wxColour(0, 0, 0)};
    case kOffice2007Aqua:
        return {false, wxColour(160, 212, 212), wxColour(255, 223, 114), wxColour(0, 0, 0)};
    default:
        return {false, wxColour(194, 216, 241), wxColour(255, 223, 114), wxColour(0, 0, 0)};
    }
}

double Luminance(const wxColour& colour) {
    auto channel = [](unsigned char value) {
        const double s = value / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.Red()) + 0.7152 * channel(colour.Green()) +
           0.0722 * channel(colour.Blue());
}

double Contrast(double la, double lb) {
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The art derives its text colours from the scheme, and on some schemes they come out too
// faint, or dark on dark. A text colour that reads worse than 4.5:1 on the backgrounds it is
// drawn on (their average: they blend into each other as gradients) becomes black or white,
// whichever reads better.
void EnsureReadable(wxRibbonArtProvider& art) {
    struct Pairing {
        int text;
        std::vector<int> backgrounds;
    };
    const Pairing pairings[] = {
        // Button captions, and the captions of edit boxes and check boxes, which take this
        // colour too.
        {wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR,
         {wxRIBBON_ART_PAGE_BACKGROUND_TOP_COLOUR, wxRIBBON_ART_PAGE_BACKGROUND_TOP_GRADIENT_COLOUR,
          wxRIBBON_ART_PAGE_BACKGROUND_COLOUR, wxRIBBON_ART_PAGE_BACKGROUND_GRADIENT_COLOUR}},
        {wxRIBBON_ART_PANEL_LABEL_COLOUR,
         {wxRIBBON_ART_PANEL_LABEL_BACKGROUND_COLOUR,
          wxRIBBON_ART_PANEL_LABEL_BACKGROUND_GRADIENT_COLOUR}},
        {wxRIBBON_ART_PANEL_HOVER_LABEL_COLOUR,
         {wxRIBBON_ART_PANEL_HOVER_LABEL_BACKGROUND_COLOUR,
          wxRIBBON_ART_PANEL_HOVER_LABEL_BACKGROUND_GRADIENT_COLOUR}},
        {wxRIBBON_ART_TAB_LABEL_COLOUR,
         {wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR,
          wxRIBBON_ART_TAB_CTRL_BACKGROUND_GRADIENT_COLOUR}},
    };
    for (const Pairing& pairing : pairings) {
        double background = 0;
        for (int id : pairing.backgrounds) {
            background += Luminance(art.GetColour(id));
        }
        background /= static_cast<double>(pairing.backgrounds.size());
        if (Contrast(Luminance(art.GetColour(pairing.text)), background) >= 4.5) {
            continue;
        }
        art.SetColour(pairing.text,
                      Contrast(0.0, background) >= Contrast(1.0, background) ? *wxBLACK : *wxWHITE);
    }
}

// The art shifts the scheme's hue and adds saturation to it as it derives its colours, so a
// grey or near-white scheme comes out tinted (silver turned lavender). Makes every cool colour of
// the art a neutral grey of the same brightness, with a touch of `tint` added; warm colours (the
// highlights of hovered and pressed elements) keep their colour.
void Neutralise(wxRibbonArtProvider& art, int tintRed, int tintGreen, int tintBlue) {
    for (int id = wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR;
         id <= wxRIBBON_ART_BUTTON_BAR_LABEL_HIGHLIGHT_GRADIENT_TOP_COLOUR; ++id) {
        const wxColour colour = art.GetColour(id);
        const wxImage::HSVValue hsv =
            wxImage::RGBtoHSV(wxImage::RGBValue(colour.Red(), colour.Green(), colour.Blue()));
        const bool warm = hsv.saturation > 0.2 && (hsv.hue < 0.17 || hsv.hue > 0.92);
        if (warm) {
            continue;
        }
        const int grey = (colour.Red() * 30 + colour.Green() * 59 + colour.Blue() * 11) / 100;
        auto channel = [grey](int tint) {
            return static_cast<unsigned char>(std::clamp(grey + tint, 0, 255));
        };
        art.SetColour(id, wxColour(channel(tintRed), channel(tintGreen), channel(tintBlue)));
    }
}

} // namespace

wxRibbonArtProvider* CreateLookArt(Visual visual, int office2007Style) {
    const Scheme scheme = SchemeFor(visual, office2007Style);
    wxRibbonArtProvider* art =
        scheme.flat ? new wxRibbonAUIArtProvider : new wxRibbonMSWArtProvider;
    art->SetColourScheme(scheme.primary, scheme.secondary, scheme.tertiary);
    if (visual == Visual::Office2007 && office2007Style == kOffice2007Silver) {
        Neutralise(*art, -2, 0, 4);
    } else if (visual == Visual::Win7) {
        // Windows 7 is the plain one: near-white panels with a hint of blue.
        Neutralise(*art, -6, 0, 10);
    }
    EnsureReadable(*art);
    return art;
}

wxColour LabelColour(const wxRibbonArtProvider& art) {
    return art.GetColour(wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR);
}

} // namespace tesslin
