#include "scan/MatchByFolder.h"

#include "platform/PathStatus.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <numeric>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tesslin {

namespace {

// At most so many folders a worker takes at once: enough that handing them over costs little
// against the matching, few enough that the results waiting to be handed out stay small. A
// few folders go one at a time, so that every worker has some.
constexpr std::size_t kLargestChunk = 32;
// How many chunks the workers may run ahead of the one being handed out, per worker.
constexpr std::size_t kAheadPerWorker = 4;

// The folder (path and separator) in which the matcher compares a file listed in `folder`.
std::string_view MatchFolder(std::string_view folder, bool subtitle) {
    if (!subtitle || folder.size() < 2) {
        return folder;
    }
    const std::string_view inner = folder.substr(0, folder.size() - 1);
    const std::size_t separator = inner.find_last_of(kPathSeparators);
    if (separator == std::string_view::npos || !IsSubtitleFolder(inner.substr(separator + 1))) {
        return folder;
    }
    return folder.substr(0, separator + 1);
}

// The files the matcher compares together.
struct Group {
    std::vector<std::uint32_t> files[2]; // into videos, subtitles; ascending
};

// What matching one group gave, with the places of its files in the scan's lists.
struct GroupResult {
    std::vector<std::pair<std::uint32_t, PairProposal>> proposals; // by subtitle
    std::vector<std::pair<std::size_t, UnpairedFile>> unpaired;    // by place
    std::exception_ptr error;
};

class FolderMatcher {
public:
    FolderMatcher(const PathList& videos, const PathList& subtitles, const MatchOptions& options,
                  FolderMatchProgress* progress)
        : lists_{&videos, &subtitles}, options_(options), progress_(progress) {
        if (progress_) {
            progress_->total = videos.size() + subtitles.size();
        }
        std::unordered_map<std::string, std::uint32_t> ids;
        for (int k = 0; k < 2; ++k) {
            // The lists run folder by folder: the last entry's folder gives most ids.
            std::string_view last_folder;
            std::uint32_t id = 0;
            for (std::size_t i = 0; i < lists_[k]->size(); ++i) {
                const std::string_view folder = lists_[k]->Folder(i);
                if (i == 0 || folder != last_folder) {
                    last_folder = folder;
                    id = ids.try_emplace(std::string(MatchFolder(folder, k)),
                                         static_cast<std::uint32_t>(groups_.size()))
                             .first->second;
                    if (id == groups_.size()) {
                        groups_.emplace_back();
                    }
                }
                groups_[id].files[k].push_back(static_cast<std::uint32_t>(i));
            }
        }
        first_subtitle_.reserve(groups_.size());
        for (const Group& group : groups_) {
            first_subtitle_.push_back(group.files[1].empty() ? UINT32_MAX : group.files[1].front());
        }
    }

    std::size_t size() const { return groups_.size(); }

    // The first subtitle of group `g`, in the subtitles' order; past the end for none.
    std::uint32_t FirstSubtitle(std::uint32_t g) const { return first_subtitle_[g]; }

    // Asked to stop before the next folder.
    bool Stopped() const { return progress_ && progress_->stop; }

    // Matches group `g` and forgets its files; groups may be matched on several threads, each
    // group on one.
    GroupResult Match(std::uint32_t g) {
        GroupResult result;
        try {
            std::vector<boost::filesystem::path> paths[2];
            const Group group = std::move(groups_[g]);
            groups_[g] = {};
            for (int k = 0; k < 2; ++k) {
                paths[k].reserve(group.files[k].size());
                for (const std::uint32_t i : group.files[k]) {
                    paths[k].push_back(lists_[k]->Path(i));
                }
            }
            Suggestions found = SuggestPairs(paths[0], paths[1], options_);
            if (progress_) {
                progress_->finished += paths[0].size() + paths[1].size();
            }
            // The matcher gives proposals in the order of their subtitles, and the unpaired
            // videos, then the unpaired subtitles, each in the order given: a cursor per list
            // finds each file's place.
            std::size_t cursor[2] = {0, 0};
            const auto find = [&](int k, const boost::filesystem::path& path) {
                while (cursor[k] < paths[k].size() &&
                       paths[k][cursor[k]].native() != path.native()) {
                    ++cursor[k];
                }
                return cursor[k];
            };
            for (PairProposal& proposal : found.proposals) {
                const std::uint32_t at = group.files[1].at(find(1, proposal.subtitle));
                result.proposals.emplace_back(at, std::move(proposal));
            }
            cursor[1] = 0;
            for (UnpairedFile& file : found.unpaired) {
                const std::size_t video = find(0, file.path);
                const std::size_t at =
                    video < paths[0].size()
                        ? group.files[0][video]
                        : lists_[0]->size() + group.files[1].at(find(1, file.path));
                result.unpaired.emplace_back(at, std::move(file));
            }
        } catch (...) {
            result.error = std::current_exception();
        }
        return result;
    }

private:
    const PathList* const lists_[2];
    const MatchOptions options_;
    FolderMatchProgress* const progress_;
    std::vector<Group> groups_;
    std::vector<std::uint32_t> first_subtitle_; // kept after a group's files are forgotten
};

// Hands out groups' results in the order of `order`: a group's proposals wait only while a
// group whose subtitles sort among them is still to come.
class InOrder {
public:
    InOrder(const FolderMatcher& matcher, const std::function<void(PairProposal&)>& on_proposal,
            const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired)
        : matcher_(matcher), on_proposal_(on_proposal), on_unpaired_(on_unpaired) {}

