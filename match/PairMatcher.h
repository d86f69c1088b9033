// The pair matcher: for the files a scan left without a partner, proposes renames that pair a
// subtitle with its video although their names differ ("Drama.S01E02.1080p.WEB-DL.mkv" and
// "Drama.S01E02.smi"). It proposes a pair only when the video is the subtitle's one plausible
// partner; anything ambiguous is left alone, with the reason.
#pragma once

#include <boost/filesystem/path.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// One proposed rename. `existingName` and `newName` follow the rename rules: the subtitle
// takes the video's name and keeps its own extension (with `rename_sub_file` off, the
// reverse), in the partner's folder.
struct PairProposal {
    boost::filesystem::path video;
    boost::filesystem::path subtitle;
    std::string existingName; // the file that is renamed
    std::string newName;
    std::string rule; // the rule that found the pair: "name", "language", "episode", "title"
};

// A file of the two lists that no proposal names, and why.
struct UnpairedFile {
    boost::filesystem::path path;
    std::string reason; // e.g. "no video fits", "2 videos fit: a.mkv, b.mkv"
};

struct MatchOptions {
    bool rename_sub_file = true; // the subtitle takes the video's name; false: the reverse
    // The subtitle keeps its language tag in its new name ("Video.ko.smi"). A video that
    // takes a tagged subtitle's name takes it without the tag, whatever this says.
    bool keep_language_tag = false;
};

struct Suggestions {
    std::vector<PairProposal> proposals; // in the order of the subtitles given
    std::vector<UnpairedFile> unpaired;  // the videos, then the subtitles, in the order given
};

// Proposes pairs among `videos` and `subtitles` (full paths, each with an extension; one
// folder's files or a whole library's), by these rules, the first that finds any candidate
// deciding:
// - "name": the same name apart from letter case, blanks, '.', '_', '-' and accents (a
//   separator between two digits stays: "1-2화" is no "12화");
// - "language": the subtitle's name is the video's plus language tags ("Movie.ko.smi");
// - "episode": the same episode under agreeing titles: season and episode (no season stands
//   for season 1; a special only for a special), both episodes of a double episode, the
//   broadcast date and the part where the names give them; a year or country tag on one side
//   only is no disagreement, two different ones are;
// - "title": the titles agree once release tags are dropped and neither name gives an
//   episode, date or part the other does not; each file alone of its kind in its folder, or,
//   among several videos, both names giving the same year.
// Only files in one folder are compared; a subtitle in a sub-folder named "Subs", "Sub",
// "Subtitles" or "자막" counts as in its parent folder. The videos of each subtitle's folder
// that were not given (they have their partner) are read from the folder's listing and count
// as candidates that are never proposed; samples, trailers, featurettes and "._" files are
// nobody's partner and count as no video. More than one candidate proposes nothing; a reason
// names three candidates and counts the rest. Several subtitles may pair with one video only
// when they differ by language tag alone. No two proposals lead to one new name, and none to
// a name that exists (asked of the file system) or is over 255 bytes. A video's new name never
// carries the subtitle's language tag. Changes nothing on the disk. Called once per folder,
// it gives the same proposals as on the whole library, provided each call holds a folder's
// videos together with the subtitles of that folder and of its subtitle sub-folders.
Suggestions SuggestPairs(const std::vector<boost::filesystem::path>& videos,
                         const std::vector<boost::filesystem::path>& subtitles,
                         const MatchOptions& options);

// "Subs", "Sub", "Subtitles", "Subtitle", "자막" in any ASCII letter case: a folder whose
// subtitles are compared with the videos of the folder above it.
bool IsSubtitleFolder(std::string_view name);

} // namespace tesslin
