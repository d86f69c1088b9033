#include "match/NameParts.h"

#include "match/LanguageTags.h"
#include "match/NameTokens.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tesslin {

namespace {

// Reads an unsigned decimal number of `min` to `max` digits at the start of `text`; advances
// `text` past it. -1 when there is none.
int ReadNumber(std::string_view& text, std::size_t min, std::size_t max) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) {
        ++n;
    }
    if (n < min || n > max) {
        return -1;
    }
    int value = 0;
    for (std::size_t k = 0; k < n; ++k) {
        value = value * 10 + (text[k] - '0');
    }
    text.remove_prefix(n);
    return value;
}

// Skips a version suffix ("v2") at the start of `text`; true when `text` is then used up.
bool EndsAfterVersion(std::string_view text) {
    if (text.starts_with('v')) {
        text.remove_prefix(1);
        return ReadNumber(text, 1, 2) >= 0 && text.empty();
    }
    return text.empty();
}

bool StartsWithWord(std::string_view& text, std::string_view word) {
    if (text.starts_with(word)) {
        text.remove_prefix(word.size());
        return true;
    }
    return false;
}

// "07", "07v2": an episode-sized number alone, with its version. -1 otherwise.
int PlainNumber(std::string_view text, std::size_t* digits = nullptr) {
    const std::size_t before = text.size();
    const int value = ReadNumber(text, 1, 4);
    if (value < 0 || !EndsAfterVersion(text)) {
        return -1;
    }
    if (digits != nullptr) {
        *digits = before - text.size();
    }
    return value;
}

bool IsYear(std::string_view text) {
    std::string_view rest = text;
    const int value = ReadNumber(rest, 4, 4);
    return rest.empty() && value >= 1900 && value <= 2099;
}

bool IsHex8(std::string_view text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
               return IsDigit(c) || (c >= 'a' && c <= 'f');
           });
}

// Words that mark the release rather than the title: source, codec, audio, edition.
constexpr std::array<std::string_view, 70> kReleaseWords = {
    "dl",      "dual",     "audio", "vostfr",  "nflx",       "itunes", "10bits", "sdr",
    "bluray",  "blu",      "bdrip", "brrip",   "bdremux",    "remux",  "bd",     "web",
    "webrip",  "webdl",    "hdtv",  "hdrip",   "dvdrip",     "dvd",    "tvrip",  "amzn",
    "nf",      "dsnp",     "hulu",  "atvp",    "hmax",       "proper", "repack", "internal",
    "limited", "extended", "uncut", "unrated", "remastered", "dubbed", "subbed", "multi",
    "x264",    "x265",     "h264",  "h265",    "hevc",       "avc",    "xvid",   "divx",
    "av1",     "vp9",      "10bit", "8bit",    "12bit",      "hi10p",  "hdr",    "hdr10",
    "uhd",     "fhd",      "4k",    "8k",      "atmos",      "truehd", "flac",   "mp3",
    "opus",    "lpcm",     "pcm",   "2ch",     "6ch",        "dtshd",
};
// Audio codecs that may carry their channels: "aac", "aac2", "ddp5" (of "DDP5.1").
constexpr std::array<std::string_view, 7> kAudioWords = {"aac", "ddp", "dd", "eac3",
                                                         "ac3", "dts", "ea"};

bool IsAudio(std::string_view text) {
    for (const std::string_view word : kAudioWords) {
        if (text.starts_with(word)) {
            std::string_view rest = text.substr(word.size());
            if (rest.empty() || (ReadNumber(rest, 1, 1) >= 0 && rest.empty())) {
                return true;
            }
        }
    }
    return false;
}

