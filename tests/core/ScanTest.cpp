#include "scan/MismatchScanner.h"

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

struct Outcome {
    Names videos;
    Names subtitles;
    Names skipped; // "path: reason"
};

CMismatchScanner MakeScanner(const std::string& root) {
    CMismatchScanner scanner;
    scanner.root_directory = root;
    scanner.vid_ext = {"avi", "mkv", "mp4", "wmv"};
    scanner.sub_ext = {"smi"};
    scanner.is_recursive = true;
    return scanner;
}

// Paths relative to `root`, so that tables stay readable.
Names Relative(const std::vector<fs::path>& paths, const std::string& root) {
    Names names;
    for (const auto& p : paths) {
        const std::string& text = p.string();
        names.push_back(text.compare(0, root.size() + 1, root + "/") == 0
                            ? text.substr(root.size() + 1)
                            : text);
    }
    return names;
}

Outcome ScanOnce(CMismatchScanner& scanner) {
    std::vector<fs::path> videos, subtitles;
    scanner.Scan(videos, subtitles);
    Outcome out{
        Relative(videos, scanner.root_directory), Relative(subtitles, scanner.root_directory), {}};
    for (const auto& s : scanner.skipped()) {
        std::vector<fs::path> one{s.path};
        out.skipped.push_back(Relative(one, scanner.root_directory)[0] + ": " + s.reason);
    }
    return out;
}

void WriteFiles(const TempDir& dir, const Names& names) {
    for (const auto& name : names) {
        WriteFile(dir / name, "x");
    }
}

TEST(ScanClassify, ExtensionComparedWholeAndWithCase) {
    struct Case {
        const char* name;
        Names vid_ext;
        Names sub_ext;
        FileKind kind;
    };
    const Case cases[] = {
        {"a.avi", {"avi"}, {"smi"}, FileKind::Video},
        {"a.smi", {"avi"}, {"smi"}, FileKind::Subtitle},
        {"MOVIE.AVI", {"avi"}, {"smi"}, FileKind::Other},
        {"a.avi", {"av"}, {"avi2"}, FileKind::Other},
        {"a.avi", {"avi"}, {"avi"}, FileKind::Video},
        {"a.tar.avi", {"avi"}, {}, FileKind::Video},
        {"a.avi.txt", {"avi"}, {}, FileKind::Other},
        {"nodot", {"avi", ""}, {""}, FileKind::Other},
        {"a.", {"avi"}, {"smi"}, FileKind::Other},
        {"a.", {"avi"}, {""}, FileKind::Subtitle},
        {".avi", {"avi"}, {}, FileKind::Video},
        {"..avi", {"avi"}, {}, FileKind::Video},
        {".hidden", {"avi"}, {"hidden"}, FileKind::Subtitle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir / c.name, "x");
        auto scanner = MakeScanner(dir.path().string());
        scanner.vid_ext = c.vid_ext;
        scanner.sub_ext = c.sub_ext;
        EXPECT_EQ(scanner.ClassifyExtension(dir.path() / c.name), c.kind);
        const Outcome out = ScanOnce(scanner);
        EXPECT_EQ(out.videos, c.kind == FileKind::Video ? Names{c.name} : Names{});
        EXPECT_EQ(out.subtitles, c.kind == FileKind::Subtitle ? Names{c.name} : Names{});
    }
}

TEST(ScanClassify, DotNamesHaveNoExtension) {
    // An empty list element would admit an empty extension; "." and ".." have none at all.
    CMismatchScanner scanner;
    scanner.vid_ext = {""};
    for (const char* path : {"x/.", "x/..", "x/", "..", ""}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(scanner.ClassifyExtension(path), FileKind::Other);
    }
    EXPECT_EQ(scanner.ClassifyExtension("x/a."), FileKind::Video);
}

TEST(ScanWalk, SkipsEmptyFilesFoldersAndSubFoldersOfPlainScan) {
    TempDir dir;
    WriteFiles(dir, {"full.avi", "full.smi", "x.smi", "sub/deep.avi", "x.avi/inside.avi"});
    WriteFile(dir / "empty.avi", "");
    WriteFile(dir / "empty.smi", "x"); // its video is empty, so it has no partner
    auto scanner = MakeScanner(dir.path().string());
    scanner.is_recursive = false;
    Outcome out = ScanOnce(scanner);
    EXPECT_EQ(out.videos, Names{});
    EXPECT_EQ(out.subtitles, (Names{"empty.smi", "x.smi"}));

    scanner.is_recursive = true;
    out = ScanOnce(scanner);
    EXPECT_EQ(out.videos, (Names{"sub/deep.avi", "x.avi/inside.avi"}));
    EXPECT_EQ(out.subtitles, (Names{"empty.smi", "x.smi"}));
    EXPECT_EQ(out.skipped, Names{});
}

