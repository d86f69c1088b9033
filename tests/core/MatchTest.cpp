#include "match/PairMatcher.h"

#include "tests/support/TempDir.h"

#include <boost/algorithm/string/predicate.hpp>
#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <set>

namespace tesslin {
namespace {

namespace fs = boost::filesystem;

// "우리들의 블루스 2화.smi" as macOS stores file names: each Hangul syllable split into its
// jamo.
const std::string kDecomposedBlues2 =
    "\xe1\x84\x8b\xe1\x85\xae\xe1\x84\x85\xe1\x85\xb5\xe1\x84\x83\xe1\x85\xb3\xe1\x86\xaf\xe1\x84"
    "\x8b\xe1\x85\xb4 "
    "\xe1\x84\x87\xe1\x85\xb3\xe1\x86\xaf\xe1\x84\x85\xe1\x85\xae\xe1\x84\x89\xe1\x85\xb3 "
    "2\xe1\x84\x92\xe1\x85\xaa.smi";

struct MatchCase {
    const char* what;
    // Files of one library folder; a name ending in '/' is a folder, which no list holds, and
    // files that share their name without extension are a pair the scan leaves out.
    std::vector<std::string> files;
    // Every rename proposed, "OLD -> NEW rule" relative to the folder; nothing else may be.
    std::set<std::string> expected;
    // Files left alone, "NAME: reason", each of which must be among those reported.
    std::set<std::string> reasons = {};
    bool rename_sub_file = true;
    bool keep_language_tag = false;
};

bool IsVideo(const std::string& name) {
    return boost::ends_with(name, ".mkv") || boost::ends_with(name, ".mp4") ||
           boost::ends_with(name, ".avi");
}

TEST(PairMatcher, ProposesTheRealWorldPairsAndNothingAmbiguous) {
    // clang-format off
    const MatchCase cases[] = {
        {"scene release and a plain subtitle",
         {"Drama.S01E02.1080p.WEB-DL.H264-GRP.mkv", "Drama.S01E02.smi"},
         {"Drama.S01E02.smi -> Drama.S01E02.1080p.WEB-DL.H264-GRP.smi episode"}},
        {"fansub release: group, checksum and resolution are no episode",
         {"[Group] Title - 07 (1080p) [A1B2C3D4].mkv", "[Group] Title - 08 (1080p) [5E6F7A8B].mkv",
          "Title 07.ass"},
         {"Title 07.ass -> [Group] Title - 07 (1080p) [A1B2C3D4].ass episode"}},
        {"Korean episode markers",
         {"우리들의 블루스 01.mp4", "우리들의 블루스 02.mp4", "우리들의 블루스 1화.smi", kDecomposedBlues2},
         {"우리들의 블루스 1화.smi -> 우리들의 블루스 01.smi episode",
          kDecomposedBlues2 + " -> 우리들의 블루스 02.smi episode"}},
        {"a movie and its year, each alone in the folder",
         {"Movie.2019.1080p.BluRay.x264.mkv", "Movie (2019).smi"},
         {"Movie (2019).smi -> Movie.2019.1080p.BluRay.x264.smi title"}},
        {"a subtitle folder counts as the video's folder; the tag goes",
         {"Show.S01E03.mkv", "Subs/Show.S01E03.Korean.srt", "Show.S01E04.mkv", "자막/show.s01e04.srt"},
         {"Subs/Show.S01E03.Korean.srt -> Show.S01E03.srt language",
          "자막/show.s01e04.srt -> Show.S01E04.srt name"}},
        {"letter case, blanks and separators", {"My_Movie-Cut.avi", "my movie.cut.smi"},
         {"my movie.cut.smi -> My_Movie-Cut.smi name"}},
        {"one video, a subtitle per language",
         {"Film.mkv", "Film.ko.smi", "Film.en.srt", "Film.한국어.ass"},
         {"Film.ko.smi -> Film.smi language", "Film.en.srt -> Film.srt language",
          "Film.한국어.ass -> Film.ass language"}},
        {"every episode form, two series in one folder",
         {"Show.S01E01.720p.mkv", "Show.S01E02.mkv", "Show.S01E03.mkv", "Show.S01E04.mkv",
          "Show.S01E05.mkv", "Show.S01E06.mkv", "Show.S01E07.mkv", "Show.S01E08.mkv",
          "Show.S01E09.mkv", "Show.S01E10.mkv", "Show.S01E11.mkv", "Show.S01E12.mkv",
          "Show.S01E13.mkv", "Show.S01E14.mkv", "Show.S01E15.mkv", "Show.S01E16.mkv",
          "Show.S01E17.mkv", "Show.S01E18.mkv", "Other.S013E18.mkv", "Other.s03-e01.720p.mkv",
          "Other.S06xE01.mkv", "Other.S04E01.mkv", "Other.S01E01.mkv", "Other.S02E03.mkv",
          "Other.S02E04.mkv",
          "show.s1e1.srt", "Show 1x02.srt", "Show [01x03].srt", "Show E04.srt", "Show EP05.srt",
          "Show Ep.6.srt", "Show Episode 7.srt", "Show #08.srt", "Show - 09.srt", "Show [10].srt",
          "Show (11).srt", "Show 12화.smi", "Show 제13화.smi", "Show 14회.smi", "Show 第15話.ass",
          "Show - 16v2.ass", "show.117.srt", "Show 18.srt", "Other s13e18.srt",
          "Other S03E01.srt", "Other.6x01.srt", "other.401.srt", "Other 시즌2 3화.smi",
          "Other Season 2 Episode 4.srt"},
         {"show.s1e1.srt -> Show.S01E01.720p.srt episode", "Show 1x02.srt -> Show.S01E02.srt episode",
          "Show [01x03].srt -> Show.S01E03.srt episode", "Show E04.srt -> Show.S01E04.srt episode",
          "Show EP05.srt -> Show.S01E05.srt episode", "Show Ep.6.srt -> Show.S01E06.srt episode",
          "Show Episode 7.srt -> Show.S01E07.srt episode", "Show #08.srt -> Show.S01E08.srt episode",
          "Show - 09.srt -> Show.S01E09.srt episode", "Show [10].srt -> Show.S01E10.srt episode",
          "Show (11).srt -> Show.S01E11.srt episode", "Show 12화.smi -> Show.S01E12.smi episode",
          "Show 제13화.smi -> Show.S01E13.smi episode", "Show 14회.smi -> Show.S01E14.smi episode",
          "Show 第15話.ass -> Show.S01E15.ass episode", "Show - 16v2.ass -> Show.S01E16.ass episode",
          "show.117.srt -> Show.S01E17.srt episode", "Show 18.srt -> Show.S01E18.srt episode",
          "Other s13e18.srt -> Other.S013E18.srt episode",
          "Other S03E01.srt -> Other.s03-e01.720p.srt episode",
          "Other.6x01.srt -> Other.S06xE01.srt episode",
          "other.401.srt -> Other.S04E01.srt episode",
          "Other 시즌2 3화.smi -> Other.S02E03.smi episode",
          "Other Season 2 Episode 4.srt -> Other.S02E04.srt episode"}},
        {"the video takes the subtitle's name",
         {"Drama.S01E02.1080p.WEB.mkv", "Drama.S01E02.smi", "Subs/Drama.S01E03.smi",
          "Drama.S01E03.1080p.WEB.mkv"},
         {"Drama.S01E02.1080p.WEB.mkv -> Drama.S01E02.mkv episode"},
         {"Subs/Drama.S01E03.smi: the subtitle lies in a sub-folder for subtitles; only the "
          "subtitle moves"}, false},
        {"the tag stays in the subtitle's name, and leaves the video's",
         {"Drama.S01E02.1080p.mkv", "Drama.S01E02.ko.smi", "Drama.S01E03.1080p.mkv",
          "drama.s01e03.KOR.smi"},
         {"Drama.S01E02.ko.smi -> Drama.S01E02.1080p.ko.smi episode",
          "drama.s01e03.KOR.smi -> Drama.S01E03.1080p.KOR.smi episode"}, {}, true, true},
        {"with the tag kept, the video takes the name without it",
         {"Drama.S01E02.1080p.mkv", "Drama.S01E02.ko.smi"},
         {"Drama.S01E02.1080p.mkv -> Drama.S01E02.mkv episode"}, {}, false, true},

        {"a double episode is not its first", {"Show.S01E01E02.mkv", "Show.S01E01.mkv", "Show 1x01.srt"},
         {"Show 1x01.srt -> Show.S01E01.srt episode"}},
        {"nor is its first its double", {"Show.S01E01.mkv", "Show 12화.mkv", "Show S01E01-02.srt", "Show 1-2화.smi"}, {}},
        {"the video takes one name only", {"Film.mkv", "Film.ko.smi", "Film.en.srt"}, {},
         {"Film.ko.smi: 2 subtitles fit Film.mkv"}, false},
        {"four videos fit: three named", {"Show.S01E02.720p.mkv", "Show.S01E02.1080p.mkv", "Show.S01E02.480p.mkv", "Show.S01E02.2160p.mkv", "Show.S01E02.smi"}, {},
         {"Show.S01E02.smi: 4 videos fit: Show.S01E02.720p.mkv, Show.S01E02.1080p.mkv, Show.S01E02.480p.mkv and 1 more"}},
        {"a video with its subtitle still fits", {"Show.S01E02.720p.mkv", "Show.S01E02.720p.srt", "Show.S01E02.1080p.mkv", "Show E02.smi"}, {},
         {"Show E02.smi: 2 videos fit: Show.S01E02.1080p.mkv, Show.S01E02.720p.mkv"}},
        {"a folder named like a video is none", {"Show.S01E02.720p.mkv/", "Show.S01E02.1080p.mkv", "Show E02.smi"},
         {"Show E02.smi -> Show.S01E02.1080p.smi episode"}},
        {"the title rule counts the videos with a subtitle", {"Movie.2019.1080p.mkv", "Movie.2019.1080p.smi", "Movie.2019.720p.mkv", "Movie.srt"}, {}},
        {"the title rule: the video alone in its folder", {"Holiday.mkv", "Movie.2019.1080p.mkv", "Movie.smi"}, {}},
        {"the title rule: the years agree", {"Battlestar.Galactica.1978.720p.mkv", "Battlestar Galactica (2004).srt"}, {}},
        {"the episode rule: the years agree", {"응답하라 1994.E05.720p.mkv", "응답하라 1997 5화.smi"}, {}},
        {"two films told apart by year", {"Dune.1984.1080p.mkv", "Dune.2021.mkv", "Dune (1984).smi"}, {"Dune (1984).smi -> Dune.1984.1080p.smi title"}},
        {"a sequel number is no year", {"Film 2049.mkv", "Film.smi"}, {}},
        {"an untitled bare number agrees with no title", {"Show.S01E02.mkv", "02.srt"}, {}},
        {"two episode markers that disagree", {"Show.S01E02.mkv", "Show.S01E03.mkv", "Show 2화 E03.smi"}, {}},
        {"a special is no regular episode", {"Show.S00E05.mkv", "Show.S01E05.mkv", "Show - 05.srt"}, {"Show - 05.srt -> Show.S01E05.srt episode"}},
        {"a date is the episode", {"Talk Show 2023.05.16.mkv", "Talk Show 2023.05.23.smi"}, {}},
        {"extras are nobody's partner", {"Movie.2019.1080p.mkv", "Movie.2019.1080p-sample.mkv", "._Movie.2019.1080p.mkv", "Movie (2019).smi"},
         {"Movie (2019).smi -> Movie.2019.1080p.smi title"}},
        {"release words end the title", {"Film.WEBRip.x264.mkv", "Film.srt"}, {"Film.srt -> Film.WEBRip.x264.srt title"}},
        {"a video never takes the tag", {"Film.2003.2160p.mkv", "film.2003.ko.smi"}, {"Film.2003.2160p.mkv -> film.2003.mkv title"}, {}, false},
        {"a new name over 255 bytes", {std::string(236, 'x') + ".S01E02.1080p.avi", "E02.ko.smi"}, {}, {}, true, true},
        {"two subtitles would take one name", {"Movie.mkv", "Movie.ko.smi", "Movie.en.smi"}, {}},
        {"two different subtitles for one video", {"Show.S01E02.mkv", "Show 02.smi", "Show E02.srt"},
         {}, {"Show 02.smi: 2 subtitles fit Show.S01E02.mkv"}},
        {"the new name exists", {"Clip.mkv", "clip.smi", "Clip.smi/"}, {}},
        {"unrelated files alone in a folder", {"Holiday.mkv", "Lecture notes.smi"}, {},
         {"Lecture notes.smi: no video fits"}},
        {"two series in one folder do not cross", {"Alpha.S01E01.mkv", "Beta.S01E01.smi"}, {}},
        {"a season-less number is season 1", {"Show.S02E01.mkv", "Show 01.smi"}, {}},
        {"but not beside another season's", {"Show.S01E05.mkv", "Show.S02E05.mkv", "Show 05.smi"}, {}},
        {"a sequel is no episode of the other", {"Toy Story 2.mkv", "Toy Story 3.smi"}, {}},
        {"numbers that are no episode",
         {"Title - 01.mkv", "Title - 02.mkv", "Title - 10.mkv", "Title - 19.mkv", "Title - 264.mkv",
          "Title - 720.mkv", "Title - 1080.mkv", "Title [1080p].ass", "Title 720p.ass",
          "Title 10bit.ass", "Title (2019).ass", "Title H.264.ass", "Title DDP5.1.ass",
          "Title AAC2.0.ass", "Title v2.ass", "Title [12345678].ass"},
         {}},
        {"a year or a version is no episode, even alone", {"Show 19.mkv", "Show 2019.smi"}, {}},
        {"only a video named with season and episode unpacks 101", {"Show - 1.mkv", "Show.101.srt"}, {}},
    };
    // clang-format on
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::Listing files;
        std::multiset<std::string> stems;
        for (const std::string& name : c.files) {
            files.emplace(name, name.ends_with('/') ? "<folder>" : "x");
            if (!name.ends_with('/')) {
                stems.insert(name.substr(0, name.rfind('.')));
            }
        }
        if (!test::SystemCanHold(files)) {
            continue;
        }
        const test::TempDir dir;
        test::MakeEntries(dir.path(), files);
        std::vector<fs::path> videos;
        std::vector<fs::path> subtitles;
        for (const std::string& name : c.files) {
            if (!name.ends_with('/') && stems.count(name.substr(0, name.rfind('.'))) == 1) {
                (IsVideo(name) ? videos : subtitles).push_back(dir / name);
            }
        }
        const Suggestions found =
            SuggestPairs(videos, subtitles, {c.rename_sub_file, c.keep_language_tag});
        std::set<std::string> proposed;
        const std::size_t root = dir.path().native().size() + 1;
        for (const PairProposal& p : found.proposals) {
            proposed.insert(test::Slashed(p.existingName.substr(root) + " -> " +
                                          p.newName.substr(root) + " " + p.rule));
        }
        EXPECT_EQ(proposed, c.expected);
        // Why the subtitles named in `reasons` were left alone.
        std::set<std::string> left;
        for (const UnpairedFile& u : found.unpaired) {
            const std::string text = test::Slashed(u.path.string().substr(root)) + ": " + u.reason;
            if (c.reasons.count(text) != 0) {
                left.insert(text);
            }
        }
        EXPECT_EQ(left, c.reasons);
    }
}

} // namespace
} // namespace tesslin