    void Take(std::uint32_t g, GroupResult& result) {
        if (result.error) {
            std::rethrow_exception(result.error);
        }
        EmitBefore(matcher_.FirstSubtitle(g));
        for (auto& [at, proposal] : result.proposals) {
            waiting_.emplace(at, std::move(proposal));
        }
        for (const auto& [at, file] : result.unpaired) {
            on_unpaired_(at, file);
        }
    }

    void Finish() { EmitBefore(UINT32_MAX); }

private:
    void EmitBefore(std::uint32_t limit) {
        while (!waiting_.empty() && waiting_.begin()->first < limit) {
            on_proposal_(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
        }
    }

    const FolderMatcher& matcher_;
    const std::function<void(PairProposal&)>& on_proposal_;
    const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired_;
    std::multimap<std::uint32_t, PairProposal> waiting_; // by subtitle
};

// Workers match chunks of `order` in turn, at most a few chunks ahead of the one the calling
// thread hands out, so that the results waiting stay few whatever the library's size. False
// when stopped before every folder was handed out.
bool MatchOnWorkers(FolderMatcher& matcher, const std::vector<std::uint32_t>& order, unsigned jobs,
                    InOrder& out) {
    const std::size_t ahead = kAheadPerWorker * jobs;
    const std::size_t size = std::clamp<std::size_t>(order.size() / ahead, 1, kLargestChunk);
    const std::size_t chunks = (order.size() + size - 1) / size;
    std::vector<std::vector<GroupResult>> done(chunks);
    std::vector<bool> ready(chunks, false);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;   // the next chunk a worker takes
    std::size_t handed = 0; // chunks handed out
    bool stopping = false;
    const auto work = [&] {
        for (;;) {
            std::size_t chunk = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock,
                             [&] { return stopping || next >= chunks || next < handed + ahead; });
                if (stopping || next >= chunks) {
                    return;
                }
                chunk = next++;
            }
            std::vector<GroupResult> results;
            const std::size_t end = std::min(order.size(), (chunk + 1) * size);
            for (std::size_t i = chunk * size; i < end && !matcher.Stopped(); ++i) {
                results.push_back(matcher.Match(order[i]));
            }
            {
                const std::lock_guard lock(mutex);
                done[chunk] = std::move(results);
                ready[chunk] = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> workers;
    // The workers stop, and are waited for, however the loop below ends.
    struct Stop {
        std::mutex& mutex;
        std::condition_variable& changed;
        bool& stopping;
        std::vector<std::thread>& workers;
        ~Stop() {
            {
                const std::lock_guard lock(mutex);
                stopping = true;
            }
            changed.notify_all();
            for (std::thread& worker : workers) {
                worker.join();
            }
        }
    } stop{mutex, changed, stopping, workers};
    for (unsigned w = 0; w < jobs; ++w) {
        workers.emplace_back(work);
    }
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        std::vector<GroupResult> results;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return bool(ready[chunk]); });
            results = std::move(done[chunk]);
            handed = chunk + 1;
        }
        changed.notify_all();
        const std::size_t first = chunk * size;
        for (std::size_t i = 0; i < results.size(); ++i) {
            if (matcher.Stopped()) {
                return false;
            }
            out.Take(order[first + i], results[i]);
        }
        if (results.size() < std::min(order.size(), first + size) - first) {
            return false; // cut short by a stop
        }
    }
    return true;
}

} // namespace

bool MatchFolderByFolder(const PathList& videos, const PathList& subtitles,
                         const MatchOptions& options,
                         const std::function<void(PairProposal&)>& on_proposal,
                         const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired,
                         FolderMatchProgress* progress, unsigned jobs) {
    FolderMatcher matcher(videos, subtitles, options, progress);
    // The groups in the order of their first subtitles, so that proposals can go out early.
    std::vector<std::uint32_t> order(matcher.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return matcher.FirstSubtitle(a) < matcher.FirstSubtitle(b);
    });
    InOrder out(matcher, on_proposal, on_unpaired);
    if (jobs <= 1 || order.size() <= 1) {
        for (const std::uint32_t g : order) {
            if (matcher.Stopped()) {
                return false;
            }
            GroupResult result = matcher.Match(g);
            out.Take(g, result);
        }
    } else if (!MatchOnWorkers(matcher, order, jobs, out)) {
        return false;
    }
    out.Finish();
    return true;
}

} // namespace tesslin
