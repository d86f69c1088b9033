// Pair suggestions for a scan's two lists, one matching folder at a time.
//
// The matcher pairs files only within a folder (a subtitle in a subtitle folder such as "Subs"
// or "자막" with the folder above it), so it is run on one such folder at a time: it then holds
// that folder's names, not the whole library's. The proposals come out in the order one matcher
// run over both whole lists gives them (by subtitle); a folder's proposals wait only while a
// folder whose subtitles sort among them is still to be matched. Folders can be matched side by
// side on several threads; the calls are the same. The command line streams them out; the
// window collects them for its preview.
#pragma once

#include "match/PairMatcher.h"
#include "scan/PathList.h"

#include <atomic>
#include <cstddef>
#include <functional>

namespace tesslin {

struct FolderMatchProgress {
    std::atomic<std::size_t> finished{0}; // files of the folders matched so far
    std::atomic<std::size_t> total{0};    // files in both lists
    // Set from any thread to stop before the next folder; what was proposed stays proposed.
    std::atomic<bool> stop{false};
};

// Calls `on_proposal` for each proposal, in the order above, and `on_unpaired` for each file
// the matcher left alone, with its place: an index into `videos`, or `videos.size()` plus an
// index into `subtitles` (within one folder in that order; across folders in folder order).
// Folders are matched on `jobs` threads (1: on the calling thread alone); the calls come on
// the calling thread, the same whatever `jobs` is. An error of the matcher reaches the caller
// once the threads have stopped. Returns false when stopped through `progress` before every
// folder was matched.
bool MatchFolderByFolder(const PathList& videos, const PathList& subtitles,
                         const MatchOptions& options,
                         const std::function<void(PairProposal&)>& on_proposal,
                         const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired,
                         FolderMatchProgress* progress = nullptr, unsigned jobs = 1);

} // namespace tesslin
