// Renaming one file without ever replacing an existing file.
#pragma once

#include <string>

namespace tesslin {

// Renames `from` to `to`. Never replaces an existing `to`: renameat2(RENAME_NOREPLACE);
// where the file system rejects that flag (EINVAL), link() then unlink(); if that fails too,
// the move fails. Afterwards the folder(s) are synced so the rename has reached the disk.
// Throws Error with the system's reason on failure.
void MoveFileNoReplace(const std::string& from, const std::string& to);

} // namespace tesslin
