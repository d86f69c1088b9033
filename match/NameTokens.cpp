#include "match/NameTokens.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tesslin {

namespace {

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
    switch (static_cast<unsigned char>(rest.front())) {
    case '[':
    case ']':
    case '(':
    case ')':
    case '{':
    case '}':
    case '<':
    case '>':
        break;
    default:
        if (static_cast<unsigned char>(rest.front()) < 0x80) {
            return 0; // most bytes: no bracket starts here
        }
    }
    for (const std::string_view bracket : list) {
        if (rest.starts_with(bracket)) {
            return bracket.size();
        }
    }
    return 0;
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

// Latin letters with accents as their plain letters ("Amélie" -> "Amelie"), composed or
// written with combining marks, so that a name typed without them still compares equal.
std::string FoldAccents(std::string text) {
    if (std::none_of(text.begin(), text.end(), [](char c) {
            return static_cast<unsigned char>(c) == 0xC2 || static_cast<unsigned char>(c) == 0xC3 ||
                   static_cast<unsigned char>(c) == 0xCC || static_cast<unsigned char>(c) == 0xCD;
        })) {
        return text;
    }
    // U+00C0 to U+00FF, lower-cased; '*' where no plain letter stands for it.
    constexpr std::string_view kLatin1 =
        "aaaaaaaceeeeiiiidnooooo*ouuuuytsaaaaaaaceeeeiiiidnooooo*ouuuuyty";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == 0xC3 && next >= 0x80 && next <= 0xBF && kLatin1[next - 0x80] != '*') {
            out += kLatin1[next - 0x80];
            ++i;
        } else if ((c == 0xC2 && next >= 0xA0 && next <= 0xBF) ||
                   (c == 0xCC && next >= 0x80 && next <= 0xBF) ||
                   (c == 0xCD && next >= 0x80 && next <= 0xAF)) {
            ++i; // a sign ("Gintama°") or a combining mark, U+0300 to U+036F
        } else {
            out += char(c);
        }
    }
    return out;
}

} // namespace

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string FoldText(std::string text) {
    // Plain ASCII, most names' words, has nothing to compose or fold.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return text;
    }
    if (text.find('\xE1') != std::string::npos) { // a conjoining jamo's first byte
        text = ComposeHangul(text);
    }
    return FoldAccents(std::move(text));
}

std::vector<Token> Tokenize(std::string_view stem, std::vector<Group>& groups) {
    std::vector<Token> tokens;
    tokens.reserve(16);
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
        token.lower = FoldText(std::move(token.lower));
        if (token.group >= 0) {
            ++groups[std::size_t(token.group)].count;
        }
        tokens.push_back(std::move(token));
        gap = i;
    }
    return tokens;
}

} // namespace tesslin
