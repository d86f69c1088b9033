// Players load "Video.ko.smi" as the subtitle of "Video.mkv". With the scan's option to keep
// language tags on, such a subtitle counts as its video's partner.
#pragma once

#include <boost/filesystem/path.hpp>

#include <vector>

namespace tesslin {

class CMismatchScanner;

// Removes from the two sequences every subtitle named after a video plus a language tag
// ("Video.ko.smi", "Video.Korean.srt", "Video.ko-KR.ass") where that video is among
// `unmatched_videos` (which loses it too) or exists as a non-empty file of one of the
// scanner's video extensions that passes its video filter (a video already paired with an
// untagged subtitle). The order of what remains is kept. The scanner's filters must be
// compiled, as they are during its Scan.
void DropLanguageTagPartners(const CMismatchScanner& scanner,
                             std::vector<boost::filesystem::path>& unmatched_videos,
                             std::vector<boost::filesystem::path>& unmatched_subtitles);

} // namespace tesslin
