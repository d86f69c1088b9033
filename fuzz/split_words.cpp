// SplitWords on arbitrary bytes: the words are exactly the maximal runs of non-blank bytes,
// and joining them for the edit box and splitting again gives the same list.
#include "settings/SplitWords.h"

#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> words = tesslin::SplitWords(text);

    // Walk the text once, matching each run of non-blank bytes against the next word.
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) {
            ++end;
        }
        FUZZ_CHECK(next < words.size());
        FUZZ_CHECK(words[next] == text.substr(i, end - i));
        ++next;
        i = end;
    }
    FUZZ_CHECK(next == words.size());

    FUZZ_CHECK(tesslin::SplitWords(tesslin::JoinWords(words)) == words);
    return 0;
}
