// `tesslin suggest`: proposes renames that pair the unmatched files of a scan.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tesslin::cli {

// Runs `suggest [ROOT] [scan options] [--rename-video] [--keep-language-tag] [-0]` with the
// arguments that follow the command word. Scans as `scan` does (the same options and
// defaults), asks the pair matcher, and writes one record per proposed rename to `out`: the
// current path, a tab, the new path, a tab and the rule's name, ended by a line feed (a NUL
// byte with -0). Files the matcher left alone for a reason other than finding nothing are
// named on `err`. Folders are matched on the walk's number of threads (--jobs), the output
// the same for any number. Returns kDone when the scan completed, proposals or not; kFailed
// (reason on `err`) or kUsageError otherwise. Changes nothing on the disk.
int RunSuggest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text of `suggest`, options included.
std::string SuggestUsage();

} // namespace tesslin::cli
