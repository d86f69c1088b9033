// `tesslin apply`: carries out renames read as records, as `tesslin suggest` writes them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tesslin::cli {

// Runs `apply [FILE] [-0]` with the arguments that follow the command word. Reads records
// from FILE or `in`: the current path, a tab, the new path and optionally a tab and a rule,
// ended by a line feed (a NUL byte with -0). Renames each in order with the move that never
// replaces, printing "OLD -> NEW" to `out` for each one done; each failure (a malformed
// record, a refused or failed rename) goes to `err` with its reason and the rest go on.
// Returns kDone when every record was renamed, kFailed when any was not (or FILE cannot be
// read), kUsageError for a usage error.
int RunApply(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);

// The usage text of `apply`, options included.
std::string ApplyUsage();

} // namespace tesslin::cli
