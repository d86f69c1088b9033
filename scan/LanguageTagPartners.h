// Players load "Video.ko.smi" as the subtitle of "Video.mkv". With the scan's option to keep
// language tags on, such a subtitle counts as its video's partner.
#pragma once

#include <string_view>
#include <vector>

namespace tesslin {

class CMismatchScanner;

class LanguageTagPartners {
public:
    // The scanner's extensions and compiled filters decide what is a video; it must outlive
    // this object.
    explicit LanguageTagPartners(const CMismatchScanner& scanner) : scanner_(scanner) {}

    // Settles one folder (`folder`: its path and separator) whose files without a partner
    // have the keys (names without extension, each sequence in ascending byte order)
    // `video_keys` and `subtitle_keys`. Marks every subtitle named after a video plus a
    // language tag ("Video.ko", "Video.Korean", "Video.ko-KR") where that video is among
    // `video_keys` (which is marked too) or exists as a non-empty file of one of the
    // scanner's video extensions that passes its video filter (a video already paired with an
    // untagged subtitle). The marks have the sequences' sizes.
    void Settle(std::string_view folder, const std::vector<std::string_view>& video_keys,
                const std::vector<std::string_view>& subtitle_keys, std::vector<bool>& drop_video,
                std::vector<bool>& drop_subtitle) const;

private:
    bool IsVideoFile(const std::string& path, std::string_view name) const;

    const CMismatchScanner& scanner_;
};

} // namespace tesslin
