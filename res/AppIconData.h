// The application icon's PNG files, built into the program (generated from res/icons/).
#pragma once

#include <cstddef>

namespace tesslin {

struct IconPng {
    int size; // width and height in pixels
    const unsigned char* data;
    std::size_t length;
};

// The icon at every size it is drawn at (16, 24, 32, 48 and 256 px), smallest first.
const IconPng* AppIconPngs(std::size_t* count);

} // namespace tesslin
