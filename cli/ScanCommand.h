// `tesslin scan`: lists the video and subtitle files of a folder that have no partner.
#pragma once

#include "scan/PathList.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

#include <iosfwd>
#include <string>
#include <vector>

namespace tesslin {
struct ScanProgress;
}

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

// The options of `scan`, which `suggest` shares: -r, --video-ext, --sub-ext, --video-regex,
// --sub-regex, --settings, -0, --jobs, --help.
boost::program_options::options_description ScanOptions();

// Scans as `scan` does with the parsed options (ROOT given as "root"), the settings file
// giving the defaults; fills the two lists in name-key order. Skipped entries and the
// settings reader's messages go to `err`, and so does a progress line when `err` is a
// terminal's and the scan takes more than a second. Ctrl+C stops the scan: through
// `progress` when given (the caller then installs CancelOnInterrupt), else for the scan's
// duration. Returns kDone, kFailed with the reason on `err`, kUsageError or kInterrupted.
int ScanAsOptionsSay(const boost::program_options::variables_map& values, PathList& videos,
                     PathList& subtitles, std::ostream& err, ScanProgress* progress = nullptr);

} // namespace tesslin::cli
