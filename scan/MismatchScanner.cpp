#include "scan/MismatchScanner.h"

#include "scan/LanguageTagPartners.h"

#include <boost/filesystem/operations.hpp>
#include <boost/system/error_code.hpp>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

// The status of the entry `name` in the folder open as `folder` (links followed when
// `follow`), or the errno of the failed query. One query gives both the type and the size:
// Boost's status() drops the size, and a second query for it would double the cost of a large
// scan and open a window in which the file can vanish between the two. Asking relative to the
// open folder spares the kernel walking the whole path again for every entry.
int QueryStatus(int folder, const char* name, bool follow, struct stat& st) {
    return ::fstatat(folder, name, &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

// A folder opened for relative status queries; closed with the walk's level.
class FolderHandle {
public:
    explicit FolderHandle(const fs::path& folder)
        : fd_(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}
    FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FolderHandle& operator=(FolderHandle&&) = delete;
    ~FolderHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool is_open() const { return fd_ >= 0; }
    int fd() const { return fd_; }

private:
    int fd_;
};

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
    table_.Clear();
    skipped_.clear();
    // Both patterns are compiled before any folder is read, so a bad pattern costs no walk.
    video_filter = use_vid_regex ? boost::regex(vid_regex) : boost::regex();
    subtitle_filter = use_sub_regex ? boost::regex(sub_regex) : boost::regex();

    try {
        Walk(fs::path(root_directory));
    } catch (...) {
        table_.Clear();
        throw;
    }
    table_.Extract(unmatched_videos, unmatched_subtitles);
    if (keep_language_tag) {
        DropLanguageTagPartners(*this, unmatched_videos, unmatched_subtitles);
    }
}

void CMismatchScanner::Walk(const fs::path& root) {
    struct Level {
        fs::path folder;
        fs::directory_iterator it;
        FolderHandle handle;
    };
    // Our own stack instead of recursive_directory_iterator: that one queries the status of
    // every entry once more to decide whether to descend, and it gives up the whole walk on
    // the first sub-folder it cannot list.
    std::vector<Level> stack;
    // The throwing form for the root: a root that is empty text, missing, no folder or
    // unreadable fails the scan.
    fs::directory_iterator first(root);
    stack.push_back({root, std::move(first), FolderHandle(root)});
    const fs::directory_iterator end;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.it == end) {
            if (stack.size() > 1) {
                const std::string& folder = level.folder.native();
                table_.CloseFolder(folder, NameOfEntry(folder).data() - folder.data());
            }
            stack.pop_back();
            continue;
        }
        const fs::path& entry = level.it->path();
        fs::path sub_folder;
        if (Visit(entry, level.handle.is_open() ? level.handle.fd() : -1)) {
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
                FolderHandle handle(sub_folder);
                table_.OpenFolder();
                stack.push_back({std::move(sub_folder), std::move(child), std::move(handle)});
            }
        }
    }
}

bool CMismatchScanner::Visit(const fs::path& path, int folder) {
    const std::string_view name = NameOfEntry(path.native());
    // The name is the tail of the path's text, so it ends in the text's terminating zero.
    const int at = folder >= 0 ? folder : AT_FDCWD;
    const char* const query = folder >= 0 ? name.data() : path.c_str();
    const FileKind kind = KindOfName(name);
    struct stat st;
    if (kind != FileKind::Other) {
        if (const int err = QueryStatus(at, query, true, st)) {
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
    if (const int err = QueryStatus(at, query, false, st)) {
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
    if (const int err = QueryStatus(AT_FDCWD, path.c_str(), true, st)) {
        Skip(path, err);
        return;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        // A regular file's path ends in its name, so the name is the text after the last
        // separator, as for a listed entry.
        Enter(path, NameOfEntry(path.native()), kind);
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

// `file_name` is the tail of the path's text.
void CMismatchScanner::Enter(const fs::path& path, std::string_view file_name, FileKind kind) {
    if (!Admits(file_name, kind)) {
        return;
    }
    // The file name holds a dot (it has a listed extension), so the last dot of the whole
    // path is in the name and the key is the folder plus the name without its extension.
    const std::string& text = path.native();
    table_.Enter(text, file_name.data() - text.data(), text.rfind('.'), kind);
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

} // namespace tesslin
