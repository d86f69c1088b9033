#include "platform/Translation.h"

#include <utility>
#include <vector>

namespace tesslin {

namespace {
Translation& Current() {
    static Translation translation;
    return translation;
}
} // namespace

Translation SetTranslation(Translation translation) {
    return std::exchange(Current(), std::move(translation));
}

std::string Say(const std::string& english, std::initializer_list<std::string> parts) {
    const char* translated = Current() ? Current()(english) : nullptr;
    const std::string pattern = translated ? translated : english;
    if (parts.size() == 0) {
        return pattern;
    }
    const std::vector<std::string> filled(parts);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        // A place is "{" one digit "}"; anything else, a brace in a path among it, stays.
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '0' && pattern[i + 1] <= '9' &&
            static_cast<std::size_t>(pattern[i + 1] - '0') < filled.size()) {
            text += filled[static_cast<std::size_t>(pattern[i + 1] - '0')];
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace tesslin
