#include "settings/AtomicWrite.h"

#include "platform/Error.h"
#include "settings/AtomicWriteSeam.h"
#include "settings/TemporaryFiles.h"

#include <boost/filesystem/operations.hpp>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

AtomicWriteCalls& Calls() {
    static AtomicWriteCalls calls{&::fsync, &::rename};
    return calls;
}

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result: some file systems (NFS) report write errors here.
    int Close() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_;
};

// Follows a chain of symbolic links to the file they finally name, so that the link itself
// survives the replacement. A dangling link names the file that is to be created.
fs::path ResolveLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        boost::system::error_code ec;
        if (fs::symlink_status(path, ec).type() != fs::symlink_file) {
            return path;
        }
        fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path; // a loop: the open below fails with ELOOP and reports it
}

// Writes all of `data`, retrying after short writes and interruptions.
bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes a new name in the folder of `path` durable. The file is already in place, and some
// file systems refuse fsync on folders, so a failure here is not reported.
void SyncFolderOf(const fs::path& path) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        Calls().fsync(dir.get());
    }
}

} // namespace

AtomicWriteCalls SetAtomicWriteCalls(const AtomicWriteCalls& calls) {
    return std::exchange(Calls(), calls);
}

void ReplaceFileAtomically(const std::string& path, std::string_view contents,
                           const std::string& cannot_open_text) {
    const fs::path target = ResolveLinks(path);

    // The file must be writable as it stands: a settings file the user made read-only (or a
    // folder, a device, a pipe in its place) is refused, as opening it for writing would be.
    struct stat old_status {};
    bool old_exists = false;
    if (::stat(target.c_str(), &old_status) == 0) {
        if (!S_ISREG(old_status.st_mode)) {
            throw FileError(cannot_open_text, target.string(),
                            NotARegularFile(S_ISDIR(old_status.st_mode)));
        }
        FileDescriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.get() < 0) {
            throw FileError(cannot_open_text, target.string(), SystemReason(errno));
        }
        // Replaced between the two looks: judge what was opened.
        if (::fstat(probe.get(), &old_status) != 0 || !S_ISREG(old_status.st_mode)) {
            throw FileError(cannot_open_text, target.string(),
                            NotARegularFile(S_ISDIR(old_status.st_mode)));
        }
        old_exists = true;
    } else if (errno != ENOENT) {
        throw FileError(cannot_open_text, target.string(), SystemReason(errno));
    }

    // The temporary file sits beside the target so that the final rename never crosses a
    // file system. O_EXCL makes a leftover or a concurrent writer's file a retry, never a
    // shared file. This is also why the folder must be writable, not only the file.
    std::string temp_name;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_name = TemporaryFileName(target, attempt).string();
        fd = ::open(temp_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        throw FileError(cannot_open_text, target.string(),
                        "cannot create the new file in its folder: " + SystemReason(errno));
    }
    FileDescriptor temp(fd);

    auto fail = [&](const char* what) {
        const int err = errno;
        temp.Close();
        ::unlink(temp_name.c_str());
        return SystemError(what, err);
    };

    if (old_exists) {
        // Keep the old file's permissions; its owner too, where we are allowed to.
        if (::fchmod(temp.get(), old_status.st_mode & 07777) != 0) {
            throw fail("Cannot write setting.ini");
        }
        [[maybe_unused]] const int ignored =
            ::fchown(temp.get(), old_status.st_uid, old_status.st_gid);
    }
    if (!WriteAll(temp.get(), contents) || Calls().fsync(temp.get()) != 0) {
        throw fail("Cannot write setting.ini");
    }
    if (temp.Close() != 0) {
        const int err = errno;
        ::unlink(temp_name.c_str());
        throw SystemError("Cannot write setting.ini", err);
    }
    if (Calls().rename(temp_name.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp_name.c_str());
        throw SystemError("Cannot replace setting.ini", err);
    }

    SyncFolderOf(target);
    RemoveLeftoverTemporaryFiles(target);
}

bool CreateNewFile(const std::string& path, std::string_view contents,
                   const std::string& cannot_open_text) {
    // O_EXCL with O_CREAT fails on any entry of that name, a link included, whatever it names.
    // Read and write for the owner only: the copy may hold what the user kept private.
    FileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0) {
        if (errno == EEXIST) {
            return false;
        }
        throw FileError(cannot_open_text, path, SystemReason(errno));
    }
    const auto fail = [&](int err) {
        ::unlink(path.c_str()); // ours: made just now by the open above
        return SystemError(cannot_open_text, err);
    };
    if (!WriteAll(file.get(), contents) || Calls().fsync(file.get()) != 0) {
        const int err = errno;
        file.Close();
        throw fail(err);
    }
    if (file.Close() != 0) {
        throw fail(errno);
    }
    SyncFolderOf(path);
    return true;
}

FileBytes ReadWholeFile(const std::string& path, std::uintmax_t limit) {
    FileBytes file;
    // A folder opens fine for reading on this platform; it is no settings file all the same.
    // O_NONBLOCK: opening a pipe (FIFO) in the file's place would otherwise wait for a
    // writer forever and the program would never start; for a regular file it changes
    // nothing.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        file.missing = errno == ENOENT;
        file.failure = SystemReason(errno);
        return file;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        file.failure = SystemReason(errno);
        return file;
    }
    if (!S_ISREG(status.st_mode)) {
        file.failure = NotARegularFile(S_ISDIR(status.st_mode));
        return file;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > limit) {
        // Refused unread: a huge file would take long to read and all of the memory.
        file.over_limit = static_cast<std::uintmax_t>(status.st_size);
        return file;
    }
    char buffer[16384];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            file.failure = SystemReason(errno);
        }
        if (n <= 0) {
            return file;
        }
        file.bytes.append(buffer, static_cast<std::size_t>(n));
        if (file.bytes.size() > limit) { // it grew while being read
            file.over_limit = file.bytes.size();
            return file;
        }
    }
}

} // namespace tesslin