// A word of the release: a resolution ("1080p", "1920x1080"), codec, audio, source, version.
bool IsReleaseWord(std::string_view text) {
    if (std::find(kReleaseWords.begin(), kReleaseWords.end(), text) != kReleaseWords.end() ||
        IsAudio(text)) {
        return true;
    }
    std::string_view rest = text;
    if (ReadNumber(rest, 3, 4) >= 0) {
        if (rest == "p" || rest == "i") {
            return true; // 720p, 1080i
        }
        if (rest.starts_with('x')) {
            rest.remove_prefix(1);
            return ReadNumber(rest, 3, 4) >= 0 && rest.empty(); // 1920x1080
        }
        return false;
    }
    rest = text;
    return rest.starts_with('v') && (rest.remove_prefix(1), ReadNumber(rest, 1, 2) >= 0) &&
           rest.empty(); // v2
}

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A season written as a word before the episode ("Season 2", "시즌2", "Stagione 6").
constexpr std::array<std::string_view, 5> kSeasonWords = {"season", "시즌", "stagione", "temporada",
                                                          "saison"};
// Words that make an episode a special rather than a regular one.
constexpr std::array<std::string_view, 8> kSpecialWords = {
    "sp", "sps", "ova", "oad", "special", "specials", "스페셜", "특별편"};
// Words that name one part of a work ("CD1", "Part 2", "Disc 1").
constexpr std::array<std::string_view, 5> kPartWords = {"cd", "part", "pt", "disc", "disk"};
// Extras that come with a release and are nobody's partner.
constexpr std::array<std::string_view, 4> kExtraWords = {"sample", "trailer", "featurette",
                                                         "teaser"};
