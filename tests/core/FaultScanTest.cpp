// Fault matrix of the folder scan: links that loop, dangle or lead to folders, folders the
// user may not read, names that are not text, very long names and paths, many files under one
// name key, a filter too complex to match, and files and folders that vanish while the scan
// runs. Every case runs on a real folder tree; the scan must finish (or fail with a message),
// never crash or hang, and never list a file that is not there.
#include "scan/MismatchScanner.h"

#include "tests/core/FaultSupport.h"
#include "tests/support/TempDir.h"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::TempDir;
using test::WriteFile;

CMismatchScanner MakeScanner(const fs::path& root) {
    CMismatchScanner scanner;
    scanner.root_directory = root.string();
    scanner.vid_ext = {"avi", "mkv"};
    scanner.sub_ext = {"smi"};
    scanner.is_recursive = true;
    return scanner;
}

// Bytes outside printable ASCII as \xNN, so that a name with a line feed or an invalid UTF-8
// sequence shows unambiguously in a failure message.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x20 || c >= 0x7f || c == '\\') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Below(const fs::path& path, const std::string& root) {
    const std::string& text = path.string();
    return text.compare(0, root.size() + 1, root + "/") == 0 ? text.substr(root.size() + 1) : text;
}

// One scan, told line by line: "video <path>", "subtitle <path>", "skipped <path>: <reason>"
// (paths below the root; skipped entries sorted, as their order is the file system's), or
// "error <text>" when the scan failed; a failed scan must not have touched the result lists.
std::string ScanAndDescribe(CMismatchScanner& scanner) {
    const std::string root = scanner.root_directory;
    std::vector<fs::path> videos{"untouched"};
    std::vector<fs::path> subtitles;
    try {
        scanner.Scan(videos, subtitles);
    } catch (const std::exception& e) {
        return videos.size() == 1 && subtitles.empty() ? std::string("error ") + e.what()
                                                       : "error after results were given";
    }
    std::string out;
    for (std::size_t i = 1; i < videos.size(); ++i) {
        out += "video " + Escaped(Below(videos[i], root)) + "\n";
    }
    for (const auto& path : subtitles) {
        out += "subtitle " + Escaped(Below(path, root)) + "\n";
    }
    std::vector<std::string> skipped;
    for (const auto& entry : scanner.skipped()) {
        skipped.push_back("skipped " + Escaped(Below(entry.path, root)) + ": " + entry.reason +
                          "\n");
    }
    std::sort(skipped.begin(), skipped.end());
    for (const auto& line : skipped) {
        out += line;
    }
    return out;
}

void Files(const fs::path& root, const std::vector<std::string>& names) {
    for (const auto& name : names) {
        WriteFile((root / name).string(), "x");
    }
}

// A one-byte file, made with the fewest system calls: some cases need thousands.
void NonEmptyFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
}

// A chain of folders whose path below the root is `length` bytes long.
std::string DeepFolder(std::size_t length) {
    std::string path;
    while (path.size() < length) {
        if (!path.empty()) {
            path += '/';
        }
        path += std::string(std::min<std::size_t>(200, length - path.size()), 'd');
    }
    return path;
}

const std::string kName255 = std::string(251, 'n') + ".avi";
const std::string kComplexityError =
    "error The complexity of matching the regular expression exceeded predefined bounds.  Try "
    "refactoring the regular expression to make each choice made by the state machine "
    "unambiguous.  This exception is thrown to prevent \"eternal\" matches that take an "
    "indefinite period time to locate.";

struct ScanFault {
    const char* name;
    std::function<void(const fs::path& root)> arrange; // as root, before the scan
    std::function<void(CMismatchScanner&)> options;    // changes to the default options
    bool in_child;                                     // scan as "nobody" in a child process
    std::string expected;                              // ScanAndDescribe's text
};

