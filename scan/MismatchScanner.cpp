#include "scan/MismatchScanner.h"

#include "platform/SystemText.h"
#include "scan/ScanWorkers.h"
#include "scan/TreeWalk.h"

#include <boost/filesystem/operations.hpp>
#include <boost/system/error_code.hpp>

#include <algorithm>
#include <utility>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

bool ListHolds(const std::vector<std::string>& list, std::string_view extension) {
    return std::find(list.begin(), list.end(), extension) != list.end();
}

} // namespace

void CMismatchScanner::Scan(PathList& unmatched_videos, PathList& unmatched_subtitles) {
    skipped_.clear();
    // Both patterns are compiled before any folder is read, so a bad pattern costs no walk.
    video_filter = use_vid_regex ? boost::regex(vid_regex) : boost::regex();
    subtitle_filter = use_sub_regex ? boost::regex(sub_regex) : boost::regex();

    // A root that is empty text, missing, no folder or unreadable fails the scan. A link to
    // a folder is followed here, as the user named it.
    boost::system::error_code error;
    std::unique_ptr<ListedFolder> root = folders->Open(root_directory, true, error);
    if (!root) {
        throw fs::filesystem_error("cannot open the folder", fs::path(root_directory), error);
    }
    // Into fresh lists: a failed or cancelled scan leaves the caller's as they were.
    PathList videos, subtitles;
    Walk(std::move(root), videos, subtitles);
    const auto append = [](PathList& from, PathList& to) {
        if (to.empty()) {
            std::swap(to, from);
        } else {
            to.Append(from, 0, from.size());
        }
    };
    append(videos, unmatched_videos);
    append(subtitles, unmatched_subtitles);
}

void CMismatchScanner::Scan(std::vector<fs::path>& unmatched_videos,
                            std::vector<fs::path>& unmatched_subtitles) {
    PathList videos, subtitles;
    Scan(videos, subtitles);
    for (auto [from, to] :
         {std::pair{&videos, &unmatched_videos}, std::pair{&subtitles, &unmatched_subtitles}}) {
        to->reserve(to->size() + from->size());
        for (std::size_t i = 0; i < from->size(); ++i) {
            to->push_back(from->Path(i));
        }
    }
}

void CMismatchScanner::Walk(std::unique_ptr<ListedFolder> root, PathList& videos,
                            PathList& subtitles) {
    if (jobs > 1) {
        WalkWithWorkers(*this, *folders, progress, jobs, root_directory, std::move(root), videos,
                        subtitles, skipped_);
        return;
    }
    TreeWalk walk(*this, *folders, progress, nullptr, nullptr);
    walk.Run(root_directory, std::move(root), true);
    videos.Reserve(walk.table.Count(FileKind::Video));
    walk.table.Extract(FileKind::Video, videos);
    subtitles.Reserve(walk.table.Count(FileKind::Subtitle));
    walk.table.Extract(FileKind::Subtitle, subtitles);
    skipped_ = std::move(walk.skipped);
}

FileKind CMismatchScanner::ClassifyExtension(const fs::path& path) const {
    return KindOfName(path.filename().string());
}

FileKind CMismatchScanner::KindOfName(std::string_view file_name) const {
    // Boost's version-3 extension: from the last dot on, the dot included, so ".avi" is all
    // extension and "a." has the extension "." (empty once the dot is dropped); "." and ".."
    // have none.
    if (file_name == "." || file_name == "..") {
        return FileKind::Other;
    }
    const std::size_t dot = file_name.rfind('.');
    if (dot == std::string_view::npos) {
        return FileKind::Other;
    }
    const std::string_view extension = file_name.substr(dot + 1);
    if (ListHolds(vid_ext, extension)) {
        return FileKind::Video;
    }
    if (ListHolds(sub_ext, extension)) {
        return FileKind::Subtitle;
    }
    return FileKind::Other;
}

bool CMismatchScanner::PassesFilter(const std::string& file_name, FileKind kind) const {
    return Admits(file_name, kind);
}

bool CMismatchScanner::Admits(std::string_view file_name, FileKind kind) const {
    const char* const first = file_name.data();
    const char* const last = first + file_name.size();
    switch (kind) {
    case FileKind::Video:
        return !use_vid_regex || boost::regex_search(first, last, video_filter);
    case FileKind::Subtitle:
        return !use_sub_regex || boost::regex_search(first, last, subtitle_filter);
    case FileKind::Other:
        break;
    }
    return false;
}

} // namespace tesslin
