#include "scan/MatchByFolder.h"

#include "platform/PathStatus.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tesslin {

namespace {

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

} // namespace

bool MatchFolderByFolder(const PathList& videos, const PathList& subtitles,
                         const MatchOptions& options,
                         const std::function<void(PairProposal&)>& on_proposal,
                         const std::function<void(std::size_t, const UnpairedFile&)>& on_unpaired,
                         FolderMatchProgress* progress) {
    struct Group {
        std::vector<std::uint32_t> files[2]; // into videos, subtitles; ascending
    };
    std::vector<Group> groups;
    const PathList* const lists[2] = {&videos, &subtitles};
    {
        std::unordered_map<std::string, std::uint32_t> ids;
        for (int k = 0; k < 2; ++k) {
            for (std::size_t i = 0; i < lists[k]->size(); ++i) {
                const auto id = ids.try_emplace(std::string(MatchFolder(lists[k]->Folder(i), k)),
                                                static_cast<std::uint32_t>(groups.size()))
                                    .first->second;
                if (id == groups.size()) {
                    groups.emplace_back();
                }
                groups[id].files[k].push_back(static_cast<std::uint32_t>(i));
            }
        }
    }
    const auto first_subtitle = [&](std::uint32_t g) {
        return groups[g].files[1].empty() ? UINT32_MAX : groups[g].files[1].front();
    };
    std::vector<std::uint32_t> order(groups.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return first_subtitle(a) < first_subtitle(b);
    });
    std::multimap<std::uint32_t, PairProposal> waiting; // by subtitle
    const auto emit_before = [&](std::uint32_t limit) {
        while (!waiting.empty() && waiting.begin()->first < limit) {
            on_proposal(waiting.begin()->second);
            waiting.erase(waiting.begin());
        }
    };
    if (progress) {
        progress->total = videos.size() + subtitles.size();
    }
    for (const std::uint32_t g : order) {
        if (progress && progress->stop) {
            return false;
        }
        emit_before(first_subtitle(g));
        const std::size_t files = groups[g].files[0].size() + groups[g].files[1].size();
        std::vector<boost::filesystem::path> paths[2];
        std::unordered_map<std::string, std::uint32_t> place[2];
        for (int k = 0; k < 2; ++k) {
            for (const std::uint32_t i : groups[g].files[k]) {
                paths[k].push_back(lists[k]->Path(i));
                place[k].emplace(paths[k].back().string(), i);
            }
        }
        groups[g] = {};
        Suggestions found = SuggestPairs(paths[0], paths[1], options);
        for (PairProposal& proposal : found.proposals) {
            waiting.emplace(place[1].at(proposal.subtitle.string()), std::move(proposal));
        }
        for (const UnpairedFile& file : found.unpaired) {
            const std::string text = file.path.string();
            if (const auto it = place[0].find(text); it != place[0].end()) {
                on_unpaired(it->second, file);
            } else {
                on_unpaired(videos.size() + place[1].at(text), file);
            }
        }
        if (progress) {
            progress->finished += files;
        }
    }
    emit_before(UINT32_MAX);
    return true;
}

} // namespace tesslin
