// The POSIX reader: openat + fdopendir, the type from each directory entry, fstatat relative
// to the folder's own handle.
#include "platform/FolderReader.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tesslin {

namespace {

boost::system::error_code LastError() {
    return {errno, boost::system::system_category()};
}

EntryType TypeOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return EntryType::File;
    }
    if (S_ISDIR(mode)) {
        return EntryType::Folder;
    }
    return S_ISLNK(mode) ? EntryType::Link : EntryType::Other;
}

EntryType TypeOfEntry([[maybe_unused]] const dirent& entry) {
#ifdef _DIRENT_HAVE_D_TYPE
    switch (entry.d_type) {
    case DT_REG:
        return EntryType::File;
    case DT_DIR:
        return EntryType::Folder;
    case DT_LNK:
        return EntryType::Link;
    case DT_UNKNOWN:
        return EntryType::Unknown;
    default:
        return EntryType::Other;
    }
#else
    return EntryType::Unknown;
#endif
}

class PosixFolder final : public ListedFolder {
public:
    // Takes the handle `fd` of a folder; null on failure, the handle then closed.
    static std::unique_ptr<ListedFolder> Adopt(int fd, boost::system::error_code& error) {
        if (fd < 0) {
            error = LastError();
            return nullptr;
        }
        // fdopendir keeps the handle as the stream's own: one handle per folder, used both
        // for reading and for the queries relative to it.
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            error = LastError();
            ::close(fd);
            return nullptr;
        }
        return std::unique_ptr<ListedFolder>(new PosixFolder(dir));
    }

    ~PosixFolder() override { ::closedir(dir_); }

    bool Next(ListedEntry& entry, boost::system::error_code& error) override {
        for (;;) {
            errno = 0;
            const dirent* d = ::readdir(dir_);
            if (d == nullptr) {
                if (errno != 0) {
                    error = LastError();
                }
                return false;
            }
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entry.name = std::string_view(name, std::strlen(name));
            entry.type = TypeOfEntry(*d);
            entry.size_known = false;
            return true;
        }
    }

    boost::system::error_code Query(const char* name, bool follow, EntryStatus& status) override {
        struct stat st;
        // One call gives both the type and the size: asking twice would double the cost and
        // open a window in which the file could vanish between the two.
        if (::fstatat(::dirfd(dir_), name, &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
            return LastError();
        }
        status.type = TypeOfMode(st.st_mode);
        status.size = static_cast<std::uintmax_t>(st.st_size);
        return {};
    }

    std::unique_ptr<ListedFolder> OpenSub(const char* name,
                                          boost::system::error_code& error) override {
        // O_NOFOLLOW with O_DIRECTORY: one call opens the folder and proves it is a real
        // folder, not a link to one, whatever happened to the entry since it was listed.
        return Adopt(::openat(::dirfd(dir_), name, kFolderFlags | O_NOFOLLOW), error);
    }

    static constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

private:
    explicit PosixFolder(DIR* dir) : dir_(dir) {}
    DIR* dir_;
};

class PosixReader final : public FolderReader {
public:
    std::unique_ptr<ListedFolder> Open(const std::string& path, bool follow_link,
                                       boost::system::error_code& error) const override {
        if (path.empty()) {
            error = {ENOENT, boost::system::system_category()};
            return nullptr;
        }
        const int flags = PosixFolder::kFolderFlags | (follow_link ? 0 : O_NOFOLLOW);
        return PosixFolder::Adopt(::open(path.c_str(), flags), error);
    }
};

} // namespace

const FolderReader& SystemFolders() {
    static const PosixReader reader;
    return reader;
}

} // namespace tesslin
