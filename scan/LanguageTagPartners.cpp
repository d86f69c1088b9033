#include "scan/LanguageTagPartners.h"

#include "match/LanguageTags.h"
#include "platform/PathStatus.h"
#include "scan/MismatchScanner.h"

#include <algorithm>
#include <string>

namespace tesslin {

bool LanguageTagPartners::IsVideoFile(const std::string& path, std::string_view name) const {
    const PathStatus status = StatusOf(path, true);
    if (!status.regular_file || status.size == 0) {
        return false;
    }
    return scanner_.PassesFilter(std::string(name), FileKind::Video);
}

void LanguageTagPartners::Settle(std::string_view folder,
                                 const std::vector<std::string_view>& video_keys,
                                 const std::vector<std::string_view>& subtitle_keys,
                                 std::vector<bool>& drop_video,
                                 std::vector<bool>& drop_subtitle) const {
    std::string path;
    for (std::size_t s = 0; s < subtitle_keys.size(); ++s) {
        const std::string_view key = subtitle_keys[s];
        const std::size_t tag = DottedLanguageTagLength(key);
        if (tag == 0) {
            continue;
        }
        const std::string_view base = key.substr(0, key.size() - tag - 1);
        const auto video = std::lower_bound(video_keys.begin(), video_keys.end(), base);
        if (video != video_keys.end() && *video == base) {
            drop_video[static_cast<std::size_t>(video - video_keys.begin())] = drop_subtitle[s] =
                true;
            continue;
        }
        // Asked of the file system only for a tagged subtitle left alone: the folder's paired
        // videos are no longer held.
        for (const std::string& extension : scanner_.vid_ext) {
            path.assign(folder);
            path.append(base);
            path += '.';
            path.append(extension);
            if (IsVideoFile(path, std::string_view(path).substr(folder.size()))) {
                drop_subtitle[s] = true;
                break;
            }
        }
    }
}

} // namespace tesslin
