// The application looks: every look ID gives its own look with its two switches, the choice
// survives in the profile ("ApplicationLook", written back at start and at every change, odd
// values unchanged), the style menu shows the current one, and every caption stays readable.
#include "tests/gui/GuiTest.h"

#include "app/Looks.h"
#include "res/CommandIds.h"
#include "ribbon/TabRow.h"

#include <wx/image.h>
#include <wx/ribbon/art.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace tesslin::test {
namespace {

constexpr const char* kLookEntry = "/Workspace/ApplicationLook";

struct Expected {
    Visual visual;
    bool smartDocking;
    bool windows7Look;
};

// 211 to 214 and any other value: Office 2007 in the style set last.
Expected ExpectedFor(long id) {
    const std::map<long, Expected> looks = {
        {205, {Visual::Win2000, false, false}}, {206, {Visual::OfficeXP, false, false}},
        {207, {Visual::WinXP, false, false}},   {208, {Visual::Office2003, true, false}},
        {209, {Visual::VS2005, true, false}},   {210, {Visual::VS2008, true, false}},
        {219, {Visual::Win7, true, true}}};
    const auto found = looks.find(id);
    return found == looks.end() ? Expected{Visual::Office2007, true, false} : found->second;
}

// The look of one frame as a user could tell it apart: the art's kind and its colours.
std::string Appearance(const wxRibbonArtProvider& art) {
    std::string text = dynamic_cast<const wxRibbonAUIArtProvider*>(&art) ? "flat" : "gradient";
    for (int id : {wxRIBBON_ART_PAGE_BACKGROUND_COLOUR, wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR,
                   wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR}) {
        text += ' ';
        text += art.GetColour(id).GetAsString(wxC2S_HTML_SYNTAX).utf8_string();
    }
    return text;
}

double Luminance(const wxColour& c) {
    auto channel = [](unsigned char v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
}

// Every caption below `window`, native labels and check boxes included, reads at 4.5:1 or
// better on the ribbon's page, at both ends of the page's gradient.
void ExpectCaptionsReadWell(const wxWindow& window, const wxRibbonArtProvider& art, int look) {
    for (const wxWindow* child : window.GetChildren()) {
        ExpectCaptionsReadWell(*child, art, look);
        if (!dynamic_cast<const wxStaticText*>(child) && !dynamic_cast<const wxCheckBox*>(child)) {
            continue;
        }
        const double text = Luminance(child->GetForegroundColour());
        for (int page : {wxRIBBON_ART_PAGE_BACKGROUND_TOP_COLOUR,
                         wxRIBBON_ART_PAGE_BACKGROUND_GRADIENT_COLOUR}) {
            const double back = Luminance(art.GetColour(page));
            EXPECT_GE((std::max(text, back) + 0.05) / (std::min(text, back) + 0.05), 4.5)
                << "look " << look << ", \"" << Utf8(child->GetLabel()) << "\"";
        }
    }
}

class Looks : public AppWindowTest {
protected:
    // The style menu's looks are what their captions say: blue, black, silver (grey, not
    // tinted), aqua, and the plain near-white Windows 7.
    bool LooksAsCaptioned(int id) const {
        const wxColour page =
            Ribbon().GetArtProvider()->GetColour(wxRIBBON_ART_PAGE_BACKGROUND_COLOUR);
        const wxImage::HSVValue hsv =
            wxImage::RGBtoHSV(wxImage::RGBValue(page.Red(), page.Green(), page.Blue()));
        switch (id) {
        case 215:
            return hsv.hue > 0.55 && hsv.hue < 0.7 && hsv.saturation > 0.12;
        case 216:
            return hsv.value < 0.4;
        case 217:
            return hsv.saturation < 0.05 && hsv.value > 0.6;
        case 218:
            return hsv.hue > 0.43 && hsv.hue < 0.55 && hsv.saturation > 0.12;
        default:
            return hsv.saturation < 0.08 && hsv.value > 0.85;
        }
    }
    void ExpectLook(long id) {
        const Expected expected = ExpectedFor(id);
        EXPECT_EQ(Frame().GetAppLook(), id);
        EXPECT_EQ(Profile().ReadLong(kLookEntry, -12345), id);
        EXPECT_EQ(Frame().GetVisual(), expected.visual) << id;
        EXPECT_EQ(Frame().IsSmartDocking(), expected.smartDocking) << id;
        EXPECT_EQ(Frame().IsWindows7Look(), expected.windows7Look) << id;
        EXPECT_EQ(Frame().GetTabRow().ApplicationButton().HasTabShape(), expected.windows7Look);
    }
    void Choose(int id) {
        PopupCapture popups;
        if (id >= 215) {
            // The way a user picks it: from the style menu.
            popups.ChooseNext(id);
            Frame().GetTabRow().ShowStyleMenu();
        } else {
            wxCommandEvent command(wxEVT_MENU, id);
            Frame().ProcessWindowEvent(command);
        }
        Pump();
    }
};

TEST_F(Looks, StartUsesTheStoredLookShowsItAndWritesItBackUnchanged) {
    // No stored look: blue Office 2007, written to the profile.
    ExpectLook(215);
    EXPECT_EQ(Frame().GetOffice2007Style(), kOffice2007Blue);
    for (long look : {208L, 216L, 219L, 213L, 0L, -1L, 2147483647L}) {
        Profile().Write(kLookEntry, look);
        ReopenWindow();
        ExpectLook(look);
        EXPECT_NE(ProfileFileText().find("ApplicationLook=" + std::to_string(look)),
                  std::string::npos)
            << ProfileFileText();
        // The style menu shows the current look as chosen, and only that one.
        PopupCapture popups;
        Frame().GetTabRow().ShowStyleMenu();
        ASSERT_EQ(popups.Menus().size(), 1u);
        for (const PopupCapture::Item& item : popups.Menus()[0]) {
            EXPECT_EQ(item.checked, item.id == look) << item.id;
        }
    }
}

// Every look is its own, the style menu's as captioned, with every caption readable; the looks
// without a style of their own (211 to 214) keep the one set last.
TEST_F(Looks, EveryLookLooksDifferentAndThoseWithoutAStyleKeepTheOneSetLast) {
    std::map<std::string, int> seen;
    for (int id = ids::kFirstLook; id <= ids::kLastLook; ++id) {
        Choose(id);
        ExpectLook(id);
        const std::string appearance = Appearance(*Ribbon().GetArtProvider());
        if (id < 211 || id > 214) {
            const auto [where, fresh] = seen.emplace(appearance, id);
            EXPECT_TRUE(fresh) << id << " looks like " << where->second << ": " << appearance;
        }
        EXPECT_TRUE(id < 215 || LooksAsCaptioned(id)) << id << ": " << appearance;
        ExpectCaptionsReadWell(Ribbon(), *Ribbon().GetArtProvider(), id);
    }
    Choose(216);
    const std::string black = Appearance(*Ribbon().GetArtProvider());
    // The black style is dark: its pages too, not only its accents.
    EXPECT_LT(
        Ribbon().GetArtProvider()->GetColour(wxRIBBON_ART_PAGE_BACKGROUND_COLOUR).GetLuminance(),
        0.4);
    for (int id : {211, 212, 213, 214}) {
        Choose(id);
        ExpectLook(id);
        EXPECT_EQ(Frame().GetOffice2007Style(), kOffice2007Black) << id;
        EXPECT_EQ(Appearance(*Ribbon().GetArtProvider()), black) << id;
    }
    Choose(219);
    ExpectLook(219);
    Choose(218);
    ExpectLook(218);
    EXPECT_EQ(Frame().GetOffice2007Style(), kOffice2007Aqua);
}

} // namespace
} // namespace tesslin::test
