// The ribbon's layout as data: the application button with its menu, the quick access
// toolbar, the style menu and the about button on the tab row, and the categories with their
// panels and elements, each with its command ID, caption, key tip and images. The main frame
// builds the bar from this table alone, and the GUI tests check the bar against it.
#pragma once

#include <vector>

namespace tesslin::ribbon {

// The image strips of the ribbon: square images side by side, addressed by index.
enum class ImageList {
    None,
    FileSmall,  // 11 images of 16 px
    FileLarge,  // 9 images of 32 px
    WriteSmall, // 10 images of 16 px
    WriteLarge, // 10 images of 32 px
    Buttons,    // 5 images of 16 px
    Main,       // 1 image of 26 px: the application button
};

enum class Kind {
    Button,    // sends its command when clicked
    Edit,      // a caption and a one-line edit box
    Check,     // a check box with its caption
    Separator, // a vertical line between elements
};

struct Element {
    Kind kind;
    int id;                  // command ID; 0 for a separator
    const char* caption;     // UTF-8; "" when none
    int smallImage;          // index in the category's small strip, -1 for none
    int largeImage;          // index in the category's large strip, -1 for none
    bool alwaysLarge;        // buttons: always shown with the large image
    int width;               // edit boxes: width of the box in pixels
    int floatingWidth;       // edit boxes: width on a floating mini toolbar (no such toolbar here)
    const char* keyTip = ""; // buttons: Alt and this letter press the button; "" for none
};

struct Panel {
    const char* caption;
    const char* keyTip;  // "" when none
    int image;           // shown when the panel is collapsed; -1 for none
    bool justifyColumns; // edit boxes of one column line up
    std::vector<Element> elements;
};

struct Category {
    const char* caption;
    const char* keyTip; // "" when none
    ImageList smallImages;
    ImageList largeImages;
    std::vector<Panel> panels;
};

struct MenuItem {
    int id;
    const char* caption;
    int smallImage; // -1 for none
    int largeImage; // -1 for none
};

// The application button and the menu it opens.
struct MainMenu {
    const char* caption; // of the button's category
    const char* keyTip;
    ImageList buttonImage;
    ImageList smallImages;
    ImageList largeImages;
    std::vector<MenuItem> items;
    MenuItem bottomButton; // below the items
    const char* recentLabel;
    int recentWidth;
};

// A button on the tab row, right of the category tabs. A button with items opens them as a
// menu instead of sending a command.
struct TabRowButton {
    int id; // 0 when it opens a menu
    const char* caption;
    const char* keyTip;
    ImageList images;
    int smallImage; // -1 for none
    std::vector<MenuItem> items;
};

struct Layout {
    MainMenu mainMenu;
    std::vector<int> quickAccess; // command IDs, left to right
    std::vector<TabRowButton> tabRow;
    std::vector<Category> categories;
};

// The one layout of the program's ribbon.
const Layout& TheLayout();

// How many images a strip holds and their side in pixels.
int ImageCount(ImageList list);
int ImageSize(ImageList list);

} // namespace tesslin::ribbon
