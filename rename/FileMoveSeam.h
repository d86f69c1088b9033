// The system calls behind MoveFileNoReplace, replaceable so that tests and fuzzers can make
// any step fail with a chosen errno (a file system without RENAME_NOREPLACE, one without hard
// links, a folder whose entry cannot be removed, a flush that fails). Program code never
// includes this header; the program always runs on the real calls.
#pragma once

namespace tesslin {

// Each member behaves like the system call of the same name: 0 on success, -1 with errno set
// on failure. `renameat2` is always called with AT_FDCWD for both folders and
// RENAME_NOREPLACE; `fsync` is called on a folder opened read-only.
struct FileMoveCalls {
    int (*renameat2)(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                     unsigned int flags);
    int (*link)(const char* oldpath, const char* newpath);
    int (*unlink)(const char* path);
    int (*fsync)(int fd);
};

// The real system calls, the calls in use until SetFileMoveCalls changes them.
FileMoveCalls SystemFileMoveCalls();

// Makes every later MoveFileNoReplace go through `calls`; returns the calls it replaced.
// Not synchronised: change the calls only while no move runs.
FileMoveCalls SetFileMoveCalls(const FileMoveCalls& calls);

// Installs `calls` for one scope and puts the previous ones back at its end.
class ScopedFileMoveCalls {
public:
    explicit ScopedFileMoveCalls(const FileMoveCalls& calls) : previous_(SetFileMoveCalls(calls)) {}
    ~ScopedFileMoveCalls() { SetFileMoveCalls(previous_); }
    ScopedFileMoveCalls(const ScopedFileMoveCalls&) = delete;
    ScopedFileMoveCalls& operator=(const ScopedFileMoveCalls&) = delete;

private:
    FileMoveCalls previous_;
};

} // namespace tesslin