// Country tags that tell two series of one name apart ("The Office US").
constexpr std::array<std::string_view, 5> kCountries = {"us", "uk", "au", "ca", "nz"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// `word` followed by a number of one or two digits, as one token ("sp2") or as the word alone
// with the number in `next` ("Part 2"). Returns the number (0 when there is none and
// `number_needed` is false, -1 when `word` is not there) and how many tokens it spans.
int WordAndNumber(std::string_view token, const std::string* next, std::string_view word,
                  bool number_needed, std::size_t& span) {
    std::string_view rest = token;
    if (!StartsWithWord(rest, word)) {
        return -1;
    }
    span = 1;
    if (rest.empty()) {
        if (next != nullptr && IsDigits(*next) && next->size() <= 2) {
            span = 2;
            return std::stoi(*next);
        }
        return number_needed ? -1 : 0;
    }
    const int number = ReadNumber(rest, 1, 2);
    return rest.empty() ? number : -1;
}

// A valid calendar date, as yyyymmdd, or -1.
int DateOf(int year, int month, int day) {
    return year >= 1950 && year <= 2099 && month >= 1 && month <= 12 && day >= 1 && day <= 31
               ? year * 10000 + month * 100 + day
               : -1;
}

// One reading of a marker: how many tokens it spans, whether it names itself an episode
// ("S01E02", "E02", "2화") rather than only placing a number ("- 02", "[02]").
struct MarkerRead {
    std::size_t span = 0;
    bool strong = false;
};

class NameReader {
public:
    explicit NameReader(std::string_view stem) : stem_(stem), tokens_(Tokenize(stem, groups_)) {
        MarkLeadingGroup();
    }

    // The keys alone: what the name and language rules compare.
    NameParts ReadKeys() {
        NameParts parts;
        ReadKeys(parts);
        return parts;
    }

    NameParts Read() {
        NameParts parts;
        const std::size_t tag_first = ReadKeys(parts);
        date_.assign(tokens_.size(), -1);
        release_.assign(tokens_.size(), false);
        MarkDates();
        MarkReleaseTokens();
        const std::size_t year_at = FindYear(tag_first);
        if (year_at < tokens_.size()) {
            parts.year = std::stoi(tokens_[year_at].lower);
        }
        const std::size_t cut = std::min(Cut(year_at), tag_first);
        parts.title = Words(first_, cut, false);
        // "Title 2011 148": the one word after the year may be the episode.
        const bool after_year =
            year_at + 2 == tag_first && PlainNumber(tokens_[year_at + 1].lower) >= 0;
        ReadEpisode(parts, cut, after_year ? year_at + 1 : cut - 1);
        return parts;
    }

private:
    // Sets the normalised forms, the tag and whether the name is an extra; returns the index
    // of the first tag token, as FindTags.
    std::size_t ReadKeys(NameParts& parts) const {
        parts.whole = Normalise(stem_);
        parts.extra = IsExtra();
        const std::size_t tag_first = FindTags(parts);
        parts.untagged = parts.untagged_length == stem_.size()
                             ? parts.whole
                             : Normalise(stem_.substr(0, parts.untagged_length));
        return tag_first;
    }

    // "[Group] Title - 07": the bracketed group name that opens a fansub release is no part
    // of the title.
    void MarkLeadingGroup() {
        if (!tokens_.empty() && tokens_[0].group >= 0 &&
            groups_[std::size_t(tokens_[0].group)].first == 0) {
            const Group& group = groups_[std::size_t(tokens_[0].group)];
            if (group.count < tokens_.size()) {
                first_ = group.count;
            }
        }
    }

    bool Joined(std::size_t a, std::string_view separators) const {
        return a + 1 < tokens_.size() && tokens_[a + 1].gap_begin == tokens_[a].end &&
               tokens_[a + 1].begin == tokens_[a].end + 1 &&
               separators.find(stem_[tokens_[a].end]) != std::string_view::npos;
    }

    // Broadcast dates after the title's first word: "2023.05.14", "2023-05-14", "20230514",
    // "230514". The date is the episode's identity, and none of its numbers an episode or year.
    void MarkDates() {
        for (std::size_t i = first_ + 1; i < tokens_.size(); ++i) {
            const std::string& t = tokens_[i].lower;
            if (!IsDigits(t)) {
                continue;
            }
            if (t.size() == 4 && i + 2 < tokens_.size() && Joined(i, ".-_ ") &&
                Joined(i + 1, std::string_view(&stem_[tokens_[i].end], 1)) &&
                tokens_[i + 1].lower.size() == 2 && tokens_[i + 2].lower.size() == 2 &&
                IsDigits(tokens_[i + 1].lower) && IsDigits(tokens_[i + 2].lower)) {
                date_[i] = DateOf(std::stoi(t), std::stoi(tokens_[i + 1].lower),
                                  std::stoi(tokens_[i + 2].lower));
                if (date_[i] >= 0) {
                    release_[i + 1] = release_[i + 2] = true;
                }
            } else if (t.size() == 8) {
                const int v = std::stoi(t);
                date_[i] = DateOf(v / 10000, v / 100 % 100, v % 100);
            } else if (t.size() == 6) {
                const int v = std::stoi(t);
                date_[i] = DateOf(2000 + v / 10000, v / 100 % 100, v % 100);
            }
        }
    }

    // The tokens that are release words, with the numbers that belong to them: "H.264",
    // "10-bit", "DDP5.1", "AAC 2.0", "5.1", a bracketed checksum.
    void MarkReleaseTokens() {
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const std::string& t = tokens_[i].lower;
            const bool next_is_number = i + 1 < tokens_.size() && IsDigits(tokens_[i + 1].lower);
            if (date_[i] >= 0 || release_[i]) {
                continue;
            }
            if (IsReleaseWord(t)) {
                release_[i] = true;
                if (IsAudio(t) && next_is_number && tokens_[i + 1].lower.size() == 1) {
                    release_[i + 1] = true; // the channels: "DDP5.1", "AAC 2.0"
                }
            } else if (t == "h" && next_is_number &&
                       (tokens_[i + 1].lower == "264" || tokens_[i + 1].lower == "265")) {
                release_[i] = release_[i + 1] = true;
            } else if (IsDigits(t) && i + 1 < tokens_.size() && tokens_[i + 1].lower == "bit") {
                release_[i] = release_[i + 1] = true;
            } else if (tokens_[i].group >= 0 && groups_[std::size_t(tokens_[i].group)].count == 1 &&
                       IsHex8(t) && !IsDigits(t)) {
                release_[i] = true; // [A1B2C3D4]
            } else if (IsDigits(t) && Dotted(i)) {
                release_[i] = true; // "5.1", "2.0", "1.5": a dotted number is no episode
            }
        }
    }

    // True when the number at `i` is a digit joined to another by a single dot ("5.1"); longer
    // numbers so joined are a title's and its year ("Apollo.13.1995") or packed ("24.306").
    bool Dotted(std::size_t i) const {
        const auto joined = [this](std::size_t a) { // tokens a and a + 1
            return Joined(a, ".") && tokens_[a].lower.size() == 1 &&
                   tokens_[a + 1].lower.size() == 1 && IsDigit(tokens_[a].lower[0]) &&
                   IsDigit(tokens_[a + 1].lower[0]);
        };
        return joined(i) || (i > 0 && joined(i - 1));
    }

    // "._Movie", "Movie-sample", "Movie.Trailer.1080p": an extra, unless the word opens the
    // title ("Trailer Park Boys").
    bool IsExtra() const {
        if (stem_.starts_with("._")) {
            return true;
        }
        for (std::size_t i = first_; i < tokens_.size(); ++i) {
            if (OneOf(kExtraWords, tokens_[i].lower) && (i > first_ || tokens_.size() == 1)) {
                return true;
            }
        }
        return false;
    }

    // The trailing language tags: sets the tag and the untagged length; returns the index of
    // the first tag token (the token count when there is none).
    std::size_t FindTags(NameParts& parts) const {
        std::size_t first = tokens_.size();
        while (first > first_ + 1 && tokens_.size() - first < 3) {
            const Token& t = tokens_[first - 1];
            const bool region = first - 1 > first_ + 1 && IsRegionTag(t.lower) &&
                                IsLanguageTag(tokens_[first - 2].lower) &&
                                t.gap_begin + 1 == t.begin &&
                                (stem_[t.gap_begin] == '-' || stem_[t.gap_begin] == '_');
            if (region) {
                first -= 2;
            } else if (IsLanguageTag(t.lower)) {
                first -= 1;
            } else {
                break;
            }
        }
        if (first == tokens_.size()) {
            parts.untagged_length = stem_.size();
            return first;
        }
        parts.untagged_length = tokens_[first].gap_begin;
        parts.tag = std::string(
            stem_.substr(tokens_[first].begin, tokens_.back().end - tokens_[first].begin));
        return first;
    }

    bool YearLike(std::size_t i) const {
        return date_[i] < 0 && !release_[i] && IsYear(tokens_[i].lower);
    }

    // The year: the last number that looks like one before the first release word, after the
    // title's first word, and bracketed or followed by more of the name. "Film 2049" ends in
    // its title's number; in "Film 1984 (2020)" the year is 2020. The token count for none.
    std::size_t FindYear(std::size_t tag_first) const {
        std::size_t year = tokens_.size();
        for (std::size_t i = first_ + 1; i < tag_first && !release_[i]; ++i) {
            if (YearLike(i) && (tokens_[i].group >= 0 || i + 1 < tag_first)) {
                year = i;
            }
        }
        return year;
    }

    // Where the title ends: the first release word, date, the year or a bracketed addition
    // after the title's first word.
    std::size_t Cut(std::size_t year_at) const {
        for (std::size_t i = first_ + 1; i < tokens_.size(); ++i) {
            if (release_[i] || date_[i] >= 0 || i == year_at || tokens_[i].group >= 0) {
                return i;
            }
        }
        return tokens_.size();
    }

    // The words of tokens [from, to); with `bare`, without the numbers that look like years
    // (bar the first word) and without a country tag at the end.
    std::string Words(std::size_t from, std::size_t to, bool bare,
                      std::string* country = nullptr) const {
        to = std::min(to, tokens_.size());
        if (bare && to > from + 1 && OneOf(kCountries, tokens_[to - 1].lower)) {
            if (country != nullptr) {
                *country = tokens_[to - 1].lower;
            }
            --to;
        }
        std::string words;
        for (std::size_t i = from; i < to; ++i) {
            if (!bare || !IsYear(tokens_[i].lower) || i == first_) {
                words += tokens_[i].lower;
            }
        }
        return words;
    }

public:
    static std::string Normalise(std::string_view text) {
        // Separators go, except between two digits: "1-2화" is no "12화".
        std::string out;
        out.reserve(text.size());
        bool gap = false;
        for (const char c : text) {
            if (c == ' ' || c == '\t' || c == '.' || c == '_' || c == '-') {
                gap = true;
                continue;
            }
            if (gap && IsDigit(c) && !out.empty() && IsDigit(out.back())) {
                out += '.';
            }
            gap = false;
            out += LowerAscii(c);
        }
        return FoldText(std::move(out));
    }

private:
    std::string_view Gap(std::size_t i) const {
        return stem_.substr(tokens_[i].gap_begin, tokens_[i].begin - tokens_[i].gap_begin);
    }

    // The second number of a double episode joined to the marker that ends before `j`:
    // "-02", "-E02", "E02", "-2화". -1 when there is none.
    int LastOfDouble(std::size_t j, int first) const {
        if (j >= tokens_.size() || j == 0 || !Joined(j - 1, "-~&") || release_[j] ||
            date_[j] >= 0) {
            return -1;
        }
        std::string_view rest = tokens_[j].lower;
        StartsWithWord(rest, "e");
        const int last = ReadNumber(rest, 1, 4);
        const bool ends = EndsAfterVersion(rest) || rest == "화" || rest == "회" || rest == "話";
        return ends && last > first ? last : -1;
    }

    // Reads a marked episode at token `i`; on success sets `episode` and the index where the
    // episode's title ends, and returns how many tokens the marker spans (0: no marker).
    MarkerRead Marker(std::size_t i, Episode& episode, std::size_t& title_end) const {
        MarkerRead read = ReadMarker(i, episode, title_end);
        if (read.span > 0 && episode.last == episode.number) {
            if (const int last = LastOfDouble(i + read.span, episode.number); last >= 0) {
                episode.last = last;
                ++read.span;
            }
        }
        return read;
    }

    MarkerRead ReadMarker(std::size_t i, Episode& episode, std::size_t& title_end) const {
        const std::string& t = tokens_[i].lower;
        const std::string* next = i + 1 < tokens_.size() ? &tokens_[i + 1].lower : nullptr;
        title_end = i;
        episode = Episode{};
        episode.marked = true;
        std::string_view rest = t;
        // S01E02, s1e2, S013E18, S06xE01, S01E01E02, S01E02v2.
        if (StartsWithWord(rest, "s")) {
            const int season = ReadNumber(rest, 1, 3);
            if (season >= 0) {
                StartsWithWord(rest, "x");
                if (StartsWithWord(rest, "e")) {
                    const int number = ReadNumber(rest, 1, 4);
                    int last = number;
                    if (number >= 0 && StartsWithWord(rest, "e")) {
                        last = ReadNumber(rest, 1, 4);
                    }
                    if (number >= 0 && last >= 0 && EndsAfterVersion(rest)) {
                        episode.season = season;
                        episode.number = number;
                        episode.last = last;
                        return {1, true};
                    }
                } else if (rest.empty() && next != nullptr) {
                    // s03-e01, S01 E02
                    std::string_view after = *next;
                    if (StartsWithWord(after, "e")) {
                        const int number = ReadNumber(after, 1, 4);
                        if (number >= 0 && EndsAfterVersion(after)) {
                            episode.season = season;
                            episode.number = episode.last = number;
                            return {2, true};
                        }
                    }
                }
            }
        }
        rest = t;
        // 1x02, [05x07]
        if (const int season = ReadNumber(rest, 1, 2); season >= 0 && StartsWithWord(rest, "x")) {
            const int number = ReadNumber(rest, 2, 3);
            if (number >= 0 && EndsAfterVersion(rest)) {
                episode.season = season;
                episode.number = episode.last = number;
                return {1, true};
            }
        }
        // E02, EP02, Ep.2, Episode 18, Episodio 3, E01E02
        for (const std::string_view word : {"episodio", "episode", "ep", "e"}) {
            rest = t;
            if (StartsWithWord(rest, word)) {
                std::string_view number_text = rest;
                const int number = ReadNumber(number_text, 1, 4);
                if (std::string_view second = number_text;
                    number >= 0 && StartsWithWord(second, "e")) {
                    if (const int last = PlainNumber(second); last > number) {
                        episode.last = last; // E01E02
                        episode.number = number;
                        return {1, true};
                    }
                }
                if (const int number = PlainNumber(rest); number >= 0) {
                    episode.number = episode.last = number;
                    return {1, true};
                }
                if (rest.empty() && next != nullptr) {
                    if (const int number = PlainNumber(*next); number >= 0) {
                        episode.number = episode.last = number;
                        return {2, true};
                    }
                }
                break;
            }
        }
        // 02화, 제2화, 2회, 第02話, 第2集; also with a blank: "제 2화", "2 화"; "1-2화"
        rest = t;
        const bool prefixed = StartsWithWord(rest, "제") || StartsWithWord(rest, "第");
        if (const int number = ReadNumber(rest, 1, 4); number >= 0) {
            if (std::string_view version = rest;
                StartsWithWord(version, "v") && ReadNumber(version, 1, 2) >= 0) {
                rest = version; // 02v2화 is rare, but its version is no part of the marker
            }
            const auto is_suffix = [](std::string_view s) {
                return s == "화" || s == "회" || s == "話" || s == "话" || s == "集";
            };
            const std::size_t suffix_at =
                next == nullptr ? std::string::npos : next->find_first_not_of("0123456789");
            const bool double_suffixed = rest.empty() && suffix_at != std::string::npos &&
                                         suffix_at > 0 && Joined(i, "-~") &&
                                         is_suffix(std::string_view(*next).substr(suffix_at));
            if (is_suffix(rest) ||
                (rest.empty() && !prefixed && next != nullptr && is_suffix(*next)) ||
                double_suffixed) {
                episode.number = episode.last = number;
                if (!prefixed && i > 0 &&
                    (tokens_[i - 1].lower == "제" || tokens_[i - 1].lower == "第")) {
                    title_end = i - 1;
                }
                if (double_suffixed) {
                    episode.last = LastOfDouble(i + 1, number);
                    return {episode.last >= 0 ? std::size_t(2) : std::size_t(0), true};
                }
                return {rest.empty() ? std::size_t(2) : std::size_t(1), true};
            }
        }
        // "01of06"
        rest = t;
        if (const int number = ReadNumber(rest, 1, 3); number >= 0 && StartsWithWord(rest, "of") &&
                                                       ReadNumber(rest, 1, 3) >= 0 &&
                                                       rest.empty()) {
            episode.number = episode.last = number;
            return {1, true};
        }
        // "01 of 24", "[01 of 24]"
        if (const int number = PlainNumber(t); number >= 0 && i + 2 < tokens_.size() &&
                                               *next == "of" && IsDigits(tokens_[i + 2].lower)) {
            episode.number = episode.last = number;
            return {3, true};
        }
        // #01, - 02, [02], (9): a bare number that a sign or brackets mark as the episode.
        if (const int number = PlainNumber(t); number >= 0 && !IsYear(t) && !release_[i]) {
            const std::string_view gap = Gap(i);
            const bool hash = gap.find('#') != std::string_view::npos;
            // " - 07", "_-_07": a dash with blanks; "Catch-22" is a title.
            const bool dash = gap.find('-') != std::string_view::npos && gap.size() >= 2;
            const bool bracketed = tokens_[i].group >= 0 &&
                                   groups_[std::size_t(tokens_[i].group)].count == 1 && i >= first_;
            if (hash || dash || bracketed) {
                episode.number = episode.last = number;
                return {1, false};
            }
        }
        return {};
    }

    // The first marker is the episode; a later one that names itself an episode must agree,
    // while a later bare number belongs to the episode's title ("3x07 - Day 3 - 7 AM").
    void ReadEpisode(NameParts& parts, std::size_t cut, std::size_t last_word) {
        Episode& found = parts.episode;
        std::size_t title_end = tokens_.size();
        bool marked = false;
        for (std::size_t i = first_; i < tokens_.size();) {
            std::size_t span = 0;
            if (date_[i] >= 0) {
                if (found.date >= 0 && found.date != date_[i]) {
                    return Conflict(parts);
                }
                found.date = date_[i];
                title_end = std::min(title_end, i);
                ++i;
                continue;
            }
            if (release_[i]) {
                ++i;
                continue;
            }
            const std::string* next = i + 1 < tokens_.size() ? &tokens_[i + 1].lower : nullptr;
            if (i > first_ && found.part < 0) {
                for (const std::string_view word : kPartWords) {
                    std::size_t part_span = 0;
                    if (const int part =
                            WordAndNumber(tokens_[i].lower, next, word, true, part_span);
                        part >= 0) {
                        found.part = part;
                        title_end = std::min(title_end, i);
                        span = part_span;
                        break;
                    }
                }
                if (span > 0) {
                    i += span;
                    continue;
                }
            }
            if (i > first_ && !marked) {
                for (const std::string_view word : kSpecialWords) {
                    std::size_t special_span = 0;
                    if (const int number =
                            WordAndNumber(tokens_[i].lower, next, word, false, special_span);
                        number >= 0) {
                        found.special = true;
                        title_end = std::min(title_end, i);
                        if (special_span == 2 || number > 0) {
                            found.number = found.last = number;
                            found.marked = marked = true;
                        }
                        span = special_span;
                        break;
                    }
                }
                if (span > 0) {
                    i += span;
                    continue;
                }
            }
            Episode episode;
            std::size_t end = 0;
            const MarkerRead read = Marker(i, episode, end);
            if (read.span == 0) {
                ++i;
                continue;
            }
            if (!marked) {
                episode.date = found.date;
                episode.part = found.part;
                episode.special = found.special || episode.season == 0;
                found = episode;
                title_end = std::min(title_end, end);
                marked = true;
            } else if (read.strong &&
                       (episode.season != found.season || episode.number != found.number ||
                        episode.last != found.last)) {
                return Conflict(parts);
            }
            i += read.span;
        }
        if (!marked && found.date < 0 && found.part < 0) {
            ReadTrailingNumber(parts, last_word);
            title_end = parts.episode.Known() ? std::min(cut, last_word) : title_end;
        }
        if (!found.Known()) {
            return;
        }
        if (found.season < 0) {
            // "Show Season 2 Episode 4", "쇼 시즌2 4화", "Show S2 - 07", "Show 2nd Season - 07"
            for (std::size_t i = first_; i < title_end; ++i) {
                if (const int season = SeasonAt(i, title_end); season >= 0) {
                    found.season = season;
                    found.special = found.special || season == 0;
                    title_end = i;
                    break;
                }
            }
        }
        parts.episode_title = Words(first_, std::min(title_end, cut), true, &parts.country);
    }

    void Conflict(NameParts& parts) const {
        parts.conflicting_episodes = true;
        parts.episode = Episode{};
    }

    // The season that the words at `i` name ("Season 2", "season2", "시즌 2", "S2",
    // "2nd Season"), or -1.
    int SeasonAt(std::size_t i, std::size_t end) const {
        // The season's number lies before the episode: "Final Season - 05" gives none.
        const std::string* next = i + 1 < end ? &tokens_[i + 1].lower : nullptr;
        std::size_t span = 0;
        for (const std::string_view word : kSeasonWords) {
            if (const int season = WordAndNumber(tokens_[i].lower, next, word, true, span);
                season >= 0) {
                return season;
            }
        }
        std::string_view rest = tokens_[i].lower;
        if (StartsWithWord(rest, "s")) {
            const int season = ReadNumber(rest, 1, 2);
            return rest.empty() ? season : -1;
        }
        rest = tokens_[i].lower;
        const int season = ReadNumber(rest, 1, 2);
        if (rest == "기") {
            return season; // "3기"
        }
        const bool ordinal = rest == "st" || rest == "nd" || rest == "rd" || rest == "th";
        return season >= 0 && ordinal && next != nullptr && *next == "season" ? season : -1;
    }

    // "Title 07", "우리들의 블루스 01", "show.101.hdtv", "Title 2011 148": the word `i` (the last
    // of the title, or the one word after its year), when it is a number that is not a year.
    void ReadTrailingNumber(NameParts& parts, std::size_t i) {
        if (i < first_ || i >= tokens_.size()) {
            return;
        }
        std::size_t digits = 0;
        const int number = PlainNumber(tokens_[i].lower, &digits);
        if (number < 0 || IsYear(tokens_[i].lower) || release_[i]) {
            return;
        }
        parts.episode.number = parts.episode.last = number;
        parts.episode.packable = (digits == 3 || digits == 4) && number % 100 != 0;
    }

    std::string_view stem_;
    std::vector<Group> groups_;
    std::vector<Token> tokens_;
    std::vector<bool> release_;
    std::vector<int> date_; // per token, the date it starts, -1 for none
    std::size_t first_ = 0; // the first token past a leading group name
};

