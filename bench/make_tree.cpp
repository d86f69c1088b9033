// Builds the synthetic video library the scan benchmark walks:
//   make_tree OUT            OUT/tree: 200,000 files in 4,000 leaf folders three levels deep
//                            (10 x 20 x 20), OUT/flat: 100,000 files in one folder;
//   make_tree --files N OUT  OUT/tree only, with N files (N / 50 leaf folders, 20 x 20 to a
//                            series, as many series as that takes);
//   --paired (before OUT)    every subtitle shares its video's name: nothing without partner.
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

void Touch(const fs::path& path, bool empty) {
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
bool all_paired = false;

void WriteGroup(const fs::path& folder, const std::string& stem) {
    for (int i = 0; i < 20; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "%s.S%02dE%02d.1080p.WEB", stem.c_str(), i / 10 + 1,
                      i % 10 + 1);
        Touch(folder / (std::string(name) + "." + kVideoExt[i % 4]), false);
        // 14 of 20 videos have their subtitle; the other 6 subtitles are off by one word.
        Touch(folder / (std::string(name) + (i < 14 || all_paired ? "" : ".KOR") + ".smi"), false);
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
    all_paired = argc >= 3 && std::string(argv[argc - 2]) == "--paired";
    argc -= all_paired ? 1 : 0;
    if (all_paired) {
        argv[argc - 1] = argv[argc];
    }
    const bool sized = argc == 4 && std::string(argv[1]) == "--files";
    if (sized) {
        files = std::atol(argv[2]);
    }
    if ((argc != 2 && !sized) || files < 50) {
        std::fprintf(stderr, "usage: make_tree [--files N] [--paired] OUT  (N at least 50)\n");
        return 2;
    }
    const fs::path out = argv[argc - 1];
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
