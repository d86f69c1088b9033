// The application icon: the frame's icons, the about box's picture.
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

namespace tesslin {

// The icon at every size it exists in (16, 24, 32, 48 and 256 px).
wxIconBundle AppIconBundle();

// The icon scaled to `size` pixels square, from the nearest larger drawing.
wxBitmap AppIconBitmap(int size);

} // namespace tesslin
