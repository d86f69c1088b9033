// Times the pair matcher on 10,000 unmatched videos and 10,000 unmatched subtitles, in a tree
// of 500 folders and in one flat folder, and on one folder of 3,000 videos and 3,000
// subtitles each of which fits every video, side by side with the scan that finds them.
//   match_bench OUT [ROUNDS]  makes OUT/tree, OUT/flat and OUT/ambiguous once (kept for later
//                             runs), then per round scans each and runs the matcher on the
//                             scan's lists; prints the medians, the number of proposals and
//                             the bytes of the reasons given for the files left alone
#include "match/PairMatcher.h"
#include "scan/MismatchScanner.h"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace fs = boost::filesystem;

namespace {

constexpr int kSeries = 500;
constexpr int kEpisodes = 20;

std::string Two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// Series `s`, episode `e`: a scene video and a subtitle in one of four common forms.
std::string VideoName(int s, int e) {
    return "Series" + std::to_string(s) + ".S01E" + Two(e) + ".1080p.WEB-DL.H264-GRP.mkv";
}
std::string SubtitleName(int s, int e) {
    const std::string title = "Series" + std::to_string(s);
    switch ((s + e) % 4) {
    case 0:
        return title + " " + std::to_string(e) + "화.smi";
    case 1:
        return title + ".S01E" + Two(e) + ".Korean.smi";
    case 2:
        return "[Group] " + title + " - " + Two(e) + " [ABCDEF12].smi";
    default:
        return title + " E" + Two(e) + ".smi";
    }
}

void Touch(const fs::path& path) {
    std::ofstream(path.string()) << 'x';
}

void Make(const fs::path& root, bool flat) {
    if (fs::exists(root)) {
        return;
    }
    for (int s = 0; s < kSeries; ++s) {
        const fs::path folder = flat ? root : root / ("Series " + std::to_string(s));
        fs::create_directories(folder);
        for (int e = 1; e <= kEpisodes; ++e) {
            Touch(folder / VideoName(s, e));
            Touch(folder / SubtitleName(s, e));
        }
    }
}

// 3,000 releases of one episode and 3,000 subtitles for it: every subtitle fits every video.
void MakeAmbiguous(const fs::path& root) {
    if (fs::exists(root)) {
        return;
    }
    fs::create_directories(root);
    for (int n = 1; n <= 3000; ++n) {
        Touch(root / ("Show.S01E01.1080p.WEB-DL.GRP" + std::to_string(n) + ".mkv"));
        Touch(root / ("Show E01 (" + std::to_string(n) + ").smi"));
    }
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Processor time of this process (user + system), which the other builds on a shared machine
// do not inflate as they do the wall time.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Run(const fs::path& root, int rounds) {
    std::vector<double> scan_times;
    std::vector<double> match_times;
    std::vector<double> scan_cpu;
    std::vector<double> match_cpu;
    std::size_t videos_count = 0;
    std::size_t subtitles_count = 0;
    std::size_t proposals = 0;
    std::size_t reason_bytes = 0;
    for (int round = 0; round < rounds; ++round) {
        tesslin::CMismatchScanner scanner;
        scanner.root_directory = root.string();
        scanner.vid_ext = {"mkv"};
        scanner.sub_ext = {"smi"};
        scanner.is_recursive = true;
        std::vector<fs::path> videos;
        std::vector<fs::path> subtitles;
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        scanner.Scan(videos, subtitles);
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = CpuSeconds();
        const tesslin::Suggestions found = tesslin::SuggestPairs(videos, subtitles, {});
        const auto t2 = std::chrono::steady_clock::now();
        const double c2 = CpuSeconds();
        scan_cpu.push_back(c1 - c0);
        match_cpu.push_back(c2 - c1);
        scan_times.push_back(Seconds(t1 - t0));
        match_times.push_back(Seconds(t2 - t1));
        videos_count = videos.size();
        subtitles_count = subtitles.size();
        proposals = found.proposals.size();
        reason_bytes = 0;
        for (const tesslin::UnpairedFile& file : found.unpaired) {
            reason_bytes += file.reason.size();
        }
    }
    std::printf("%s: %zu videos + %zu subtitles unmatched, %zu proposals, reasons %zu bytes; "
                "median of %d rounds:\n"
                "  scan     %7.1f ms wall %7.1f ms cpu\n"
                "  matcher  %7.1f ms wall %7.1f ms cpu\n",
                root.filename().string().c_str(), videos_count, subtitles_count, proposals,
                reason_bytes, rounds, 1000 * Median(scan_times), 1000 * Median(scan_cpu),
                1000 * Median(match_times), 1000 * Median(match_cpu));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: match_bench OUT [ROUNDS]\n");
        return 2;
    }
    const fs::path out = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    Make(out / "tree", false);
    Make(out / "flat", true);
    MakeAmbiguous(out / "ambiguous");
    Run(out / "tree", rounds);
    Run(out / "flat", rounds);
    Run(out / "ambiguous", rounds);
    return 0;
}
