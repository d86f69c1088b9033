// Turning the text of an extension-list box into a list of words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// Each maximal run of bytes other than blank, tab, LF, VT, FF and CR is one word, in order.
// Nothing else separates (a comma stays in its word); duplicates and dots stay.
std::vector<std::string> SplitWords(std::string_view text);

// The inverse shown in the boxes: each word followed by one blank.
std::string JoinWords(const std::vector<std::string>& words);

} // namespace tesslin
