#include "settings/SplitWords.h"

#include "settings/Blank.h"

namespace tesslin {

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
