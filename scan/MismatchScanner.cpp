#include "scan/MismatchScanner.h"

#include <boost/filesystem/operations.hpp>
#include <boost/system/error_code.hpp>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

// The status of `path` (links followed when `follow`), or the errno of the failed query.
// One query gives both the type and the size: Boost's status() drops the size, and a second
// query for it would double the cost of a large scan and open a window in which the file
// can vanish between the two.
int QueryStatus(const fs::path& path, bool follow, struct stat& st) {
    const int rc = follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return rc == 0 ? 0 : errno;
}

// The last component of a listed entry's path. directory_iterator builds every entry as the
// folder's path, a separator and the name, and a name never holds a separator.
std::string_view NameOfEntry(const std::string& text) {
    return std::string_view(text).substr(text.rfind('/') + 1);
}

bool ListHolds(const std::vector<std::string>& list, std::string_view extension) {
    return std::find(list.begin(), list.end(), extension) != list.end();
}

} // namespace

void CMismatchScanner::Scan(std::vector<fs::path>& unmatched_videos,
                            std::vector<fs::path>& unmatched_subtitles) {
    entered_.clear();
    skipped_.clear();
    // Both patterns are compiled before any folder is read, so a bad pattern costs no walk.
    video_filter = use_vid_regex ? boost::regex(vid_regex) : boost::regex();
    subtitle_filter = use_sub_regex ? boost::regex(sub_regex) : boost::regex();

    Walk(fs::path(root_directory));
    Extract(unmatched_videos, unmatched_subtitles);
    entered_.clear();
    entered_.shrink_to_fit();
}

void CMismatchScanner::Walk(const fs::path& root) {
    struct Level {
        fs::path folder;
        fs::directory_iterator it;
    };
    // Our own stack instead of recursive_directory_iterator: that one queries the status of
    // every entry once more to decide whether to descend, and it gives up the whole walk on
    // the first sub-folder it cannot list.
    std::vector<Level> stack;
    // The throwing form for the root: a root that is empty text, missing, no folder or
    // unreadable fails the scan.
    stack.push_back({root, fs::directory_iterator(root)});
    const fs::directory_iterator end;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.it == end) {
            stack.pop_back();
            continue;
        }
        const fs::path& entry = level.it->path();
        fs::path sub_folder;
        if (Visit(entry)) {
            sub_folder = entry;
        }
        boost::system::error_code ec;
        level.it.increment(ec);
        if (ec) {
            Skip(level.folder, ec.value());
            level.it = end;
        }
        // Entered right after its own entry, before its later siblings: depth first.
        if (!sub_folder.empty()) {
            fs::directory_iterator child(sub_folder, ec);
            if (ec) {
                Skip(sub_folder, ec.value());
            } else {
                stack.push_back({std::move(sub_folder), std::move(child)});
            }
        }
    }
}

bool CMismatchScanner::Visit(const fs::path& path) {
    const std::string_view name = NameOfEntry(path.native());
    const FileKind kind = KindOfName(name);
    struct stat st;
    if (kind != FileKind::Other) {
        if (const int err = QueryStatus(path, true, st)) {
            Skip(path, err);
            return false;
        }
        if (S_ISREG(st.st_mode)) {
            if (st.st_size > 0) {
                Enter(path, name, kind);
            }
            return false;
        }
        if (!is_recursive || !S_ISDIR(st.st_mode)) {
            return false;
        }
        // A folder named like a video ("x.avi"): walked into unless it is a link.
    } else if (!is_recursive) {
        // No listed extension: nothing to ask the file system in a plain walk.
        return false;
    }
    // The link itself: a folder reached through a symbolic link is not entered, which also
    // keeps a link to an ancestor from walking in circles.
    if (const int err = QueryStatus(path, false, st)) {
        Skip(path, err);
        return false;
    }
    return S_ISDIR(st.st_mode);
}

void CMismatchScanner::AddFile(const fs::path& path) {
    const FileKind kind = ClassifyExtension(path);
    if (kind == FileKind::Other) {
        return;
    }
    struct stat st;
    if (const int err = QueryStatus(path, true, st)) {
        Skip(path, err);
        return;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        Enter(path, path.filename().native(), kind);
    }
}

FileKind CMismatchScanner::ClassifyExtension(const fs::path& path) const {
    return KindOfName(path.filename().native());
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

void CMismatchScanner::Enter(const fs::path& path, std::string_view file_name, FileKind kind) {
    if (!Admits(file_name, kind)) {
        return;
    }
    // The file name holds a dot (it has a listed extension), so the last dot of the whole
    // path is in the name and the key is the folder plus the name without its extension.
    const std::size_t key_length = path.native().rfind('.');
    const auto order = static_cast<std::uint32_t>(entered_.size());
    entered_.push_back({path, static_cast<std::uint32_t>(key_length), order, kind});
}

void CMismatchScanner::Skip(const fs::path& path, int err) {
    // Gone between the listing and the query (or its folder replaced by a file): no longer
    // part of the library, nothing to report.
    if (err == ENOENT || err == ENOTDIR) {
        return;
    }
    skipped_.push_back(
        {path, boost::system::error_code(err, boost::system::system_category()).message()});
}

void CMismatchScanner::Extract(std::vector<fs::path>& unmatched_videos,
                               std::vector<fs::path>& unmatched_subtitles) {
    const auto key = [](const Entered& e) {
        return std::string_view(e.path.native()).substr(0, e.key_length);
    };
    // string_view compares bytes as unsigned values: "B" before "a", " " before ".".
    std::sort(entered_.begin(), entered_.end(), [&key](const Entered& a, const Entered& b) {
        const int c = key(a).compare(key(b));
        return c != 0 ? c < 0 : a.order < b.order;
    });
    for (std::size_t first = 0; first < entered_.size();) {
        std::size_t next = first;
        Entered* video = nullptr;
        Entered* subtitle = nullptr;
        // Within one key the files come in walk order, so the last of a kind wins.
        for (; next < entered_.size() && key(entered_[next]) == key(entered_[first]); ++next) {
            (entered_[next].kind == FileKind::Video ? video : subtitle) = &entered_[next];
        }
        if (video && !subtitle) {
            unmatched_videos.push_back(std::move(video->path));
        } else if (subtitle && !video) {
            unmatched_subtitles.push_back(std::move(subtitle->path));
        }
        first = next;
    }
}

} // namespace tesslin
