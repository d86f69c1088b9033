// The settings file's bytes on disk: read whole, and replaced whole so that a crash, a full
// disk or a failed close never leaves it half-written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tesslin {

// Writes `contents` to a temporary file in the folder of `path`'s final target (a symbolic
// link is followed and kept), flushes and syncs it, gives it the old file's permission bits
// and renames it over the target, then syncs the folder.
// Throws Error `cannot_open_text` when the temporary file cannot be created; throws an Error
// naming the cause for any later failure, after removing the temporary file.
void ReplaceFileAtomically(const std::string& path, std::string_view contents,
                           const std::string& cannot_open_text);

// Creates the file `path` holding `contents`, flushed and synced, and syncs its folder, only
// where nothing at all has that name: whatever is there (a file, a folder, a symbolic link,
// dangling or not) is never opened, followed or replaced. Returns false, having touched
// nothing, when the name is taken. Throws Error `cannot_open_text` with the path and the
// reason when the file cannot be created, and an Error naming the cause for any later
// failure, after removing the file it created.
bool CreateNewFile(const std::string& path, std::string_view contents,
                   const std::string& cannot_open_text);

// The whole of a small file, or why it could not be had.
struct FileBytes {
    std::string bytes;
    std::string failure;         // the reason when the bytes were not read; empty otherwise
    bool missing = false;        // nothing at all is at the path
    std::uintmax_t over_limit{}; // the size, when the file holds more than the limit
};

// Reads the whole of the regular file `path`. A folder, a device or a pipe is refused with
// the reason (opening one never waits for a writer); a file larger than `limit` bytes is
// refused unread, and one that grows past it while being read is refused too (over_limit
// set, failure left for the caller to word).
FileBytes ReadWholeFile(const std::string& path, std::uintmax_t limit);

} // namespace tesslin
