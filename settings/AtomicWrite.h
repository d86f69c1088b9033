// Replacing a file's whole contents so that a crash, a full disk or a failed close never
// leaves it half-written.
#pragma once

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

} // namespace tesslin
