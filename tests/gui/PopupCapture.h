// Stands in for pop-up menus while it lives. A real pop-up menu waits for the user; instead,
// each menu the program pops up is recorded as the user would see it (after its update-UI
// pass: enabled and checked states) and closed at once, or answered with a chosen item.
#pragma once

#include <wx/string.h>

#include <vector>

namespace tesslin::test {

class PopupCapture {
public:
    struct Item {
        int id;         // the command ID; 0 for a heading or a separator
        wxString label; // with its mnemonic and accelerator text
        bool enabled;
        bool checked;
        bool separator;
    };
    using Menu = std::vector<Item>;

    PopupCapture();
    ~PopupCapture();
    PopupCapture(const PopupCapture&) = delete;
    PopupCapture& operator=(const PopupCapture&) = delete;

    // Every menu popped up so far, in order.
    const std::vector<Menu>& Menus() const { return m_menus; }
    // The next menu chooses the item of command `id` (its command goes out as a click on it
    // would send it).
    void ChooseNext(int id) { m_choose = id; }

private:
    std::vector<Menu> m_menus;
    int m_choose = 0;
};

// The item with `id` in `menu`, or nullptr.
const PopupCapture::Item* FindItem(const PopupCapture::Menu& menu, int id);

} // namespace tesslin::test
