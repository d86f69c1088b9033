// What the pair matcher reads from a file's name without its extension: its normalised forms,
// its language tag, its title and year, and its episode (or broadcast date, or part).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tesslin {

// An episode as a name gives it. Numbers that are no episode (resolutions, codecs, audio
// channels, years, checksums, version tags) are never read as one.
struct Episode {
    int season = -1; // -1: the name gives no season
    int number = -1; // -1: the name gives no episode
    int last = -1;   // the last episode of a double episode ("S01E01E02", "1-2화"), else number
    int date = -1;   // a broadcast date as yyyymmdd ("2023.05.14", "230514"), -1 when none
    int part = -1;   // "CD1", "Part 2", "Disc 1": which part of one work, -1 when none
    // Season 0, or a word that names a special ("SP", "OVA", "Special"): never a regular
    // episode of the same number.
    bool special = false;
    // A bare three- or four-digit number that may be season and episode run together ("101"
    // for S01E01).
    bool packable = false;
    // Named by a marker ("S01E02", "E02", "- 02", "[02]", "2화"...), not only a number at the
    // end of the name.
    bool marked = false;

    bool Known() const { return number >= 0 || date >= 0 || part >= 0; }
};

struct NameParts {
    // Lower case (ASCII letters), without blanks and the separators '.', '_' and '-'.
    std::string whole;
    // `whole` of the name without the language tags that end it ("Movie.ko" -> "movie").
    std::string untagged;
    // The language tags as written ("ko", "Korean", "ko-KR"); empty when the name ends in none.
    std::string tag;
    // Where the name without its tags ends: the separator before the tags ("Movie" of
    // "Movie.ko"); the whole length when there is no tag.
    std::size_t untagged_length = 0;
    // The words before the first release tag, year or added bracket, normalised like `whole`,
    // without a leading bracketed group name ("[Group] Title - 07" -> "title07"). A number
    // that only looks like a year stays in it: the earlier of two ("Film 1984 (2020)") and
    // one that ends the name unbracketed ("Film 2049").
    std::string title;
    int year = -1; // 1900 to 2099, -1 when none
    // A country tag that ends the title ("Show.US.S01E01" -> "us"), empty when none.
    std::string country;
    Episode episode;
    // The words before the episode, normalised, without the group name, a year, a season
    // word or a country tag.
    std::string episode_title;
    // A sample, trailer or featurette, or a "._" companion file: never anyone's partner.
    bool extra = false;
    // Two markers in the name give different episodes: no episode is read.
    bool conflicting_episodes = false;
};

// Reads a file name without its extension.
NameParts ReadNameParts(std::string_view stem);

// Reads only what names are compared by before their episodes and titles: `whole`,
// `untagged`, `tag`, `untagged_length` and `extra`, as ReadNameParts gives them; the rest
// stays as in a default NameParts.
NameParts ReadNameKeys(std::string_view stem);

// Reads only `whole` and `extra`, as ReadNameParts gives them: what a video is first looked up
// by, cheaper than its words.
NameParts ReadNameWhole(std::string_view stem);

// True when the two names give the same episode: season and episode where both give a season;
// a season-less episode stands for season 1; a packed "101" equals S01E01 only against a name
// that gives season and episode. Dates, parts and specials agree as well; a name that gives
// a date, part or episode the other lacks is another episode.
bool SameEpisode(const Episode& a, const Episode& b);

} // namespace tesslin