TEST(ScanFaults, EveryCaseFinishesAndListsOnlyWhatIsThere) {
    // The 4,000-byte path: the root's own path plus the folders below it plus the file name.
    const TempDir probe;
    const std::size_t root_length = probe.path().string().size() + 1;
    const std::string deep = DeepFolder(4000 - root_length - std::string("/deep.avi").size());

    const ScanFault cases[] = {
        {"a symbolic-link loop",
         [](const fs::path& root) {
             Files(root, {"ok.avi"});
             fs::create_symlink("b.avi", root / "a.avi");
             fs::create_symlink("a.avi", root / "b.avi");
             fs::create_directory_symlink(".", root / "here");
         },
         {},
         false,
         "video ok.avi\n"
         "skipped a.avi: Too many levels of symbolic links\n"
         "skipped b.avi: Too many levels of symbolic links\n"},
        {"a dangling link is no partner",
         [](const fs::path& root) {
             Files(root, {"film.smi"});
             fs::create_symlink("gone.avi", root / "film.avi");
         },
         {},
         false,
         "subtitle film.smi\n"},
        {"links to folders are not entered",
         [](const fs::path& root) {
             Files(root, {"real/a.avi"});
             fs::create_directory_symlink("real", root / "link");
             fs::create_directory_symlink("real", root / "link.avi");
             fs::create_directory_symlink("..", root / "real" / "up");
         },
         {},
         false,
         "video real/a.avi\n"},
        {"an unreadable sub-folder",
         [](const fs::path& root) {
             Files(root, {"a.avi", "locked/a.smi", "z/b.smi"});
             fs::permissions(root / "locked", fs::no_perms);
         },
         {},
         true,
         "video a.avi\n"
         "subtitle z/b.smi\n"
         "skipped locked: Permission denied\n"},
        {"a pipe named like a video",
         [](const fs::path& root) {
             Files(root, {"b.avi"});
             ::mkfifo((root / "a.avi").c_str(), 0666);
         },
         {},
         false,
         "video b.avi\n"},
        {"names that are not UTF-8",
         [](const fs::path& root) {
             Files(root, {"bad\xff\xfe.avi", "bad\xff\xfe.smi", "lone\xc0.smi", "\xb0\xa1.mkv"});
         },
         {},
         false,
         "video \\xb0\\xa1.mkv\n"
         "subtitle lone\\xc0.smi\n"},
        {"names with line feeds",
         [](const fs::path& root) {
             Files(root, {"a\nb.avi", "a\nb.smi", "c\n.avi", "\n.smi"});
         },
         {},
         false,
         "video c\\x0a.avi\n"
         "subtitle \\x0a.smi\n"},
        {"names of 255 bytes",
         [](const fs::path& root) {
             Files(root,
                   {kName255, std::string(251, 'n') + ".smi", std::string(251, 'm') + ".mkv"});
         },
         {},
         false,
         "video " + std::string(251, 'm') + ".mkv\n"},
        {"a path of 4,000 bytes",
         [&](const fs::path& root) {
             Files(root, {deep + "/deep.avi", "deep.smi"});
         },
         {},
         false,
         "video " + deep +
             "/deep.avi\n"
             "subtitle deep.smi\n"},
        {"a non-UTF-8 root folder with a line feed",
         [](const fs::path& root) { Files(root, {"a.avi"}); },
         [](CMismatchScanner& scanner) {
             const fs::path odd = fs::path(scanner.root_directory) / "root\n\xff";
             fs::create_directory(odd);
             WriteFile((odd / "a.smi").string(), "x");
             scanner.root_directory = odd.string();
         },
         false, "subtitle a.smi\n"},
        {"a filter too complex to match",
         [](const fs::path& root) { Files(root, {std::string(200, 'a') + ".avi"}); },
         [](CMismatchScanner& scanner) {
             scanner.use_vid_regex = true;
             scanner.vid_regex = "(a*)*b";
         },
         false, kComplexityError},
        {"a filter that runs out of stack",
         [](const fs::path& root) { Files(root, {std::string(250, 'a') + ".avi"}); },
         [](CMismatchScanner& scanner) {
             scanner.use_vid_regex = true;
             scanner.vid_regex = "^(\\w+\\s?)*$x";
         },
         false, "error Ran out of stack space trying to match the regular expression."},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        fs::permissions(dir.path(), fs::perms(0755));
        c.arrange(dir.path());
        CMismatchScanner scanner = MakeScanner(dir.path());
        if (c.options) {
            c.options(scanner);
        }
        EXPECT_EQ(test::RunStep(c.in_child, [&] { return ScanAndDescribe(scanner); }), c.expected);
    }
}

