#include "match/NameParts.h"

#include "match/LanguageTags.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tesslin {

namespace {

// One run of name bytes between separators and brackets.
struct Token {
    std::size_t begin;     // offset in the stem
    std::size_t end;       // one past the last byte
    std::size_t gap_begin; // where the separators before the token start
    int group;             // the bracket pair it lies in, -1 outside any
    std::string lower;     // ASCII letters in lower case, other bytes as they are
};

struct Group {
    std::size_t first; // its first token
    std::size_t count; // how many tokens it holds
};

constexpr std::array<std::string_view, 10> kOpenBrackets = {"[",  "(",  "{",  "【", "「",
                                                            "『", "（", "［", "〔", "<"};
constexpr std::array<std::string_view, 10> kCloseBrackets = {"]",  ")",  "}",  "】", "」",
                                                             "』", "）", "］", "〕", ">"};

bool IsSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '.':
    case '_':
    case '-':
    case ',':
    case '+':
    case '~':
    case '!':
    case '?':
    case '\'':
    case '&':
    case ';':
    case '#':
    case '@':
    case '=':
        return true;
    default:
        return false;
    }
}

// The length of the bracket in `list` that starts `rest`, 0 for none.
std::size_t BracketAt(std::string_view rest, const std::array<std::string_view, 10>& list) {
    const auto first = static_cast<unsigned char>(rest.front());
    if (first < 0x80 && std::string_view("[](){}<>").find(char(first)) == std::string_view::npos) {
        return 0; // most bytes: no bracket starts here
    }
    for (const std::string_view bracket : list) {
        if (rest.starts_with(bracket)) {
            return bracket.size();
        }
    }
    return 0;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The conjoining jamo U+1100 to U+11FF at `i` (three bytes E1 84..87 xx), or -1.
int JamoAt(std::string_view text, std::size_t i) {
    if (i + 2 >= text.size() || static_cast<unsigned char>(text[i]) != 0xE1) {
        return -1;
    }
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    if (b1 < 0x84 || b1 > 0x87 || (b2 & 0xC0) != 0x80) {
        return -1;
    }
    return 0x1000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
}

// Hangul written as separate jamo (the decomposed form that macOS gives file names) composed
// into syllables, so that "블루스" compares equal however it was stored. Anything else is
// kept as it is.
std::string ComposeHangul(std::string_view text) {
    if (text.find('\xE1') == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const int lead = JamoAt(text, i);
        const int vowel = JamoAt(text, i + 3);
        if (lead < 0x1100 || lead > 0x1112 || vowel < 0x1161 || vowel > 0x1175) {
            out += text[i++];
            continue;
        }
        int syllable = 0xAC00 + ((lead - 0x1100) * 21 + (vowel - 0x1161)) * 28;
        i += 6;
        if (const int tail = JamoAt(text, i); tail >= 0x11A8 && tail <= 0x11C2) {
            syllable += tail - 0x11A7;
            i += 3;
        }
        out += char(0xE0 | (syllable >> 12));
        out += char(0x80 | ((syllable >> 6) & 0x3F));
        out += char(0x80 | (syllable & 0x3F));
    }
    return out;
}

std::vector<Token> Tokenize(std::string_view stem, std::vector<Group>& groups) {
    std::vector<Token> tokens;
    std::vector<int> open; // groups not yet closed, innermost last
    std::size_t gap = 0;
    std::size_t i = 0;
    while (i < stem.size()) {
        const std::string_view rest = stem.substr(i);
        if (const std::size_t n = BracketAt(rest, kOpenBrackets)) {
            groups.push_back({tokens.size(), 0});
            open.push_back(int(groups.size() - 1));
            i += n;
            continue;
        }
        if (const std::size_t n = BracketAt(rest, kCloseBrackets)) {
            if (!open.empty()) {
                open.pop_back();
            }
            i += n;
            continue;
        }
        if (IsSeparator(stem[i])) {
            ++i;
            continue;
        }
        Token token{i, i, gap, open.empty() ? -1 : open.front(), {}};
        while (i < stem.size() && !IsSeparator(stem[i]) &&
               BracketAt(stem.substr(i), kOpenBrackets) == 0 &&
               BracketAt(stem.substr(i), kCloseBrackets) == 0) {
            token.lower += LowerAscii(stem[i]);
            ++i;
        }
        token.end = i;
        token.lower = ComposeHangul(token.lower);
        if (token.group >= 0) {
            ++groups[std::size_t(token.group)].count;
        }
        tokens.push_back(std::move(token));
        gap = i;
    }
    return tokens;
}

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
constexpr std::array<std::string_view, 62> kReleaseWords = {
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

class NameReader {
public:
    explicit NameReader(std::string_view stem) : stem_(stem), tokens_(Tokenize(stem, groups_)) {
        MarkLeadingGroup();
        MarkReleaseTokens();
    }

    NameParts Read() {
        NameParts parts;
        parts.whole = Normalise(stem_);
        const std::size_t tag_first = FindTags(parts);
        parts.untagged = Normalise(stem_.substr(0, parts.untagged_length));
        const std::size_t cut = std::min(Cut(), tag_first);
        parts.title = Words(first_, cut);
        for (std::size_t i = first_; i < tokens_.size(); ++i) {
            if (i > first_ && IsYear(tokens_[i].lower)) {
                parts.year = std::stoi(tokens_[i].lower);
                break;
            }
        }
        ReadEpisode(parts, cut);
        return parts;
    }

private:
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

    // The tokens that are release words, with the numbers that belong to them: "H.264",
    // "10-bit", "DDP5.1", "AAC 2.0", "5.1", a bracketed checksum.
    void MarkReleaseTokens() {
        release_.assign(tokens_.size(), false);
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const std::string& t = tokens_[i].lower;
            const bool next_is_number = i + 1 < tokens_.size() && IsDigits(tokens_[i + 1].lower);
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

    // True when the number at `i` is joined to another number by a single dot.
    bool Dotted(std::size_t i) const {
        const auto joined = [this](std::size_t a) { // tokens a and a + 1
            return a + 1 < tokens_.size() && tokens_[a + 1].gap_begin == tokens_[a].end &&
                   tokens_[a + 1].begin == tokens_[a].end + 1 && stem_[tokens_[a].end] == '.' &&
                   IsDigits(tokens_[a].lower) && IsDigits(tokens_[a + 1].lower);
        };
        return joined(i) || (i > 0 && joined(i - 1));
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

    // Where the title ends: the first release word, year or bracketed addition after the
    // title's first word.
    std::size_t Cut() const {
        for (std::size_t i = first_ + 1; i < tokens_.size(); ++i) {
            if (release_[i] || IsYear(tokens_[i].lower) || tokens_[i].group >= 0) {
                return i;
            }
        }
        return tokens_.size();
    }

    std::string Words(std::size_t from, std::size_t to) const {
        std::string words;
        for (std::size_t i = from; i < to && i < tokens_.size(); ++i) {
            if (!IsYear(tokens_[i].lower) || i == first_) {
                words += tokens_[i].lower;
            }
        }
        return words;
    }

    static std::string Normalise(std::string_view text) {
        std::string out;
        out.reserve(text.size());
        for (const char c : text) {
            if (c != ' ' && c != '\t' && c != '.' && c != '_' && c != '-') {
                out += LowerAscii(c);
            }
        }
        return ComposeHangul(out);
    }

    std::string_view Gap(std::size_t i) const {
        return stem_.substr(tokens_[i].gap_begin, tokens_[i].begin - tokens_[i].gap_begin);
    }

    // Reads a marked episode at token `i`; on success sets `episode` and the index where the
    // episode's title ends, and returns how many tokens the marker spans (0: no marker).
    std::size_t Marker(std::size_t i, Episode& episode, std::size_t& title_end) const {
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
                        return 1;
                    }
                } else if (rest.empty() && next != nullptr) {
                    // s03-e01, S01 E02
                    std::string_view after = *next;
                    if (StartsWithWord(after, "e")) {
                        const int number = ReadNumber(after, 1, 4);
                        if (number >= 0 && EndsAfterVersion(after)) {
                            episode.season = season;
                            episode.number = episode.last = number;
                            return 2;
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
                return 1;
            }
        }
        // E02, EP02, Ep.2, Episode 18
        for (const std::string_view word : {"episode", "ep", "e"}) {
            rest = t;
            if (StartsWithWord(rest, word)) {
                if (const int number = PlainNumber(rest); number >= 0) {
                    episode.number = episode.last = number;
                    return 1;
                }
                if (rest.empty() && next != nullptr) {
                    if (const int number = PlainNumber(*next); number >= 0) {
                        episode.number = episode.last = number;
                        return 2;
                    }
                }
                break;
            }
        }
        // 02화, 제2화, 2회, 第02話, 第2集; also with a blank: "제 2화", "2 화"
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
            if (is_suffix(rest) ||
                (rest.empty() && !prefixed && next != nullptr && is_suffix(*next))) {
                episode.number = episode.last = number;
                if (!prefixed && i > 0 &&
                    (tokens_[i - 1].lower == "제" || tokens_[i - 1].lower == "第")) {
                    title_end = i - 1;
                }
                return rest.empty() ? 2 : 1;
            }
        }
        // #01, - 02, [02], (9): a bare number that a sign or brackets mark as the episode.
        if (const int number = PlainNumber(t); number >= 0 && !IsYear(t) && !release_[i]) {
            const std::string_view gap = Gap(i);
            const bool hash = gap.find('#') != std::string_view::npos;
            const bool dash = gap.find('-') != std::string_view::npos &&
                              (gap.find(' ') != std::string_view::npos ||
                               gap.find('\t') != std::string_view::npos);
            const bool bracketed = tokens_[i].group >= 0 &&
                                   groups_[std::size_t(tokens_[i].group)].count == 1 && i >= first_;
            if (hash || dash || bracketed) {
                episode.number = episode.last = number;
                return 1;
            }
        }
        return 0;
    }

    void ReadEpisode(NameParts& parts, std::size_t cut) {
        bool found = false;
        std::size_t title_end = 0;
        for (std::size_t i = first_; i < tokens_.size();) {
            Episode episode;
            std::size_t end = 0;
            const std::size_t span = release_[i] ? 0 : Marker(i, episode, end);
            if (span == 0) {
                ++i;
                continue;
            }
            if (!found) {
                parts.episode = episode;
                title_end = end;
                found = true;
            } else if (episode.season != parts.episode.season ||
                       episode.number != parts.episode.number ||
                       episode.last != parts.episode.last) {
                parts.conflicting_episodes = true;
                parts.episode = Episode{};
                return;
            }
            i += span;
        }
        if (!found) {
            ReadTrailingNumber(parts, cut);
            return;
        }
        if (parts.episode.season < 0) {
            // "Show Season 2 Episode 4", "쇼 시즌2 4화": the season named in words.
            for (std::size_t i = first_; i < title_end; ++i) {
                if (const int season = SeasonAt(i); season >= 0) {
                    parts.episode.season = season;
                    title_end = i;
                    break;
                }
            }
        }
        parts.episode_title = Words(first_, std::min(title_end, cut));
    }

    // The season that the words at `i` name ("Season 2", "season2", "시즌 2", "시즌2"), or -1.
    int SeasonAt(std::size_t i) const {
        for (const std::string_view word : {"season", "시즌"}) {
            std::string_view rest = tokens_[i].lower;
            if (!StartsWithWord(rest, word)) {
                continue;
            }
            if (rest.empty() && i + 1 < tokens_.size()) {
                rest = tokens_[i + 1].lower;
            }
            const int season = ReadNumber(rest, 1, 3);
            return rest.empty() ? season : -1;
        }
        return -1;
    }

    // "Title 07", "우리들의 블루스 01", "show.101.hdtv": the last word of the title part, when
    // it is a number that is not a year.
    void ReadTrailingNumber(NameParts& parts, std::size_t cut) {
        if (cut <= first_) {
            return;
        }
        const std::size_t i = cut - 1;
        std::size_t digits = 0;
        const int number = PlainNumber(tokens_[i].lower, &digits);
        if (number < 0 || IsYear(tokens_[i].lower) || release_[i]) {
            return;
        }
        parts.episode.number = parts.episode.last = number;
        parts.episode.packable = (digits == 3 || digits == 4) && number % 100 != 0;
        parts.episode_title = Words(first_, i);
    }

    std::string_view stem_;
    std::vector<Group> groups_;
    std::vector<Token> tokens_;
    std::vector<bool> release_;
    std::size_t first_ = 0; // the first token past a leading group name
};

// b gives no season: its episode stands for season 1, or is a's season and episode run
// together.
bool SeasonlessMatches(const Episode& a, const Episode& b) {
    if (a.season <= 1 && b.number == a.number && b.last == a.last) {
        return true;
    }
    return b.packable && b.number == a.season * 100 + a.number && a.number == a.last;
}

} // namespace

NameParts ReadNameParts(std::string_view stem) {
    return NameReader(stem).Read();
}

bool SameEpisode(const Episode& a, const Episode& b) {
    if (!a.Known() || !b.Known()) {
        return false;
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