TEST(ScanFilter, SearchesTheFileNameOnly) {
    struct Case {
        bool use;
        const char* pattern;
        Names videos;
    };
    const Case cases[] = {
        {false, "S01", {"S01/Show.S02E01.avi", "S01E09.avi", "Show.S01E02.avi", "Show.S02E01.avi"}},
        {true, "S01", {"S01E09.avi", "Show.S01E02.avi"}},
        {true, "^S01", {"S01E09.avi"}},
        {true, "^S01$", {}},
        {true, "", {"S01/Show.S02E01.avi", "S01E09.avi", "Show.S01E02.avi", "Show.S02E01.avi"}},
        {true, "s01", {}},
        {false, "(", {"S01/Show.S02E01.avi", "S01E09.avi", "Show.S01E02.avi", "Show.S02E01.avi"}},
    };
    TempDir dir;
    WriteFiles(dir, {"Show.S01E02.avi", "Show.S02E01.avi", "S01E09.avi", "S01/Show.S02E01.avi"});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.use ? "on " : "off ") + c.pattern);
        auto scanner = MakeScanner(dir.path().string());
        scanner.use_vid_regex = c.use;
        scanner.vid_regex = c.pattern;
        scanner.use_sub_regex = true;
        scanner.sub_regex = "never";
        EXPECT_EQ(ScanOnce(scanner).videos, c.videos);
    }
}

TEST(ScanFilter, InvalidEnabledPatternFailsBeforeAnyFolderIsRead) {
    for (const bool video : {true, false}) {
        auto scanner = MakeScanner("/nonexistent/tesslin");
        (video ? scanner.use_vid_regex : scanner.use_sub_regex) = true;
        (video ? scanner.vid_regex : scanner.sub_regex) = "(unclosed";
        std::vector<fs::path> videos, subtitles;
        EXPECT_THROW(scanner.Scan(videos, subtitles), boost::regex_error);
        EXPECT_TRUE(videos.empty() && subtitles.empty());
    }
}

