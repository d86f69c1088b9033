// The words that name a subtitle's language when they end its file name ("Movie.ko.smi",
// "Movie.Korean.srt", "Movie.한국어.smi"), and the flavours that go with them ("forced",
// "sdh").
#pragma once

#include <string_view>

namespace tesslin {

// True when `word` (any letter case) is a language code or name, or a subtitle flavour such
// as "forced" or "sdh", that players read from the end of a subtitle's name.
bool IsLanguageTag(std::string_view word);

// True when `word` is a region code that may follow a language tag ("KR" in "ko-KR").
bool IsRegionTag(std::string_view word);

// The length of the language tag that ends `stem` ("Movie.ko" -> 2, "Movie.ko-KR" -> 5), the
// tag starting right after a '.'; 0 when the stem ends in no tag or is nothing but one.
std::size_t DottedLanguageTagLength(std::string_view stem);

} // namespace tesslin