// b gives no season: its episode stands for season 1 (or the special's season 0), or is a's
// season and episode run together.
bool SeasonlessMatches(const Episode& a, const Episode& b) {
    if ((a.season == 1 || a.special) && b.number == a.number && b.last == a.last) {
        return true;
    }
    return b.packable && b.number == a.season * 100 + a.number && a.number == a.last;
}

} // namespace

NameParts ReadNameParts(std::string_view stem) {
    return NameReader(stem).Read();
}

NameParts ReadNameKeys(std::string_view stem) {
    return NameReader(stem).ReadKeys();
}

NameParts ReadNameWhole(std::string_view stem) {
    NameParts parts;
    parts.whole = NameReader::Normalise(stem);
    // A word of an extra is one of the name's words, so it lies whole in `whole` (which only
    // drops separators and folds letters the way the words are folded): a name without any
    // of them there is no extra, and its words need not be read.
    const bool may_be_extra =
        stem.starts_with("._") ||
        std::any_of(kExtraWords.begin(), kExtraWords.end(), [&](std::string_view word) {
            return parts.whole.find(word) != std::string::npos;
        });
    parts.extra = may_be_extra && NameReader(stem).ReadKeys().extra;
    return parts;
}

bool SameEpisode(const Episode& a, const Episode& b) {
    if (!a.Known() || !b.Known() || a.special != b.special || a.part != b.part ||
        (a.date >= 0 && b.date >= 0 && a.date != b.date)) {
        return false;
    }
    if (a.number < 0 || b.number < 0) {
        // The same broadcast date tells the episode by itself ("Show.E500.201010" and "Show
        // 201010"); the same part does only when neither side gives an episode or date.
        return a.date >= 0 && b.date >= 0
                   ? true
                   : a.number < 0 && b.number < 0 && a.date < 0 && b.date < 0;
    }
    if (a.season >= 0 && b.season >= 0) {
        return a.season == b.season && a.number == b.number && a.last == b.last;
    }
    if (a.season >= 0) {
        return SeasonlessMatches(a, b);
    }
    if (b.season >= 0) {
        return SeasonlessMatches(b, a);
    }
    return a.number == b.number && a.last == b.last;
}

} // namespace tesslin