// Ten thousand files in one folder under one name key: at most one row per key, and one
// partner of the other kind hides them all.
TEST(ScanFaults, TenThousandFilesWithOneNameKey) {
    const TempDir dir;
    CMismatchScanner scanner = MakeScanner(dir.path());
    scanner.vid_ext.clear();
    for (int i = 0; i < 10000; ++i) {
        const std::string extension = "v" + std::to_string(i);
        scanner.vid_ext.push_back(extension);
        NonEmptyFile(dir.path() / ("same." + extension));
    }
    Files(dir.path(), {"other.smi"});

    std::vector<fs::path> videos, subtitles;
    scanner.Scan(videos, subtitles);
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos[0].stem().string(), "same");
    EXPECT_EQ(subtitles, std::vector<fs::path>{dir.path() / "other.smi"});

    Files(dir.path(), {"same.smi"});
    videos.clear();
    subtitles.clear();
    scanner.Scan(videos, subtitles);
    EXPECT_TRUE(videos.empty());
    EXPECT_EQ(subtitles, std::vector<fs::path>{dir.path() / "other.smi"});
}

// Files deleted and folders removed by another program while the scan runs: the scan
// completes, lists only files that existed, and does not report the vanished ones as faults
// (they are simply no longer part of the library).
TEST(ScanFaults, FilesAndFoldersVanishingDuringTheScan) {
    constexpr int kRounds = 4;
    constexpr int kFolders = 40;
    constexpr int kFilesPerFolder = 30;
    int vanished_during_scans = 0;
    for (int round = 0; round < kRounds; ++round) {
        const TempDir dir;
        std::set<std::string> created;
        for (int f = 0; f < kFolders; ++f) {
            const fs::path folder = dir.path() / ("f" + std::to_string(f));
            fs::create_directory(folder);
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const fs::path name =
                    folder / ("v" + std::to_string(i) + (i % 2 ? ".avi" : ".smi"));
                NonEmptyFile(name);
                created.insert(name.string());
            }
        }

        std::atomic<bool> scanning{false};
        std::atomic<bool> done{false};
        std::atomic<int> removed_while_scanning{0};
        std::thread remover([&] {
            std::mt19937 random(static_cast<unsigned>(round));
            while (!scanning) {
                std::this_thread::yield();
            }
            boost::system::error_code ec;
            for (int step = 0; !done; ++step) {
                const fs::path folder = dir.path() / ("f" + std::to_string(random() % kFolders));
                // Every other step removes a whole folder, the others one file.
                const bool whole_folder = step % 2 == 1;
                const int file = static_cast<int>(random() % kFilesPerFolder);
                const fs::path name =
                    folder / ("v" + std::to_string(file) + (file % 2 ? ".avi" : ".smi"));
                const auto count = whole_folder ? fs::remove_all(folder, ec)
                                                : static_cast<std::uintmax_t>(fs::remove(name, ec));
                if (!done && count > 0 && count != static_cast<std::uintmax_t>(-1)) {
                    removed_while_scanning += static_cast<int>(count);
                }
            }
        });

        CMismatchScanner scanner = MakeScanner(dir.path());
        std::vector<fs::path> videos, subtitles;
        scanning = true;
        EXPECT_NO_THROW(scanner.Scan(videos, subtitles));
        done = true;
        remover.join();

        for (const auto* list : {&videos, &subtitles}) {
            for (const auto& path : *list) {
                EXPECT_EQ(created.count(path.string()), 1u) << path;
            }
        }
        EXPECT_TRUE(scanner.skipped().empty());
        vanished_during_scans += removed_while_scanning;
    }
    // The removals overlapped the scans (else this test would prove nothing).
    EXPECT_GT(vanished_during_scans, 0);
    ::testing::Test::RecordProperty("removed_during_scans", vanished_during_scans);
}

} // namespace
} // namespace tesslin
