// The scan on real folder trees: which files count as videos and subtitles, how they pair,
// in which order they come out, and what the scan does with links that loop or dangle, folders
// the user may not read, names that are not text, long paths and bad filters.
#include "scan/MismatchScanner.h"

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::Listing;
using Names = std::vector<std::string>;

CMismatchScanner MakeScanner(const fs::path& root) {
    CMismatchScanner scanner;
    scanner.root_directory = root.string();
    scanner.vid_ext = {"avi", "mkv"};
    scanner.sub_ext = {"smi"};
    scanner.is_recursive = true;
    return scanner;
}

// Bytes outside printable ASCII as \xNN, so that a line feed or a byte that is no UTF-8 shows;
// Windows' separator as "/", as the tables write paths.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        const bool separator = c == static_cast<unsigned char>(fs::path::preferred_separator);
        out += separator                            ? "/"
               : c < 0x20 || c >= 0x7f || c == '\\' ? hex
                                                    : std::string(1, static_cast<char>(c));
    }
    return out;
}

// One scan, told line by line: "video <path>", "subtitle <path>", "skipped <path>: <reason>"
// (skipped entries sorted: their order is the file system's), or "error <text>" when the scan
// failed, which must leave the result lists untouched. The test folder's path is left out.
std::string ScanAndDescribe(CMismatchScanner& scanner, const std::string& dir) {
    std::vector<fs::path> videos{"untouched"};
    std::vector<fs::path> subtitles;
    std::string out;
    try {
        scanner.Scan(videos, subtitles);
        for (std::size_t i = 1; i < videos.size(); ++i) {
            out += "video " + Escaped(videos[i].string()) + "\n";
        }
        for (const auto& path : subtitles) {
            out += "subtitle " + Escaped(path.string()) + "\n";
        }
        Names skipped;
        for (const auto& entry : scanner.skipped()) {
            skipped.push_back("skipped " + Escaped(entry.path.string()) + ": " + entry.reason +
                              "\n");
        }
        std::sort(skipped.begin(), skipped.end());
        for (const auto& line : skipped) {
            out += line;
        }
    } catch (const std::exception& e) {
        out = videos.size() == 1 && subtitles.empty() ? std::string("error ") + e.what() + "\n"
                                                      : "error after results were given\n";
    }
    boost::replace_all(out, dir, "<dir>"); // as an error's text gives it
    boost::replace_all(out, Escaped(dir), "<dir>");
    boost::replace_all(out, "<dir>/", "");
    return out;
}

Listing Files(const Names& names) {
    Listing files;
    for (const auto& name : names) {
        files[name] = "x";
    }
    return files;
}

using Arrange = std::function<void(const fs::path& dir, CMismatchScanner&)>;

Arrange Extensions(Names video, Names subtitle) {
    return [=](const fs::path&, CMismatchScanner& s) {
        s.vid_ext = video;
        s.sub_ext = subtitle;
    };
}
Arrange VideoFilter(bool on, const char* pattern) {
    return [=](const fs::path&, CMismatchScanner& s) {
        s.use_vid_regex = on;
        s.vid_regex = pattern;
        s.use_sub_regex = true;
        s.sub_regex = "^K";
    };
}
Arrange Root(const std::string& below) {
    return
        [=](const fs::path& dir, CMismatchScanner& s) { s.root_directory = dir.string() + below; };
}
Arrange Mode(const char* path, int mode) {
    return [=](const fs::path& dir, CMismatchScanner&) {
        fs::permissions(dir / path, fs::perms(mode));
    };
}
const Arrange kNothing = [](const fs::path&, CMismatchScanner&) {};
const Arrange kPlain = [](const fs::path&, CMismatchScanner& s) { s.is_recursive = false; };
const Arrange kTags = [](const fs::path&, CMismatchScanner& s) { s.keep_language_tag = true; };

