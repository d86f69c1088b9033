// Runs one scan over ROOT and prints how many files came out, so that the scan can be timed
// and traced from outside (bench/scan_vs_find).
//   scan_bench [--plain] [--list] [--jobs N] [--portable] ROOT
//                                       the engine (recursive unless --plain) with N threads
//                                       (default: as tesslin) reading folders the system's
//                                       way or the portable way; --list also prints the
//                                       unmatched paths, one a line, to compare results
//   scan_bench --naive [--plain] ROOT   the straightforward Boost walk, for comparison:
//                                       recursive_directory_iterator, status() and is_empty()
//                                       for every entry, an ordered map as pair table
#include "scan/MismatchScanner.h"
#include "scan/ScanWorkers.h"

#include <boost/filesystem.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>

namespace fs = boost::filesystem;
using tesslin::CMismatchScanner;
using tesslin::FileKind;
using tesslin::FilePair;

namespace {

void Configure(CMismatchScanner& scanner, const char* root, bool recursive) {
    scanner.root_directory = root;
    scanner.vid_ext = {"avi", "mkv", "mp4", "wmv"};
    scanner.sub_ext = {"smi"};
    scanner.is_recursive = recursive;
}

template <class Iterator>
void NaiveWalk(const fs::path& root, CMismatchScanner& scanner,
               std::map<std::string, FilePair>& pairs) {
    for (Iterator it(root), end; it != end; ++it) {
        const fs::path& path = it->path();
        if (!fs::is_regular_file(fs::status(path)) || fs::is_empty(path)) {
            continue;
        }
        const FileKind kind = scanner.ClassifyExtension(path);
        if (!scanner.PassesFilter(path.filename().string(), kind)) {
            continue;
        }
        const std::string& text = path.string();
        FilePair& pair = pairs[text.substr(0, text.rfind('.'))];
        (kind == FileKind::Video ? pair.video : pair.subtitle) = path;
    }
}

void NaiveScan(CMismatchScanner& scanner, std::vector<fs::path>& videos,
               std::vector<fs::path>& subtitles) {
    std::map<std::string, FilePair> pairs;
    const fs::path root(scanner.root_directory);
    if (scanner.is_recursive) {
        NaiveWalk<fs::recursive_directory_iterator>(root, scanner, pairs);
    } else {
        NaiveWalk<fs::directory_iterator>(root, scanner, pairs);
    }
    for (auto& [key, pair] : pairs) {
        if (pair.subtitle.empty()) {
            videos.push_back(std::move(pair.video));
        } else if (pair.video.empty()) {
            subtitles.push_back(std::move(pair.subtitle));
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    bool naive = false;
    bool list = false;
    bool recursive = true;
    const char* root = nullptr;
    unsigned jobs = tesslin::DefaultScanJobs();
    bool portable = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--jobs") == 0 && i + 1 < argc) {
            jobs = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--portable") == 0) {
            portable = true;
        } else if (std::strcmp(argv[i], "--naive") == 0) {
            naive = true;
        } else if (std::strcmp(argv[i], "--list") == 0) {
            list = true;
        } else if (std::strcmp(argv[i], "--plain") == 0) {
            recursive = false;
        } else {
            root = argv[i];
        }
    }
    if (root == nullptr) {
        std::fprintf(stderr, "usage: scan_bench [--naive | --jobs N | --portable] [--plain] "
                             "[--list] ROOT\n");
        return 2;
    }
    CMismatchScanner scanner;
    Configure(scanner, root, recursive);
    scanner.jobs = jobs;
    if (portable) {
        scanner.folders = &tesslin::PortableFolders();
    }
    // The engine's own compact lists, as `tesslin scan` writes from them.
    tesslin::PathList videos, subtitles;
    try {
        if (naive) {
            std::vector<fs::path> naive_videos, naive_subtitles;
            NaiveScan(scanner, naive_videos, naive_subtitles);
            for (auto [from, to] :
                 {std::pair{&naive_videos, &videos}, std::pair{&naive_subtitles, &subtitles}}) {
                for (const fs::path& path : *from) {
                    const std::string& text = path.string();
                    const std::size_t name = text.size() - path.filename().string().size();
                    to->Add(std::string_view(text).substr(0, name), text.substr(name));
                }
            }
        } else {
            scanner.Scan(videos, subtitles);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "scan_bench: %s\n", e.what());
        return 1;
    }
    for (const auto* paths : {&videos, &subtitles}) {
        for (std::size_t i = 0; list && i < paths->size(); ++i) {
            std::printf("%s\n", paths->Text(i).c_str());
        }
    }
    std::printf("unmatched videos %zu, unmatched subtitles %zu, skipped %zu\n", videos.size(),
                subtitles.size(), scanner.skipped().size());
    return 0;
}
