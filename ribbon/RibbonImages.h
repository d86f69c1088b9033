// The pictures of the ribbon's image strips, one image at a time.
#pragma once

#include "res/RibbonLayout.h"

#include <wx/bitmap.h>

namespace tesslin {

// Image `index` of strip `list`, square at the strip's size. The pictures come from the
// desktop's icon theme; where the theme has none, a plain drawn picture stands in, so every
// index of every strip has an image. An index outside the strip gives wxNullBitmap.
wxBitmap RibbonImage(ribbon::ImageList list, int index);

} // namespace tesslin
