#include "view/RootFolderText.h"

#include <cstddef>
#include <vector>

namespace tesslin {

namespace {

// The length of the well-formed UTF-8 sequence starting at `i`, or 1 when the bytes there
// are not one (a stray byte counts as a character of its own).
std::size_t SequenceLength(const std::string& s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (i + length > s.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

} // namespace

std::string RootFolderText(const std::string& path) {
    return ShortenMiddle(path, 20, 50);
}

std::string ShortenMiddle(const std::string& path, std::size_t sideBytes, std::size_t wholeUpTo) {
    if (path.size() <= wholeUpTo) {
        return path;
    }
    // Walk the characters once from the front: cutting at a character start can never land
    // inside a sequence, and walking backwards could not tell a stray byte from a tail.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < path.size(); i += SequenceLength(path, i)) {
        starts.push_back(i);
    }
    starts.push_back(path.size());

    std::size_t headEnd = 0;
    for (std::size_t start : starts) {
        if (start > sideBytes) {
            break;
        }
        headEnd = start;
    }
    std::size_t tailStart = path.size();
    for (std::size_t start : starts) {
        if (path.size() - start <= sideBytes) {
            tailStart = start;
            break;
        }
    }
    return path.substr(0, headEnd) + " ... " + path.substr(tailStart);
}

} // namespace tesslin
