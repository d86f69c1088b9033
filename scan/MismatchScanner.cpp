#include "scan/MismatchScanner.h"

#include "platform/SystemText.h"
#include "scan/LanguageTagPartners.h"
#include "scan/ScanWorkers.h"
#include "scan/TreeWalk.h"

#include <boost/filesystem/operations.hpp>
#include <boost/system/error_code.hpp>

#include <algorithm>
#include <iterator>
#include <utility>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

bool ListHolds(const std::vector<std::string>& list, std::string_view extension) {
    return std::find(list.begin(), list.end(), extension) != list.end();
}

} // namespace

void CMismatchScanner::Scan(std::vector<fs::path>& unmatched_videos,
                            std::vector<fs::path>& unmatched_subtitles) {
    table_.Clear();
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
    // Into fresh sequences: a failed or cancelled scan leaves the caller's as they were.
    std::vector<fs::path> videos, subtitles;
    Walk(std::move(root), videos, subtitles);
    if (keep_language_tag) {
        DropLanguageTagPartners(*this, videos, subtitles);
    }
    const auto append = [](std::vector<fs::path>& from, std::vector<fs::path>& to) {
        if (to.empty()) {
            to.swap(from);
        } else {
            to.insert(to.end(), std::make_move_iterator(from.begin()),
                      std::make_move_iterator(from.end()));
        }
    };
    append(videos, unmatched_videos);
    append(subtitles, unmatched_subtitles);
}

void CMismatchScanner::Walk(std::unique_ptr<ListedFolder> root, std::vector<fs::path>& videos,
                            std::vector<fs::path>& subtitles) {
    if (jobs > 1) {
        WalkWithWorkers(*this, *folders, progress, jobs, root_directory, std::move(root), videos,
                        subtitles, skipped_);
        return;
    }
    TreeWalk walk(*this, *folders, progress, nullptr, nullptr);
    walk.Run(root_directory, std::move(root), true);
    walk.table.Extract(videos, subtitles);
    skipped_ = std::move(walk.skipped);
}

void CMismatchScanner::AddFile(const fs::path& path) {
    const FileKind kind = ClassifyExtension(path);
    if (kind == FileKind::Other) {
        return;
    }
    boost::system::error_code error;
    const fs::file_status status = fs::status(path, error);
    const std::uintmax_t size =
        fs::is_regular_file(status) ? fs::file_size(path, error) : std::uintmax_t(0);
    if (error) {
        if (error != boost::system::errc::no_such_file_or_directory &&
            error != boost::system::errc::not_a_directory) {
            skipped_.push_back({path, ErrorCodeText(error)});
        }
        return;
    }
    if (size > 0) {
        const std::string& text = path.string();
        const std::string name = path.filename().string();
        if (Admits(name, kind)) {
            table_.Enter(text, text.size() - name.size(), text.rfind('.'), kind);
        }
    }
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
