#include "ribbon/RibbonImages.h"

#include "res/AppIcon.h"

#include <wx/artprov.h>
#include <wx/image.h>

namespace tesslin {

namespace {

using ribbon::ImageList;

// What each image shows. The file strips serve the "파일" menu and the "홈" category: 1 is
// the folder, 7 the scan, 10 the exit. The write strips serve "변경 작업": 0 is the rename,
// 9 the pair suggestions, 4 their undo.
// The buttons strip: 0 is the about button.
wxArtID ArtFor(ImageList list, int index) {
    static const wxArtID kFile[] = {wxART_NEW,         wxART_FOLDER_OPEN, wxART_REPORT_VIEW,
                                    wxART_FILE_OPEN,   wxART_FILE_SAVE,   wxART_PRINT,
                                    wxART_HELP,        wxART_FIND,        wxART_GO_FORWARD,
                                    wxART_INFORMATION, wxART_QUIT};
    static const wxArtID kWrite[] = {wxART_EDIT,      wxART_COPY, wxART_CUT,    wxART_PASTE,
                                     wxART_UNDO,      wxART_REDO, wxART_DELETE, wxART_FILE_SAVE_AS,
                                     wxART_TICK_MARK, wxART_FIND};
    static const wxArtID kButtons[] = {wxART_INFORMATION, wxART_HELP, wxART_TIP, wxART_QUESTION,
                                       wxART_WARNING};
    switch (list) {
    case ImageList::FileSmall:
    case ImageList::FileLarge:
        return kFile[index];
    case ImageList::WriteSmall:
    case ImageList::WriteLarge:
        return kWrite[index];
    case ImageList::Buttons:
        return kButtons[index];
    case ImageList::Main:
    case ImageList::None:
        break;
    }
    return wxArtID();
}

// A blue square with a dark rim: better than a hole in the ribbon when the icon theme lacks
// a picture.
wxBitmap DrawnStandIn(int size) {
    wxImage image(size, size);
    image.InitAlpha();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool rim = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            const bool corner = (x == 0 || x == size - 1) && (y == 0 || y == size - 1);
            image.SetRGB(x, y, rim ? 0x1F : 0x3B, rim ? 0x3A : 0x82, rim ? 0x5F : 0xC8);
            image.SetAlpha(x, y, corner ? 0 : 255);
        }
    }
    return wxBitmap(image);
}

} // namespace

wxBitmap RibbonImage(ImageList list, int index) {
    if (index < 0 || index >= ribbon::ImageCount(list)) {
        return wxNullBitmap;
    }
    const int size = ribbon::ImageSize(list);
    if (list == ImageList::Main) {
        return AppIconBitmap(size);
    }
    const wxArtClient client = size > 16 ? wxART_OTHER : wxART_TOOLBAR;
    wxBitmap bitmap = wxArtProvider::GetBitmap(ArtFor(list, index), client, wxSize(size, size));
    if (!bitmap.IsOk()) {
        return DrawnStandIn(size);
    }
    if (bitmap.GetWidth() != size || bitmap.GetHeight() != size) {
        wxImage image = bitmap.ConvertToImage();
        image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
        bitmap = wxBitmap(image);
    }
    return bitmap;
}

} // namespace tesslin
