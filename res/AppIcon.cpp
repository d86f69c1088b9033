#include "res/AppIcon.h"

#include "res/AppIconData.h"

#include <wx/image.h>
#include <wx/mstream.h>

namespace tesslin {

namespace {
wxImage LoadPng(const IconPng& png) {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
        wxImage::AddHandler(new wxPNGHandler);
    }
    wxMemoryInputStream stream(png.data, png.length);
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}
} // namespace

wxIconBundle AppIconBundle() {
    wxIconBundle bundle;
    std::size_t count = 0;
    const IconPng* pngs = AppIconPngs(&count);
    for (std::size_t i = 0; i < count; ++i) {
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(LoadPng(pngs[i])));
        bundle.AddIcon(icon);
    }
    return bundle;
}

wxBitmap AppIconBitmap(int size) {
    std::size_t count = 0;
    const IconPng* pngs = AppIconPngs(&count);
    // Scaling down from the next larger drawing keeps the picture sharp.
    const IconPng* best = &pngs[count - 1];
    for (std::size_t i = 0; i < count; ++i) {
        if (pngs[i].size >= size) {
            best = &pngs[i];
            break;
        }
    }
    wxImage image = LoadPng(*best);
    if (image.GetWidth() != size) {
        image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
    }
    return wxBitmap(image);
}

} // namespace tesslin