// Reads folders as the system does, except that the listing of the folder `broken` breaks
// off after its first entry with an input/output error, as on a failing disk.
class BreakingReader final : public FolderReader {
public:
    explicit BreakingReader(std::string broken) : broken_(std::move(broken)) {}
    std::unique_ptr<ListedFolder> Open(const std::string& path, bool follow_link,
                                       boost::system::error_code& error) const override {
        return Wrap(path, SystemFolders().Open(path, follow_link, error));
    }

private:
    class Folder final : public ListedFolder {
    public:
        Folder(const BreakingReader& reader, std::string path, std::unique_ptr<ListedFolder> f)
            : reader_(reader), path_(std::move(path)), folder_(std::move(f)) {}
        bool Next(ListedEntry& entry, boost::system::error_code& error) override {
            if (path_ == reader_.broken_ && read_++ == 1) {
                error.assign(EIO, boost::system::generic_category());
                return false;
            }
            return folder_->Next(entry, error);
        }
        boost::system::error_code Query(const char* name, bool follow,
                                        EntryStatus& status) override {
            return folder_->Query(name, follow, status);
        }
        std::unique_ptr<ListedFolder> OpenSub(const char* name,
                                              boost::system::error_code& error) override {
            return reader_.Wrap((fs::path(path_) / name).string(), folder_->OpenSub(name, error));
        }

    private:
        const BreakingReader& reader_;
        std::string path_;
        std::unique_ptr<ListedFolder> folder_;
        int read_ = 0;
    };
    std::unique_ptr<ListedFolder> Wrap(std::string path, std::unique_ptr<ListedFolder> f) const {
        return f ? std::make_unique<Folder>(*this, std::move(path), std::move(f)) : nullptr;
    }
    std::string broken_;
};

// The scanner reads through a BreakingReader for the folder `below` the root; the reader lives
// as long as the arrangement, one scan at a time.
Arrange ListingBreaksOff(const std::string& below) {
    const auto reader = std::make_shared<std::optional<BreakingReader>>();
    return [=](const fs::path& dir, CMismatchScanner& s) {
        s.folders = &reader->emplace((below.empty() ? dir : dir / below).string());
    };
}

struct ScanCase {
    const char* name;
    Listing before;  // entries below the root (see test::MakeEntries)
    Arrange arrange; // options and anything else, as root
    bool in_child;   // scan as "nobody", to whom folder permissions apply
    std::string expected;
    unsigned open_files = 0; // a limit of open files for the scan (with in_child); 0: none
};

