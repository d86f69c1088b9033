#include "scan/LanguageTagPartners.h"

#include "match/LanguageTags.h"
#include "platform/PathStatus.h"
#include "scan/MismatchScanner.h"

#include <string_view>
#include <unordered_map>

namespace tesslin {

namespace {

// The path up to its last dot, as the name key.
std::string_view KeyOf(const std::string& path) {
    return std::string_view(path).substr(0, path.rfind('.'));
}

bool IsVideoFile(const CMismatchScanner& scanner, const std::string& path) {
    const PathStatus status = StatusOf(path, true);
    if (!status.regular_file || status.size == 0) {
        return false;
    }
    return scanner.PassesFilter(path.substr(path.find_last_of(kPathSeparators) + 1),
                                FileKind::Video);
}

} // namespace

void DropLanguageTagPartners(const CMismatchScanner& scanner,
                             std::vector<boost::filesystem::path>& unmatched_videos,
                             std::vector<boost::filesystem::path>& unmatched_subtitles) {
    // The paths' texts as UTF-8 (a conversion on Windows), kept while the keys point into them.
    std::vector<std::string> video_texts;
    video_texts.reserve(unmatched_videos.size());
    std::unordered_map<std::string_view, std::size_t> videos;
    for (std::size_t v = 0; v < unmatched_videos.size(); ++v) {
        videos.emplace(KeyOf(video_texts.emplace_back(unmatched_videos[v].string())), v);
    }
    std::vector<bool> drop_video(unmatched_videos.size(), false);
    std::vector<bool> drop_subtitle(unmatched_subtitles.size(), false);
    for (std::size_t s = 0; s < unmatched_subtitles.size(); ++s) {
        const std::string path = unmatched_subtitles[s].string();
        const std::string_view key = KeyOf(path);
        const std::size_t name_start = path.find_last_of(kPathSeparators) + 1;
        const std::size_t tag = DottedLanguageTagLength(key.substr(name_start));
        if (tag == 0) {
            continue;
        }
        const std::string_view base = key.substr(0, key.size() - tag - 1);
        if (const auto it = videos.find(base); it != videos.end()) {
            drop_video[it->second] = drop_subtitle[s] = true;
            continue;
        }
        for (const std::string& extension : scanner.vid_ext) {
            if (IsVideoFile(scanner, std::string(base) + "." + extension)) {
                drop_subtitle[s] = true;
                break;
            }
        }
    }
    const auto keep = [](std::vector<boost::filesystem::path>& paths,
                         const std::vector<bool>& drop) {
        std::size_t out = 0;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (!drop[i]) {
                if (out != i) { // a path moved onto itself would be left empty
                    paths[out] = std::move(paths[i]);
                }
                ++out;
            }
        }
        paths.resize(out);
    };
    keep(unmatched_videos, drop_video);
    keep(unmatched_subtitles, drop_subtitle);
}

} // namespace tesslin
