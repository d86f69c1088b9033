#include "view/SplitWords.h"

namespace tesslin {

namespace {
// The classic "C" locale's space class; bytes of 128 and above are never blanks.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
} // namespace

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            words.emplace_back(text.substr(start, i - start));
        }
    }
    return words;
}

std::string JoinWords(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += word;
        text += ' ';
    }
    return text;
}

} // namespace tesslin