TEST(Scan, ListsWhatLacksAPartnerAndOnlyWhatIsThere) {
    // A path of 4,000 bytes: the test folder's own path, the folders below it, the file name.
    const std::size_t root_length = test::TempDir().path().string().size() + 1;
    std::string deep;
    while (deep.size() < 4000 - root_length - 9) {
        deep += (deep.empty() ? "" : "/") +
                std::string(std::min<std::size_t>(200, 3991 - root_length - deep.size()), 'd');
    }
    const Names filtered = {"S01E09.avi", "Show.S01E02.avi", "Show.S02E01.avi",
                            "S01/Show.S02E01.avi", "Kb.smi"};
    const std::string all_videos =
        "video S01/Show.S02E01.avi\nvideo S01E09.avi\nvideo Show.S01E02.avi\nvideo "
        "Show.S02E01.avi\nsubtitle Kb.smi\n";
    const std::string n251(251, 'n');
    std::string levels_100;
    for (int level = 0; level < 100; ++level) {
        levels_100 += "d/";
    }
    // clang-format off
    const ScanCase cases[] = {
        // Kinds: the text after the last dot equals a list element exactly.
        {"extensions compared whole and with case",
         Files({"a.avi", "MOVIE.AVI", "b.av", "c.avi2", "d.tar.avi", "e.avi.txt", "nodot", ".avi", "..avi", "f.smi"}),
         kNothing, false, "video .avi\nvideo ..avi\nvideo a.avi\nvideo d.tar.avi\nsubtitle f.smi\n"},
        {"an extension in both lists is a video", Files({"a.avi"}), Extensions({"avi"}, {"avi"}),
         false, "video a.avi\n"},
        {"the empty extension", Files({"a.", "nodot", ".hidden"}), Extensions({"hidden"}, {""}),
         false, "video .hidden\nsubtitle a.\n"},
        // The walk.
        {"plain scan: empty files and sub-folders left out",
         {{"full.avi", "x"}, {"full.smi", "x"}, {"x.smi", "x"}, {"sub/deep.avi", "x"},
          {"x.avi/in.avi", "x"}, {"empty.avi", ""}, {"empty.smi", "x"}},
         kPlain, false, "subtitle empty.smi\nsubtitle x.smi\n"},
        {"sub-folders, also one named like a video",
         {{"full.avi", "x"}, {"full.smi", "x"}, {"sub/deep.avi", "x"}, {"x.avi/in.avi", "x"}},
         kNothing, false, "video sub/deep.avi\nvideo x.avi/in.avi\n"},
        {"links: followed to files, not into folders; loops and dangling links",
         {{"real/a.avi", "x"}, {"target.mkv", "x"}, {"link", "-> real"}, {"link.avi", "-> real"},
          {"real/up", "-> .."}, {"copy.avi", "-> target.mkv"}, {"film.avi", "-> gone.avi"},
          {"film.smi", "x"}, {"self.avi", "-> self.avi"}, {"p.avi", "-> q.avi"}, {"q.avi", "-> p.avi"}},
         kNothing, false,
         "video copy.avi\nvideo real/a.avi\nvideo target.mkv\nsubtitle film.smi\n"
         "skipped p.avi: Too many levels of symbolic links\n"
         "skipped q.avi: Too many levels of symbolic links\n"
         "skipped self.avi: Too many levels of symbolic links\n"},
        {"a pipe named like a video is not opened", {{"a.avi", "<other>"}, {"b.avi", "x"}},
         kNothing, false, "video b.avi\n"},
        {"an unreadable sub-folder is reported, the rest scanned",
         Files({"a.avi", "locked/b.avi", "listonly/c.avi", "z/c.smi"}),
         [](const fs::path& dir, CMismatchScanner&) {
             fs::permissions(dir / "locked", fs::no_perms);
             fs::permissions(dir / "listonly", fs::perms(0444)); // names readable, status not
         },
         true, "video a.avi\nsubtitle z/c.smi\nskipped listonly/c.avi: Permission denied\n"
         "skipped locked: Permission denied\n"},
        {"an unreadable root fails", Files({"a.avi"}), Mode(".", 0), true,
         "error cannot open the folder: Permission denied: \"<dir>\"\n"},
        {"a root that can be listed but not queried", Files({"a.avi"}), Mode(".", 0444), true,
         "skipped a.avi: Permission denied\n"},
        // The root folder.
        {"a missing root fails", {}, Root("/missing"), false,
         "error cannot open the folder: No such file or directory: \"missing\"\n"},
        {"an empty root fails", {}, [](const fs::path&, CMismatchScanner& s) { s.root_directory.clear(); },
         false, "error cannot open the folder: No such file or directory\n"},
        {"a file as root fails", Files({"a.avi"}), Root("/a.avi"), false,
         "error cannot open the folder: Not a directory: \"a.avi\"\n"},
        {"the root as written starts every path", Files({"d/s/a.avi"}), Root("/./d/../d/"), false,
         "video ./d/../d/s/a.avi\n"},
        {"a root that is no UTF-8 and holds a line feed", Files({"r\n\xff/a.smi", "a.avi"}),
         Root("/r\n\xff"), false, "subtitle r\\x0a\\xff/a.smi\n"},
        // A listing that breaks off part-way, as on a failing disk: at the root, whose files
        // are the whole library, it fails the scan; below it, it is reported and what the
        // folder listed before the break still counts.
        {"a listing that breaks off at the root", Files({"a.avi", "b.avi"}), ListingBreaksOff(""),
         false, "error cannot list the folder: Input/output error: \"<dir>\"\n"},
        {"a listing that breaks off below the root", Files({"a.avi", "sub/a.smi"}),
         ListingBreaksOff("sub"), false, "video a.avi\nsubtitle sub/a.smi\nskipped sub: Input/output error\n"},
        // Pairs: the key is the path up to the last dot, compared byte for byte.
        {"pairs", Files({"a.avi", "a.smi", "b.b.avi", "b.b.smi", "c.avi", "c.mkv", "c.smi"}),
         kNothing, false, ""},
        {"no pair across folders, cases or extra dots",
         Files({"d1/a.avi", "d2/a.smi", "Movie.avi", "movie.smi", "e.avi", "e.ko.smi", ".avi", "s/.smi", "s.smi"}),
         kNothing, false,
         "video .avi\nvideo Movie.avi\nvideo d1/a.avi\nvideo e.avi\n"
         "subtitle d2/a.smi\nsubtitle e.ko.smi\nsubtitle movie.smi\nsubtitle s.smi\nsubtitle s/.smi\n"},
        {"byte order: capitals, a blank before a dot, '.' before '/', high bytes last",
         Files({"a.avi", "B.avi", "x.y.avi", "x y.avi", "d/z.avi", "d.e.avi", "\xff.avi", "z.avi"}),
         kNothing, false,
         "video B.avi\nvideo a.avi\nvideo d.e.avi\nvideo d/z.avi\nvideo x y.avi\nvideo x.y.avi\n"
         "video z.avi\nvideo \\xff.avi\n"},
        {"names that are not UTF-8 or hold line feeds",
         Files({"bad\xff\xfe.avi", "bad\xff\xfe.smi", "lone\xc0.smi", "l\nf.avi", "l\nf.smi", "\n.smi"}),
         kNothing, false, "subtitle \\x0a.smi\nsubtitle lone\\xc0.smi\n"},
        {"names of 255 bytes, a path of 4,000",
         Files({n251 + ".avi", n251 + ".smi", deep + "/deep.avi", "deep.smi"}), kNothing, false,
         "video " + deep + "/deep.avi\nsubtitle deep.smi\n"},
        // At most one handle per level of the walk.
        {"a tree 200 folders deep under a limit of 64 open files",
         Files({levels_100 + levels_100 + "a.avi", levels_100 + "b.smi", "c.avi"}), kNothing, true,
         "video c.avi\nvideo " + levels_100 + levels_100 + "a.avi\nsubtitle " + levels_100 + "b.smi\n", 64},
        // Keeping language tags, "Video.<tag>.smi" is a partner of "Video.<video ext>", also
        // of a video paired already; another word is no tag, and a tag without video stays.
        {"language tags kept", Files({"0.avi", "a.avi", "a.ko.smi", "b.mkv", "b.smi", "b.Korean.smi",
         "c.mkv", "c.ko-KR.smi", "d.avi", "d.x.smi", "e.en.smi"}), kTags, false,
         "video 0.avi\nvideo d.avi\nsubtitle d.x.smi\nsubtitle e.en.smi\n"},
        // An empty video, or one the video filter leaves out, is no partner.
        {"language tags kept: an empty video", {{"e.avi", ""}, {"e.ko.smi", "x"}}, kTags, false,
         "subtitle e.ko.smi\n"},
        {"language tags kept: a filtered video", Files({"f.avi", "f.ko.smi", "S01.avi", "S01.smi", "S01.ko.smi"}),
         [](const fs::path& dir, CMismatchScanner& s) { kTags(dir, s); s.use_vid_regex = true; s.vid_regex = "S01"; },
         false, "subtitle f.ko.smi\n"},
        // Filters: a search in the file name, case counts; a filtered file is no partner.
        {"filters off", Files(filtered), VideoFilter(false, "("), false, all_videos},
        {"filter S01", Files(filtered), VideoFilter(true, "S01"), false,
         "video S01E09.avi\nvideo Show.S01E02.avi\nsubtitle Kb.smi\n"},
        {"filter ^S01", Files(filtered), VideoFilter(true, "^S01"), false,
         "video S01E09.avi\nsubtitle Kb.smi\n"},
        {"filter s01", Files(filtered), VideoFilter(true, "s01"), false, "subtitle Kb.smi\n"},
        {"the empty filter", Files(filtered), VideoFilter(true, ""), false, all_videos},
        {"a filtered subtitle is no partner", Files({"a.avi", "a.smi", "Ka.smi"}),
         VideoFilter(false, ""), false, "video a.avi\nsubtitle Ka.smi\n"},
        {"an invalid video filter fails before any folder is read", {}, [](const fs::path& dir, CMismatchScanner& s) {
             s.use_vid_regex = true; s.vid_regex = "(unclosed"; s.root_directory = (dir / "missing").string(); },
         false, "error Unmatched marking parenthesis ( or \\(.  The error occurred while parsing the regular expression: '(unclosed>>>HERE>>>'.\n"},
        {"an invalid subtitle filter", {}, [](const fs::path& dir, CMismatchScanner& s) {
             s.use_sub_regex = true; s.sub_regex = "(unclosed"; s.root_directory = (dir / "missing").string(); },
         false, "error Unmatched marking parenthesis ( or \\(.  The error occurred while parsing the regular expression: '(unclosed>>>HERE>>>'.\n"},
        {"a filter too complex to match", Files({std::string(200, 'a') + ".avi"}),
         [](const fs::path&, CMismatchScanner& s) { s.use_vid_regex = true; s.vid_regex = "(a*)*b"; },
         false, "error The complexity of matching the regular expression exceeded predefined bounds.  "
         "Try refactoring the regular expression to make each choice made by the state machine "
         "unambiguous.  This exception is thrown to prevent \"eternal\" matches that take an "
         "indefinite period time to locate.\n"},
        {"a filter that runs out of stack", Files({std::string(250, 'a') + ".avi"}),
         [](const fs::path&, CMismatchScanner& s) { s.use_vid_regex = true; s.vid_regex = "^(\\w+\\s?)*$x"; },
         false, "error Ran out of stack space trying to match the regular expression.\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!test::SystemCanHold(c.before) || (c.in_child && !test::kPosixPermissions)) {
            continue;
        }
        const test::TempDir dir;
        fs::permissions(dir.path(), fs::perms(0755));
        test::MakeEntries(dir.path(), c.before);
        // However folders are read and however many threads walk them. (On Windows the program
        // reads folders with FindFirstFileExW; Boost's portable iterator there words its errors
        // in the system's code page.)
#ifdef _WIN32
        const std::pair<unsigned, bool> readers[] = {{1u, false}, {4u, false}};
#else
        const std::pair<unsigned, bool> readers[] = {{1u, false}, {4u, false}, {1u, true}};
#endif
        for (const auto& [jobs, portable] : readers) {
            SCOPED_TRACE(std::to_string(jobs) + (portable ? " portable" : ""));
            if (portable && c.open_files != 0) {
                continue; // Boost's iterator keeps every level's folder open
            }
            CMismatchScanner scanner = MakeScanner(dir.path());
            scanner.jobs = jobs;
            scanner.folders = portable ? &PortableFolders() : &SystemFolders();
            c.arrange(dir.path(), scanner);
            const auto scan = [&] {
#ifndef _WIN32
                const rlimit limit{c.open_files, c.open_files};
                if (c.open_files != 0) {
                    setrlimit(RLIMIT_NOFILE, &limit);
                }
#endif
                return ScanAndDescribe(scanner, dir.path().string());
            };
            EXPECT_EQ(test::RunStep(c.in_child, scan), c.expected);
            fs::permissions(dir.path(), fs::perms(0755));
        }
    }
}

TEST(Scan, LaterFileOfOneKindWinsTheKey) {
    const test::TempDir dir;
    test::MakeEntries(dir.path(), Files({"a.avi", "a.mkv", "b.avi", "b.mkv", "b.smi"}));
    std::string last; // the later of a.avi and a.mkv in the folder's listing
    for (fs::directory_iterator it(dir.path()), end; it != end; ++it) {
        const std::string name = it->path().filename().string();
        last = name.starts_with("a.") ? name : last;
    }
    CMismatchScanner scanner = MakeScanner(dir.path());
    EXPECT_EQ(ScanAndDescribe(scanner, dir.path().string()), "video " + last + "\n");
}

} // namespace
} // namespace tesslin
