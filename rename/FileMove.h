// Renaming one file without ever replacing an existing file.
#pragma once

#include "platform/Error.h"

#include <string>
#include <utility>

namespace tesslin {

// A move that failed. what() names both files and the reason; reason() is the part after
// the names: the system's reason ("File exists", "Permission denied", ...), followed by
// what became of the names where that is not "unchanged".
class MoveFailed : public Error {
public:
    MoveFailed(const std::string& what, std::string reason)
        : Error(what), reason_(std::move(reason)) {}
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// Renames `from` to `to`. Never replaces an existing `to`: renameat2(RENAME_NOREPLACE);
// where the file system rejects that flag (EINVAL), link() then unlink(); if that fails too,
// the move fails. Afterwards the folder(s) are synced so the rename has reached the disk.
// Throws MoveFailed with the system's reason on failure; a failed move leaves both names as they
// were, except where the text says otherwise (the link fallback made the new name but could
// not remove the old one: both names then exist, nothing is lost).
// When `from` and `to` name the same file: the very same text is a successful no-op; another
// spelling of a file with one name (a case-only rename on a volume that ignores case) is
// renamed in two no-replace steps through a temporary name beside it; two hard links of one
// file fail with "File exists", as for any existing target. Works on any kind of entry that
// rename(2) moves, never copies: another file system fails with "Invalid cross-device link".
void MoveFileNoReplace(const std::string& from, const std::string& to);

} // namespace tesslin
