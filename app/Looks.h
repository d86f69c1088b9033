// The fifteen application looks (IDs 205 to 219): which art provider and colours each one
// draws the ribbon with, and its two switches.
#pragma once

#include <wx/colour.h>

class wxRibbonArtProvider;

namespace tesslin {

// The visual manager a look stands for. (Windows' headers take the names Windows2000,
// WindowsXP and Windows7 for version numbers, hence the short ones.)
enum class Visual {
    Win2000,
    OfficeXP,
    WinXP,
    Office2003,
    VS2005,
    VS2008,
    Office2007,
    Win7,
};

// The colour styles of the Office 2007 looks, numbered as they are stored.
enum Office2007Style {
    kOffice2007Blue = 0,
    kOffice2007Black = 1,
    kOffice2007Aqua = 2,
    kOffice2007Silver = 3
};

struct Look {
    Visual visual;
    // The Office 2007 style the look sets, or -1 when it sets none (every other visual, and
    // the looks 211 to 214, which keep the style set last).
    int office2007Style;
    bool smartDocking;
    bool windows7Look;
};

// The look for `id`. 205 to 219 as listed by the program's look table; any other value
// (only a stored profile value can be one) is treated like 211 to 214.
Look LookFor(long id);

// A new art provider drawing `visual` (with `office2007Style` for the Office 2007 visual).
// The caller owns it. Every look gets its own colours; labels drawn by the art and by
// recoloured controls read well on its backgrounds, dark ones too.
wxRibbonArtProvider* CreateLookArt(Visual visual, int office2007Style);

// The colour for text on the ribbon's panels under `art`.
wxColour LabelColour(const wxRibbonArtProvider& art);

} // namespace tesslin
