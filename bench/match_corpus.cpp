// Precision and recall of the pair matcher on the name corpus of match_corpus.txt: per class,
// the proposals that were right, those that were wrong, and the partners missed.
//   match_corpus CORPUS OUT [-v]  makes one folder per corpus line under OUT (emptied first),
//                                 gives the matcher the files a scan leaves unmatched (those
//                                 whose name without extension no other file shares) and
//                                 compares its proposals with the expected ones; -v names
//                                 every wrong and missed pair
#include "match/PairMatcher.h"

#include <boost/algorithm/string.hpp>
#include <boost/filesystem.hpp>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = boost::filesystem;

namespace {

struct Folder {
    std::string kind;
    std::vector<std::string> files;
    std::set<std::string> expected; // "SUBTITLE > VIDEO"
};

struct Tally {
    int folders = 0;
    int expected = 0;
    int right = 0;
    int wrong = 0;
};

bool IsVideo(const std::string& name) {
    return boost::iends_with(name, ".mkv") || boost::iends_with(name, ".mp4") ||
           boost::iends_with(name, ".avi");
}

// `name` with each "{NN}" replaced by NN + `add`, as wide as NN was.
std::string Episode(const std::string& name, int add) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::size_t close = name.find('}', i);
        if (name[i] != '{' || close == std::string::npos) {
            out += name[i];
            continue;
        }
        const std::string digits = name.substr(i + 1, close - i - 1);
        std::string value = std::to_string(std::stoi(digits) + add);
        while (value.size() < digits.size()) {
            value.insert(0, "0");
        }
        out += value;
        i = close;
    }
    return out;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    boost::split(parts, text, boost::is_any_of("|"));
    for (std::string& part : parts) {
        boost::trim(part);
    }
    return parts;
}

Folder Parse(const std::vector<std::string>& fields) {
    Folder folder{fields[1], {}, {}};
    if (fields[0] == "folder") {
        folder.files = Split(fields[2]);
        for (const std::string& pair : Split(fields.size() > 3 ? fields[3] : "")) {
            folder.expected.insert(pair);
        }
        return folder;
    }
    const std::string& video = fields[2];
    const std::string& subtitle = fields[3];
    folder.files = {Episode(video, 0), Episode(subtitle, 0)};
    folder.expected.insert(folder.files[1] + " > " + folder.files[0]);
    if (fields[0] == "pair") {
        // The decoy: the next episode (the one after a double episode).
        const int numbers = int(std::count(video.begin(), video.end(), '{'));
        folder.files.push_back(Episode(video, numbers > 1 ? 2 : 1));
    }
    return folder;
}

std::string Stem(const std::string& name) {
    return name.substr(0, name.rfind('.'));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: match_corpus CORPUS OUT [-v]\n");
        return 2;
    }
    const bool verbose = argc > 3 && std::string(argv[3]) == "-v";
    const fs::path out = argv[2];
    fs::remove_all(out);
    std::ifstream corpus(argv[1]);
    std::map<std::string, Tally> tallies;
    std::string line;
    int number = 0;
    while (std::getline(corpus, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields;
        boost::split(fields, line, boost::is_any_of("\t"));
        if (fields.size() < 3) {
            continue;
        }
        const Folder folder = Parse(fields);
        const fs::path dir = out / std::to_string(++number);
        fs::create_directories(dir);
        std::multiset<std::string> stems;
        for (const std::string& name : folder.files) {
            std::ofstream((dir / name).string()) << 'x';
            stems.insert(Stem(name));
        }
        std::vector<fs::path> videos;
        std::vector<fs::path> subtitles;
        for (const std::string& name : folder.files) {
            if (stems.count(Stem(name)) == 1) { // what the scan leaves unmatched
                (IsVideo(name) ? videos : subtitles).push_back(dir / name);
            }
        }
        const tesslin::Suggestions found = tesslin::SuggestPairs(videos, subtitles, {});
        Tally& tally = tallies[folder.kind];
        ++tally.folders;
        tally.expected += int(folder.expected.size());
        std::set<std::string> proposed;
        for (const tesslin::PairProposal& p : found.proposals) {
            const std::string pair =
                p.subtitle.filename().string() + " > " + p.video.filename().string();
            proposed.insert(pair);
            const bool right = folder.expected.count(pair) != 0;
            ++(right ? tally.right : tally.wrong);
            if (!right) {
                std::printf("WRONG  %s: %s\n", folder.kind.c_str(), pair.c_str());
            }
        }
        for (const std::string& pair : folder.expected) {
            if (verbose && proposed.count(pair) == 0) {
                std::printf("missed %s: %s\n", folder.kind.c_str(), pair.c_str());
            }
        }
    }
    std::printf("%-8s %7s %8s %6s %6s %9s %7s\n", "class", "folders", "expected", "right", "wrong",
                "precision", "recall");
    for (const auto& [kind, t] : tallies) {
        const int proposed = t.right + t.wrong;
        std::printf("%-8s %7d %8d %6d %6d %9.3f %7s\n", kind.c_str(), t.folders, t.expected,
                    t.right, t.wrong, proposed == 0 ? 1.0 : double(t.right) / proposed,
                    t.expected == 0
                        ? "-"
                        : std::to_string(double(t.right) / t.expected).substr(0, 5).c_str());
    }
    return 0;
}