TEST(ScanMatch, PairsByPathUpToTheLastDot) {
    struct Case {
        Names files;
        Names videos;
        Names subtitles;
        bool keep_language_tag = false;
    };
    const Case cases[] = {
        {{"a.avi", "a.smi"}, {}, {}},
        {{"d1/a.avi", "d2/a.smi"}, {"d1/a.avi"}, {"d2/a.smi"}},
        {{"Movie.avi", "movie.smi"}, {"Movie.avi"}, {"movie.smi"}},
        {{"a.avi", "a.ko.smi"}, {"a.avi"}, {"a.ko.smi"}},
        {{"a.b.avi", "a.b.smi"}, {}, {}},
        {{"a.avi", "a.mkv", "a.smi"}, {}, {}},
        {{".avi", "sub/.smi", "sub.smi"}, {".avi"}, {"sub.smi", "sub/.smi"}},
        // Byte order of the keys: capitals first, a space before a dot, '.' before '/',
        // bytes above 0x7f last.
        {{"a.avi", "B.avi", "x.y.avi", "x y.avi", "d/z.avi", "d.e.avi", "\xff.avi", "z.avi"},
         {"B.avi", "a.avi", "d.e.avi", "d/z.avi", "x y.avi", "x.y.avi", "z.avi", "\xff.avi"},
         {}},
        // Names need not be UTF-8 and may hold line feeds.
        {{"bad\xff\xfename.avi", "line\nfeed.avi", "line\nfeed.smi", "\xc7\xd1.smi"},
         {"bad\xff\xfename.avi"},
         {"\xc7\xd1.smi"}},
        // Keeping language tags, "Video.<tag>.smi" is a partner of "Video.<video ext>", also
        // of a video paired already; another word is no tag, and a tag without video stays.
        {{"0.avi", "a.avi", "a.ko.smi", "b.mkv", "b.smi", "b.Korean.smi", "c.mp4", "c.ko-KR.smi",
          "d.avi", "d.x.smi", "e.en.smi"},
         {"0.avi", "d.avi"},
         {"d.x.smi", "e.en.smi"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.front());
        TempDir dir;
        WriteFiles(dir, c.files);
        auto scanner = MakeScanner(dir.path().string());
        scanner.keep_language_tag = c.keep_language_tag;
        const Outcome out = ScanOnce(scanner);
        EXPECT_EQ(out.videos, c.videos);
        EXPECT_EQ(out.subtitles, c.subtitles);
    }
}

TEST(ScanMatch, OrderAcrossNestedFoldersIsPlainByteOrder) {
    // Names from an alphabet of the bytes that sort near the separator, nested three deep:
    // the result must come in the order of one byte sort of all keys, as from an ordered map.
    const std::string alphabet = std::string(" -./0Aa") + "\xff";
    std::mt19937 random(7);
    const auto word = [&](std::size_t max) {
        std::string w;
        for (std::size_t n = 1 + random() % max; n > 0; --n) {
            const char c = alphabet[random() % alphabet.size()];
            w += c == '/' ? '.' : c;
        }
        return w == "." || w == ".." ? w + "a" : w;
    };
    TempDir dir;
    std::map<std::string, std::pair<int, int>> kinds; // key -> (videos, subtitles)
    for (int i = 0; i < 300; ++i) {
        std::string folder;
        for (std::size_t depth = random() % 4; depth > 0; --depth) {
            folder += word(2) + "/";
        }
        const bool video = random() % 2;
        const std::string key = folder + word(3);
        WriteFile(dir / (key + (video ? ".avi" : ".smi")), "x");
        (video ? kinds[key].first : kinds[key].second) = 1;
    }
    Names videos, subtitles;
    for (const auto& [key, count] : kinds) {
        if (count.first != count.second) {
            (count.first ? videos : subtitles).push_back(key + (count.first ? ".avi" : ".smi"));
        }
    }
    auto scanner = MakeScanner(dir.path().string());
    const Outcome out = ScanOnce(scanner);
    EXPECT_EQ(out.videos, videos);
    EXPECT_EQ(out.subtitles, subtitles);
}

TEST(PairTable, FilesEnteredOutsideAWalkStillComeOutInByteOrder) {
    // Paths from anywhere, in any order (as AddFile may be given them): no folder to lean on.
    TempDir dir;
    const Names files = {"b/x.avi", "a.avi", "b/x.smi", "b.smi", "a/a.smi", "\xff.avi", "B.avi"};
    WriteFiles(dir, files);
    auto scanner = MakeScanner(dir.path().string());
    PairTable table;
    std::vector<fs::path> videos, subtitles;
    for (const auto& f : files) {
        const std::string path = dir / f;
        table.Enter(path, path.rfind('/') + 1, path.rfind('.'), scanner.ClassifyExtension(path));
    }
    table.Extract(videos, subtitles);
    EXPECT_EQ(Relative(videos, dir.path().string()), (Names{"B.avi", "a.avi", "\xff.avi"}));
    EXPECT_EQ(Relative(subtitles, dir.path().string()), (Names{"a/a.smi", "b.smi"}));
}

TEST(ScanMatch, LaterFileOfOneKindWinsTheKey) {
    TempDir dir;
    WriteFiles(dir, {"a.avi", "a.mkv", "a.mp4"});
    std::string last;
    for (fs::directory_iterator it(dir.path()), end; it != end; ++it) {
        last = it->path().filename().string();
    }
    auto scanner = MakeScanner(dir.path().string());
    EXPECT_EQ(ScanOnce(scanner).videos, Names{last});
}

TEST(ScanMatch, FilteredSubtitleIsNoPartner) {
    TempDir dir;
    WriteFiles(dir, {"a.avi", "a.smi", "b.avi", "Kb.smi"});
    auto scanner = MakeScanner(dir.path().string());
    scanner.use_sub_regex = true;
    scanner.sub_regex = "^K";
    const Outcome out = ScanOnce(scanner);
    EXPECT_EQ(out.videos, (Names{"a.avi", "b.avi"}));
    EXPECT_EQ(out.subtitles, Names{"Kb.smi"});
}

TEST(ScanWalk, LinksAreFollowedToFilesButNotIntoFolders) {
    TempDir dir;
    WriteFiles(dir, {"real/a.avi", "target.mkv"});
    fs::create_directory_symlink("real", dir.path() / "link");
    fs::create_directory_symlink("real", dir.path() / "link.avi");
    fs::create_directory_symlink("..", dir.path() / "real" / "up"); // a loop through the parent
    fs::create_symlink("target.mkv", dir.path() / "copy.avi");
    fs::create_symlink("gone.avi", dir.path() / "dangling.avi");
    fs::create_symlink("self.avi", dir.path() / "self.avi");
    auto scanner = MakeScanner(dir.path().string());
    const Outcome out = ScanOnce(scanner);
    EXPECT_EQ(out.videos, (Names{"copy.avi", "real/a.avi", "target.mkv"}));
    EXPECT_EQ(out.subtitles, Names{});
    // The dangling link is simply absent; the self-referring one is reported.
    EXPECT_EQ(out.skipped, Names{"self.avi: Too many levels of symbolic links"});
}

TEST(ScanRoot, MissingEmptyOrNoFolderFails) {
    TempDir dir;
    WriteFile(dir / "file.avi", "x");
    for (const std::string& root : {std::string(), dir / "missing", dir / "file.avi"}) {
        for (const bool recursive : {false, true}) {
            SCOPED_TRACE(root);
            auto scanner = MakeScanner(root);
            scanner.is_recursive = recursive;
            std::vector<fs::path> videos{"kept"}, subtitles;
            EXPECT_THROW(scanner.Scan(videos, subtitles), fs::filesystem_error);
            EXPECT_EQ(videos.size(), 1u);
            EXPECT_TRUE(subtitles.empty());
        }
    }
}

TEST(ScanRoot, RootAsWrittenStartsEveryPath) {
    TempDir dir;
    WriteFiles(dir, {"d/s/a.avi"});
    const std::string root = dir.path().string();
    // No clean-up of the root's text beyond what the folder listing itself does with a
    // trailing separator: the rows show the folder as the user gave it.
    const std::pair<std::string, std::string> cases[] = {
        {root + "/./d", root + "/./d/s/a.avi"},
        {root + "/d/../d", root + "/d/../d/s/a.avi"},
        {root + "/d/", root + "/d/s/a.avi"},
    };
    for (const auto& [written, found] : cases) {
        auto scanner = MakeScanner(written);
        std::vector<fs::path> videos, subtitles;
        scanner.Scan(videos, subtitles);
        ASSERT_EQ(videos.size(), 1u);
        EXPECT_EQ(videos[0].string(), found);
    }
}

// The permission cases run as an unprivileged user, for whom the modes apply even in CI.
// The child reports a mismatch on stderr and through its exit status.
// Skipped entries are compared as a set: their order follows the file system's listing.
int ExpectInChild(CMismatchScanner& scanner, const Outcome& expected) {
    Outcome out = ScanOnce(scanner);
    std::sort(out.skipped.begin(), out.skipped.end());
    if (out.videos == expected.videos && out.subtitles == expected.subtitles &&
        out.skipped == expected.skipped) {
        return 0;
    }
    std::ostringstream text;
    for (const Names* list : {&out.videos, &out.subtitles, &out.skipped}) {
        for (const auto& name : *list) {
            text << name << " | ";
        }
        text << "\n";
    }
    std::cerr << "unexpected scan result:\n" << text.str();
    return 1;
}

void OpenTo(const TempDir& dir, const std::string& relative, fs::perms mode) {
    fs::permissions(dir.path(), fs::perms(0755));
    fs::permissions(dir.path() / relative, mode);
}

TEST(ScanPermissions, UnreadableSubFolderIsSkippedAndReported) {
    TempDir dir;
    WriteFiles(dir, {"a.avi", "locked/b.avi", "listonly/c.avi", "z/c.smi"});
    OpenTo(dir, "locked", fs::perms(0));
    fs::permissions(dir.path() / "listonly", fs::perms(0444)); // names readable, status not
    fs::permissions(dir.path() / "z", fs::perms(0755));
    const int status = test::RunUnprivileged([&] {
        auto scanner = MakeScanner(dir.path().string());
        return ExpectInChild(scanner,
                             {{"a.avi"},
                              {"z/c.smi"},
                              {"listonly/c.avi: Permission denied", "locked: Permission denied"}});
    });
    EXPECT_EQ(status, 0);
}

TEST(ScanPermissions, UnreadableRootFails) {
    TempDir dir;
    WriteFiles(dir, {"root/a.avi", "open/a.avi"});
    OpenTo(dir, "root", fs::perms(0));
    fs::permissions(dir.path() / "open", fs::perms(0444));
    const int status = test::RunUnprivileged([&] {
        auto scanner = MakeScanner(dir / "root");
        std::vector<fs::path> videos, subtitles;
        try {
            scanner.Scan(videos, subtitles);
        } catch (const fs::filesystem_error& e) {
            return videos.empty() && e.code() == boost::system::errc::permission_denied ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(status, 0);
    // A root whose names can be listed but whose entries can't be queried still scans.
    const int listed = test::RunUnprivileged([&] {
        auto scanner = MakeScanner(dir / "open");
        scanner.is_recursive = false;
        return ExpectInChild(scanner, {{}, {}, {"a.avi: Permission denied"}});
    });
    EXPECT_EQ(listed, 0);
}

} // namespace
} // namespace tesslin
