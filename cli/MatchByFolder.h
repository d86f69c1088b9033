// Runs the pair matcher over a scan's lists one folder at a time, since it pairs files only
// inside a folder and its subtitle folders: it then holds a few folders' names instead of the
// whole library's, and folders can be matched side by side.
#pragma once

#include "match/PairMatcher.h"
#include "scan/PathList.h"

#include <cstddef>
#include <functional>

namespace tesslin::cli {

// Matches `videos` with `subtitles` folder by folder on `jobs` threads (1: on the calling
// thread alone) and hands out, on the calling thread, what one matcher run over both lists
// gives in the same order: each proposal in the order of its subtitle, and each unpaired file
// with its place (the videos' places first, then the subtitles' after them). Whatever `jobs`
// is, the calls are the same. An error of the matcher reaches the caller once the threads
// have stopped.
void MatchByFolder(const PathList& videos, const PathList& subtitles, const MatchOptions& options,
                   unsigned jobs, const std::function<void(const PairProposal&)>& on_proposal,
                   const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired);

} // namespace tesslin::cli
