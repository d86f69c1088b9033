#include "match/LanguageTags.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tesslin {

namespace {

// Codes of ISO 639-1 and -2 and the English and native names that subtitle files carry in
// practice, and the flavours that follow them. Short codes that are also words or numerals in
// titles ("it", "no", "vi", "id") are left out: a wrong tag would cut a title.
constexpr std::array kLanguages = {
    "ko",      "kor",        "korean",  "kr",      "한국어",     "한글",   "en",   "eng",
    "english", "ja",         "jp",      "jpn",     "japanese",   "日本語", "zh",   "chi",
    "zho",     "chs",        "cht",     "chinese", "简体",       "繁體",   "中文", "fr",
    "fre",     "fra",        "french",  "ger",     "deu",        "german", "es",   "spa",
    "spanish", "ita",        "italian", "por",     "portuguese", "ru",     "rus",  "russian",
    "vie",     "vietnamese", "tha",     "thai",    "forced",     "sdh",
};
// Regions, a tag only when joined to a language ("ko-KR", "zh_TW", "en-US").
constexpr std::array kRegions = {"kr", "us", "gb", "uk", "tw", "hk",
                                 "cn", "jp", "br", "pt", "es", "fr"};

std::string Lower(std::string_view word) {
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c < 0x80 ? char(std::tolower(c)) : char(c); });
    return lower;
}

} // namespace

bool IsLanguageTag(std::string_view word) {
    const std::string lower = Lower(word);
    return std::find(kLanguages.begin(), kLanguages.end(), lower) != kLanguages.end();
}

bool IsRegionTag(std::string_view word) {
    const std::string lower = Lower(word);
    return std::find(kRegions.begin(), kRegions.end(), lower) != kRegions.end();
}

std::size_t DottedLanguageTagLength(std::string_view stem) {
    // "ko-KR" and "zh_TW": a code and a region joined by '-' or '_', both tags.
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return 0;
    }
    const std::string_view tag = stem.substr(dot + 1);
    const std::size_t join = tag.find_first_of("-_");
    const bool is_tag = join == std::string_view::npos ? IsLanguageTag(tag)
                                                       : IsLanguageTag(tag.substr(0, join)) &&
                                                             IsRegionTag(tag.substr(join + 1));
    return is_tag ? tag.size() : 0;
}

} // namespace tesslin
