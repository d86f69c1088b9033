// `tesslin scan`: lists the video and subtitle files of a folder that have no partner.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tesslin::cli {

// Runs `scan` with the arguments that follow the command word. Every option defaults from
// the settings file ("TesslinGUI.ini" in the working directory, or --settings FILE), which
// is only read, never created or written; without the file the record's defaults apply.
// Writes one record per unmatched file to `out`: first the videos, then the subtitles, each
// in name-key order, as "video" or "subtitle", a tab and the path byte for byte, ended by a
// line feed (by a NUL byte with -0). Skipped entries and the settings reader's messages go
// to `err`. Returns kDone, kFailed (reason on `err`) or kUsageError.
int RunScan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text of `scan`, options included.
std::string ScanUsage();

} // namespace tesslin::cli
