#include "rename/FileMove.h"

#include "platform/Error.h"
#include "platform/Translation.h"
#include "rename/FileMoveSeam.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tesslin {

namespace {

FileMoveCalls& Calls() {
    static FileMoveCalls calls = SystemFileMoveCalls();
    return calls;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string CannotRename(const std::string& from, const std::string& to) {
    return Say("Cannot rename {0} to {1}", {Quoted(from), Quoted(to)});
}

[[noreturn]] void ThrowCannotRename(const std::string& from, const std::string& to,
                                    const std::string& reason) {
    throw MoveFailed(CannotRename(from, to) + ": " + reason, reason);
}

// The folder that holds the entry `path` names, as the system resolves it.
std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

struct Attempt {
    int err = 0;           // 0 when the file was moved
    bool linkStep = false; // the failure came from the hard-link fallback
};

// One move that cannot replace `to`. Returns the errno of the step that failed, without
// touching either name then; throws only when the move got half-way (both names exist).
Attempt MoveOnce(const std::string& from, const std::string& to) {
    const FileMoveCalls& calls = Calls();
    if (calls.renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    const int renameErr = errno;
    // EINVAL means the file system does not know the flag (NFS, FUSE drivers without
    // RENAME2): the kernel still refuses an existing target with EEXIST, so any other errno
    // is a real answer. A hard link fails atomically when `to` exists, so link + unlink keeps
    // the promise where the flag is missing. Testing for `to` and then renaming would not:
    // another program may create `to` in between.
    if (renameErr != EINVAL) {
        return {renameErr, false};
    }
    if (calls.link(from.c_str(), to.c_str()) != 0) {
        return {errno, true};
    }
    if (calls.unlink(from.c_str()) != 0) {
        const std::string reason = SystemReason(errno);
        throw MoveFailed(Say("Cannot rename {0} to {1} completely: the new name was made but the "
                             "old one could not be removed, so both names now refer to the same "
                             "file: {2}",
                             {Quoted(from), Quoted(to), reason}),
                         Say("{0} (both names now refer to the same file)", {reason}));
    }
    return {};
}

[[noreturn]] void ThrowMoveFailure(const std::string& from, const std::string& to,
                                   const Attempt& attempt) {
    std::string reason = SystemReason(attempt.err);
    if (attempt.linkStep && (attempt.err == EPERM || attempt.err == EOPNOTSUPP)) {
        // The file system has neither RENAME_NOREPLACE nor hard links (FAT and exFAT through
        // FUSE): there is no way to rename on it without risking to replace a file.
        reason = Say("{0} (this file system cannot rename a file without the risk of replacing "
                     "another one)",
                     {reason});
    }
    ThrowCannotRename(from, to, reason);
}

// How many names the file behind both `from` and `to` has; 0 when they are different files.
// One name: a case-only rename on a volume that ignores case, or two spellings of one path.
// More: two hard links of one file, each an entry of its own.
nlink_t SharedFileLinks(const std::string& from, const std::string& to) {
    struct stat a {};
    struct stat b {};
    if (::lstat(from.c_str(), &a) != 0 || ::lstat(to.c_str(), &b) != 0 || a.st_dev != b.st_dev ||
        a.st_ino != b.st_ino) {
        return 0;
    }
    return a.st_nlink;
}

// The kernel answers EEXIST for a rename onto the file itself (case-only rename on FAT or
// exFAT), so it takes two steps, each of which again refuses to replace: first to a free
// temporary name beside the file, then to the new name. On failure the file goes back.
void MoveThroughTemporaryName(const std::string& from, const std::string& to) {
    const std::string prefix =
        FolderOf(from) + "/.tesslin-rename-" + std::to_string(::getpid()) + "-";
    std::string temp;
    for (int n = 0;; ++n) {
        temp = prefix + std::to_string(n);
        const Attempt first = MoveOnce(from, temp);
        if (first.err == 0) {
            break;
        }
        if (first.err != EEXIST || n == 99) {
            ThrowMoveFailure(from, to, first);
        }
    }
    const Attempt second = MoveOnce(temp, to);
    if (second.err == 0) {
        return;
    }
    if (MoveOnce(temp, from).err != 0) {
        const std::string reason = Say("{0}; the file was left under the name {1}",
                                       {SystemReason(second.err), Quoted(temp)});
        ThrowCannotRename(from, to, reason);
    }
    ThrowMoveFailure(from, to, second);
}

[[noreturn]] void ThrowNotDurable(const std::string& from, const std::string& to, int err) {
    const std::string reason =
        Say("{0} (the file was renamed, but the change could not be written to the disk)",
            {SystemReason(err)});
    throw MoveFailed(Say("Renamed {0} to {1}, but the change could not be written to the disk: {2}",
                         {Quoted(from), Quoted(to), SystemReason(err)}),
                     reason);
}

// Makes the folder's new entries durable, as a write-through rename does on Windows.
void SyncFolder(const std::string& folder, const std::string& from, const std::string& to) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) {
            // A folder we may change but not read (mode -wx) cannot be opened for fsync;
            // sync() flushes every file system, this folder included.
            ::sync();
            return;
        }
        ThrowNotDurable(from, to, errno);
    }
    const int result = Calls().fsync(fd);
    const int err = errno;
    ::close(fd);
    // EINVAL and EROFS: the file system keeps no folder data to flush (some FUSE drivers).
    if (result != 0 && err != EINVAL && err != EROFS) {
        ThrowNotDurable(from, to, err);
    }
}

} // namespace

FileMoveCalls SystemFileMoveCalls() {
    return {&::renameat2, &::link, &::unlink, &::fsync};
}

FileMoveCalls SetFileMoveCalls(const FileMoveCalls& calls) {
    const FileMoveCalls previous = Calls();
    Calls() = calls;
    return previous;
}

void MoveFileNoReplace(const std::string& from, const std::string& to) {
    const Attempt attempt = MoveOnce(from, to);
    if (attempt.err == EEXIST) {
        const nlink_t links = SharedFileLinks(from, to);
        if (links != 0 && from == to) {
            return; // the file already has this name: nothing to do
        }
        if (links != 1) {
            // Another file, or another hard link of this one: moving onto it would delete it.
            ThrowMoveFailure(from, to, attempt);
        }
        MoveThroughTemporaryName(from, to);
    } else if (attempt.err != 0) {
        ThrowMoveFailure(from, to, attempt);
    }
    const std::string toFolder = FolderOf(to);
    SyncFolder(toFolder, from, to);
    if (FolderOf(from) != toFolder) {
        SyncFolder(FolderOf(from), from, to);
    }
}

} // namespace tesslin
