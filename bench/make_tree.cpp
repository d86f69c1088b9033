// Builds the synthetic video library the scan benchmark walks:
//   make_tree OUT            OUT/tree: 200,000 files in 4,000 leaf folders three levels deep
//                            (10 x 20 x 20), OUT/flat: 100,000 files in one folder;
//   make_tree --files N OUT  OUT/tree only, with N files (N / 50 leaf folders, 20 x 20 to a
//                            series, as many series as that takes);
//   --paired                 every subtitle shares its video's name: nothing without partner;
//   --unpaired               every subtitle is off by one word: each one a proposal for
//                            `tesslin suggest` (20 of every 50 files);
//   --links                  each file a hard link to one of a few files of OUT/sources
//                            (one byte or empty), so that a tree of ten million entries
//                            costs directory entries only, no inode or data block per file.
// Per 50 files: 20 videos, 20 subtitles (14 sharing a video's name, 6 alone) and 10 other
// files, 3 of them empty and 2 without an extension. Every other file holds one byte.
// The same OUT always gets the same names.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kVideoExt[] = {"avi", "mkv", "mp4", "wmv"};
const char* const kOtherExt[] = {"txt", "nfo", "jpg", "srt.bak", "nfo"};

bool all_paired = false;
bool none_paired = false;
fs::path link_sources; // empty unless --links

void Touch(const fs::path& path, bool empty) {
    if (!link_sources.empty()) {
        // A file system allows some 65,000 links to one file: a new source every 60,000.
        static long made[2] = {0, 0};
        const fs::path source =
            link_sources / ((empty ? "empty-" : "full-") + std::to_string(made[empty]++ / 60000));
        if (!fs::exists(source)) {
            std::ofstream(source, std::ios::binary) << (empty ? "" : "x");
        }
        fs::create_hard_link(source, path);
        return;
    }
    std::ofstream out(path, std::ios::binary);
    if (!empty) {
        out << 'x';
    }
    if (!out) {
        std::fprintf(stderr, "make_tree: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// Writes one group of 50 files named after `stem` into `folder`.
void WriteGroup(const fs::path& folder, const std::string& stem) {
    for (int i = 0; i < 20; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "%s.S%02dE%02d.1080p.WEB", stem.c_str(), i / 10 + 1,
                      i % 10 + 1);
        Touch(folder / (std::string(name) + "." + kVideoExt[i % 4]), false);
        // 14 of 20 videos have their subtitle; the other 6 subtitles are off by one word.
        Touch(folder / (std::string(name) + ((i < 14 && !none_paired) || all_paired ? "" : ".KOR") +
                        ".smi"),
              false);
    }
    for (int i = 0; i < 10; ++i) {
        const std::string name = stem + ".extra" + std::to_string(i);
        if (i < 2) {
            Touch(folder / name, false);
        } else {
            Touch(folder / (name + "." + kOtherExt[i % 5]), i >= 7);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    long files = 200000;
    bool sized = false, links = false;
    const char* out_arg = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--files" && i + 1 < argc) {
            files = std::atol(argv[++i]);
            sized = true;
        } else if (arg == "--paired") {
            all_paired = true;
        } else if (arg == "--unpaired") {
            none_paired = true;
        } else if (arg == "--links") {
            links = true;
        } else if (out_arg == nullptr) {
            out_arg = argv[i];
        } else {
            out_arg = nullptr;
            break;
        }
    }
    if (out_arg == nullptr || files < 50) {
        std::fprintf(
            stderr,
            "usage: make_tree [--files N] [--paired | --unpaired] [--links] OUT  (N at least "
            "50)\n");
        return 2;
    }
    const fs::path out = out_arg;
    if (links) {
        link_sources = out / "sources";
        fs::create_directories(link_sources);
    }
    for (long leaf = 0; leaf < files / 50; ++leaf) {
        const long a = leaf / 400, b = leaf / 20 % 20, c = leaf % 20;
        const fs::path folder = out / "tree" / ("Series " + std::to_string(a)) /
                                ("Season " + std::to_string(b)) / ("Disc " + std::to_string(c));
        fs::create_directories(folder);
        WriteGroup(folder,
                   "Show " + std::to_string(a) + "-" + std::to_string(b) + "-" + std::to_string(c));
    }
    if (sized) {
        return 0;
    }
    const fs::path flat = out / "flat";
    fs::create_directories(flat);
    for (int g = 0; g < 2000; ++g) {
        WriteGroup(flat, "Clip " + std::to_string(g));
    }
    return 0;
}
