// Walking one folder tree with several threads. The calling thread walks from the root; a
// sub-folder met while another thread is idle is handed to that thread whole, which lists it
// and everything below it with a walk and pair table of its own. The tables are joined at
// the end at the places where the sub-folders were handed off, so the result and the list
// of skipped entries are exactly those of one thread walking the whole tree.
#pragma once

#include "platform/FolderReader.h"
#include "scan/MismatchScanner.h"
#include "scan/PathList.h"
#include "scan/ScanProgress.h"

#include <memory>
#include <string>
#include <vector>

namespace tesslin {

// Walks the tree of `root` (open at `path`) with `jobs` threads (at least 2), appending the
// unmatched files to `videos` and `subtitles` and the skipped entries to `skipped`. Throws
// what a walk threw (the first error; the other threads stop).
void WalkWithWorkers(const CMismatchScanner& rules, const FolderReader& reader,
                     ScanProgress* progress, unsigned jobs, const std::string& path,
                     std::unique_ptr<ListedFolder> root, PathList& videos, PathList& subtitles,
                     std::vector<SkippedEntry>& skipped);

// The number of threads a scan uses unless told otherwise: the processor's cores, at most 4
// (beyond that the file system, not the processor, sets the pace).
unsigned DefaultScanJobs();

} // namespace tesslin
