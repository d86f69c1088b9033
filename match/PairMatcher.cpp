#include "match/PairMatcher.h"

#include "match/NameParts.h"
#include "platform/FolderReader.h"
#include "platform/PathStatus.h"

#include <boost/filesystem/operations.hpp>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tesslin {

namespace {

constexpr std::size_t kNone = SIZE_MAX;
// How many files a reason names; the rest are counted.
constexpr std::size_t kNamedInReason = 3;
// The longest file name the common file systems take, in bytes.
constexpr std::size_t kLongestName = 255;
// Video extensions looked for beside the ones given, when a folder is listed for the videos
// that already have a partner.
constexpr std::string_view kVideoExtensions[] = {
    "avi",  "mkv", "mp4", "wmv",  "m4v", "mov",  "ts",  "m2ts", "mts", "mpg", "mpeg",
    "webm", "flv", "ogm", "rmvb", "rm",  "divx", "3gp", "vob",  "asf", "wtv",
};

// A file of either list, read once.
struct File {
    const boost::filesystem::path* path;
    std::string_view text; // the whole path
    std::string_view name; // the file name
    std::string_view stem; // the file name up to its last dot
    std::size_t folder;    // the folder it is compared in
    bool in_subtitle_folder = false;
    // A video found in the folder's listing, not given: it has its partner already, so it
    // is never proposed, but it makes a subtitle that also fits another video ambiguous.
    bool partnered = false;
    // Whether `parts` holds the whole reading or only the keys (ReadNameKeys for a subtitle,
    // ReadNameWhole for a video): most subtitles are settled by the name or language rule,
    // which compare keys alone.
    bool read_fully = false;
    NameParts parts;
};

// The last separator of `path`, npos for none; find_last_of would search the separators once
// per byte.
std::size_t LastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i-- > 0;) {
        if (path[i] == '/' || (kPathSeparators.size() > 1 && path[i] == '\\')) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string_view FileName(std::string_view path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return lower;
}

// "N videos fit: a, b, c and 7 more": the first few names of `which` and the count of the
// rest, so that a reason stays one line however many fit.
std::string CountAndNames(const std::vector<std::size_t>& which, const std::vector<File>& files,
                          std::string_view kind) {
    std::string text = std::to_string(which.size()) + ' ' + std::string(kind) + " fit: ";
    for (std::size_t i = 0; i < which.size() && i < kNamedInReason; ++i) {
        text += i == 0 ? "" : ", ";
        text += files[which[i]].name;
    }
    if (which.size() > kNamedInReason) {
        text += " and " + std::to_string(which.size() - kNamedInReason) + " more";
    }
    return text;
}

// "Movie (2019)" and "Movie.2019.1080p": the same title, the years agreeing where both give
// one; a title that ends in the other's year agrees too ("Movie 2019" has no year of its own).
bool FilmTitlesAgree(const NameParts& a, const NameParts& b) {
    if (a.title.empty() || b.title.empty()) {
        return false;
    }
    if (a.title == b.title) {
        return a.year < 0 || b.year < 0 || a.year == b.year;
    }
    return (a.year < 0 && b.year >= 0 && a.title == b.title + std::to_string(b.year)) ||
           (b.year < 0 && a.year >= 0 && b.title == a.title + std::to_string(a.year));
}

bool NameTaken(const std::string& path) {
    return StatusOf(path, false).exists;
}

// Whether new names are taken, asked relative to their folder, held open while consecutive
// names share it: proposals come folder by folder, so the system walks a folder's path once
// rather than once per name. Where the folder cannot be opened, or the platform's reader
// queries by whole path anyway (Windows), the whole path is asked.
class NameProbe {
public:
    // Takes `open`, the folder `folder` listed already, for the names in it: matching a
    // folder at a time, its listing serves its new names too, and the folder is opened once.
    void Keep(std::string_view folder, std::unique_ptr<ListedFolder> open) {
        if (open) {
            folder_ = folder;
            tried_ = true;
            open_ = std::move(open);
        }
    }

    bool Taken(const std::string& path) {
#ifdef _WIN32
        return NameTaken(path);
#else
        const std::string_view folder = FolderOf(path);
        if (folder.empty()) {
            return NameTaken(path);
        }
        if (!tried_ || folder != folder_) {
            folder_ = folder;
            tried_ = true;
            boost::system::error_code error;
            open_ = SystemFolders().Open(folder_, true, error);
        }
        if (!open_) {
            return NameTaken(path);
        }
        EntryStatus status;
        return !open_->Query(std::string(FileName(path)).c_str(), false, status);
#endif
    }

private:
    std::string folder_;
    bool tried_ = false;
    std::unique_ptr<ListedFolder> open_;
};

class Matcher {
public:
    Matcher(const std::vector<boost::filesystem::path>& videos,
            const std::vector<boost::filesystem::path>& subtitles, const MatchOptions& options)
        : options_(options) {
        videos_.reserve(videos.size());
        subtitles_.reserve(subtitles.size());
        for (const auto& path : videos) {
            videos_.push_back(Read(path, false));
        }
        for (const auto& path : subtitles) {
            subtitles_.push_back(Read(path, true));
        }
        AddPartneredVideos();
        video_count_.assign(folder_ids_.size(), 0);
        subtitle_count_.assign(folder_ids_.size(), 0);
        folder_videos_.resize(folder_ids_.size());
        folder_indexed_.assign(folder_ids_.size(), false);
        for (std::size_t v = 0; v < videos_.size(); ++v) {
            const File& file = videos_[v];
            if (file.parts.extra) {
                continue; // a sample or trailer: no partner, and no video of the folder
            }
            ++video_count_[file.folder];
            by_name_[NameKey(file.folder, file.parts.whole)].push_back(v);
            folder_videos_[file.folder].push_back(v);
        }
        for (const File& file : subtitles_) {
            ++subtitle_count_[file.folder];
        }
    }

    Suggestions Run() {
        std::vector<std::size_t> choice(subtitles_.size(), kNone); // the video of each subtitle
        std::vector<std::string> reason(subtitles_.size());
        std::vector<const char*> rule(subtitles_.size(), "");
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            Choose(s, choice[s], rule[s], reason[s]);
        }
        std::vector<std::vector<std::size_t>> takers(videos_.size()); // subtitles per video
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            if (choice[s] != kNone) {
                takers[choice[s]].push_back(s);
            }
        }
        std::vector<std::string> video_reason(videos_.size());
        RefuseSharedVideos(takers, choice, reason, video_reason);

        // The new names, then the ones two proposals or an existing file would share.
        std::vector<std::string> new_name(subtitles_.size());
        // Keyed by views of `new_name`'s strings, which stay where they are from here on.
        std::unordered_map<std::string_view, std::size_t> name_uses;
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            if (choice[s] != kNone) {
                new_name[s] = NewName(videos_[choice[s]], subtitles_[s], reason[s]);
                if (new_name[s].empty()) {
                    video_reason[choice[s]] = reason[s];
                    choice[s] = kNone;
                } else {
                    ++name_uses[new_name[s]];
                }
            }
        }
        Suggestions result;
        std::vector<bool> video_paired(videos_.size(), false);
        std::vector<bool> subtitle_paired(subtitles_.size(), false);
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            if (choice[s] == kNone) {
                continue;
            }
            if (name_uses.at(new_name[s]) > 1) {
                reason[s] = "another file would take the same new name " + new_name[s];
            } else if (probe_.Taken(new_name[s])) {
                reason[s] = "the new name exists: " + new_name[s];
            } else {
                const File& video = videos_[choice[s]];
                const File& subtitle = subtitles_[s];
                result.proposals.push_back(
                    {*video.path, *subtitle.path,
                     std::string(options_.rename_sub_file ? subtitle.text : video.text),
                     new_name[s], rule[s]});
                video_paired[choice[s]] = subtitle_paired[s] = true;
                continue;
            }
            if (video_reason[choice[s]].empty()) {
                video_reason[choice[s]] = reason[s];
            }
        }
        for (std::size_t v = 0; v < videos_.size(); ++v) {
            if (!video_paired[v] && !videos_[v].partnered) {
                result.unpaired.push_back({*videos_[v].path, video_reason[v].empty()
                                                                 ? "no subtitle fits"
                                                                 : video_reason[v]});
            }
        }
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            if (!subtitle_paired[s]) {
                result.unpaired.push_back({*subtitles_[s].path, reason[s]});
            }
        }
        return result;
    }

private:
    // The videos of each subtitle's folder that were not given: they have their partner
    // already, and a subtitle that fits one of them as well as a given one is ambiguous.
    void AddPartneredVideos() {
        std::vector<std::string> extensions(std::begin(kVideoExtensions),
                                            std::end(kVideoExtensions));
        // The names of the given videos per folder, sorted: the listing below meets each
        // folder's names many times, and looks them up without building a key.
        std::vector<std::vector<std::string_view>> given(folder_ids_.size());
        for (const File& video : videos_) {
            given[video.folder].push_back(video.name);
            if (const std::size_t dot = video.name.rfind('.'); dot != std::string_view::npos) {
                std::string extension = Lower(video.name.substr(dot + 1));
                if (std::find(extensions.begin(), extensions.end(), extension) ==
                    extensions.end()) {
                    extensions.push_back(std::move(extension));
                }
            }
        }
        for (std::vector<std::string_view>& names : given) {
            std::sort(names.begin(), names.end());
        }
        const auto video_extension = [&extensions](std::string_view extension) {
            return std::any_of(extensions.begin(), extensions.end(), [&](const std::string& e) {
                return e.size() == extension.size() &&
                       std::equal(e.begin(), e.end(), extension.begin(), [](char a, char b) {
                           return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b);
                       });
            });
        };
        std::vector<bool> listed(folder_ids_.size(), false);
        for (std::size_t s = 0; s < subtitles_.size(); ++s) {
            const File& subtitle = subtitles_[s];
            if (listed[subtitle.folder]) {
                continue;
            }
            listed[subtitle.folder] = true;
            boost::filesystem::path folder = subtitle.path->parent_path();
            if (subtitle.in_subtitle_folder) {
                folder = folder.parent_path();
            }
            // The platform's listing gives each entry's type, so only a name whose type the
            // file system does not give costs a status query, and that one relative to the
            // folder: a library's folders hold mostly videos that have their partner.
            boost::system::error_code error;
            std::unique_ptr<ListedFolder> listing =
                SystemFolders().Open(folder.empty() ? "." : folder.string(), true, error);
            ListedEntry entry;
            const std::vector<std::string_view>& given_here = given[subtitle.folder];
            while (listing && listing->Next(entry, error)) {
                const std::string_view name = entry.name;
                const std::size_t dot = name.rfind('.');
                if (dot == std::string_view::npos || !video_extension(name.substr(dot + 1)) ||
                    std::binary_search(given_here.begin(), given_here.end(), name)) {
                    continue;
                }
                if (entry.type == EntryType::Unknown) {
                    EntryStatus status;
                    if (listing->Query(entry.name.data(), false, status)) {
                        continue;
                    }
                    entry.type = status.type;
                }
                if (entry.type != EntryType::File) {
                    continue;
                }
                File file = Read(listed_paths_.emplace_back(folder / std::string(name)), false);
                file.folder = subtitles_[s].folder;
                file.partnered = true;
                videos_.push_back(std::move(file));
            }
            const std::string_view folder_text = FolderOf(subtitle.text);
            probe_.Keep(subtitle.in_subtitle_folder ? FolderOf(folder_text) : folder_text,
                        std::move(listing));
        }
    }

    // The episode and title tables of a folder, made when its first subtitle needs them: a
    // folder whose subtitles the name or language rule settles never reads its videos' titles
    // and episodes. A folder's lists come out as over all videos at once (ascending).
    void IndexFolder(std::size_t folder) {
        std::vector<std::size_t>& videos = folder_videos_[folder];
        for (const std::size_t v : videos) {
            File& file = videos_[v];
            ReadFully(file);
            by_title_[NameKey(folder, file.parts.title)].push_back(v);
            if (file.parts.year >= 0) {
                by_title_[NameKey(folder, file.parts.title + std::to_string(file.parts.year))]
                    .push_back(v);
            }
            for (const int id : Identities(file.parts.episode)) {
                by_episode_[EpisodeKey(folder, id)].push_back(v);
                by_titled_episode_[TitledEpisodeKey(folder, id, file.parts.episode_title)]
                    .push_back(v);
            }
        }
        videos = {};
        folder_indexed_[folder] = true;
    }

    static void ReadFully(File& file) {
        if (!file.read_fully) {
            file.parts = ReadNameParts(file.stem);
            file.read_fully = true;
        }
    }

    File Read(const boost::filesystem::path& path, bool subtitle) {
        File file;
        file.path = &path;
        // The path's text as UTF-8, kept for the matcher's life: the path's own where it is
        // UTF-8 already, a converted copy on Windows.
#ifdef _WIN32
        const std::string_view text = texts_.emplace_back(path.string());
#else
        const std::string_view text = path.native();
#endif
        file.text = text;
        file.name = FileName(text);
        const std::size_t dot = file.name.rfind('.');
        file.stem = dot == std::string_view::npos ? file.name : file.name.substr(0, dot);
        std::string_view folder = FolderOf(text);
        if (subtitle && IsSubtitleFolder(FileName(folder)) &&
            folder.find_first_of(kPathSeparators) != std::string_view::npos) {
            folder = FolderOf(folder);
            file.in_subtitle_folder = true;
        }
        // Files come folder by folder: the last folder's id serves most of them.
        if (folder_ids_.empty() || folder != last_folder_) {
            last_folder_ = folder;
            last_folder_id_ =
                folder_ids_.try_emplace(last_folder_, folder_ids_.size()).first->second;
        }
        file.folder = last_folder_id_;
        // A video is looked up by its whole name until its folder's episodes are needed; a
        // subtitle by its tags as well.
        file.parts = subtitle ? ReadNameKeys(file.stem) : ReadNameWhole(file.stem);
        return file;
    }

    static std::string NameKey(std::size_t folder, const std::string& name) {
        std::string key(reinterpret_cast<const char*>(&folder), sizeof folder);
        return key += name;
    }

    static std::uint64_t EpisodeKey(std::size_t folder, int number) {
        return (std::uint64_t(folder) << 32) ^ std::uint32_t(number);
    }

    static std::string TitledEpisodeKey(std::size_t folder, int number, const std::string& title) {
        std::string key = NameKey(folder, title);
        key.append(reinterpret_cast<const char*>(&number), sizeof number);
        return key;
    }

    const std::vector<std::size_t>& VideosNamed(std::size_t folder, const std::string& name) const {
        static const std::vector<std::size_t> none;
        const auto it = by_name_.find(NameKey(folder, name));
        return it == by_name_.end() ? none : it->second;
    }

    // The episode's title agrees: the same words, or none on a side whose episode is marked
    // ("E02.srt" beside "Show.S01E02.mkv"). Two series in one folder thus never cross. A
    // year or country tag on one side only is no disagreement; two different ones are.
    static bool TitlesAgree(const NameParts& a, const NameParts& b) {
        if ((a.year >= 0 && b.year >= 0 && a.year != b.year) ||
            (!a.country.empty() && !b.country.empty() && a.country != b.country)) {
            return false;
        }
        if (a.episode_title.empty() || b.episode_title.empty()) {
            return (a.episode_title.empty() && a.episode.marked) ||
                   (b.episode_title.empty() && b.episode.marked);
        }
        return a.episode_title == b.episode_title;
    }

    // The videos found in several lists once each, in the order given.
    static std::vector<std::size_t>& Distinct(std::vector<std::size_t>& found) {
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

    // The numbers an episode is looked up by: its number, its broadcast date, its part, and
    // the season and number run together ("101" of S01E01) or taken apart.
    static std::vector<int> Identities(const Episode& episode) {
        std::vector<int> ids;
        if (episode.number >= 0) {
            ids.push_back(episode.number);
            if (episode.season >= 0) {
                ids.push_back(episode.season * 100 + episode.number);
            }
            if (episode.packable) {
                ids.push_back(episode.number % 100);
            }
        }
        if (episode.date >= 0) {
            ids.push_back(episode.date);
        }
        if (episode.part >= 0 && episode.number < 0 && episode.date < 0) {
            ids.push_back(-2 - episode.part);
        }
        return ids;
    }

    // Every video of the subtitle's folder whose episode and title agree with the
    // subtitle's; subtitles that read alike share one search.
    const std::vector<std::size_t>& VideosOfEpisode(const File& subtitle) {
        static const std::vector<std::size_t> none;
        const NameParts& parts = subtitle.parts;
        const Episode& episode = parts.episode;
        if (!episode.Known()) {
            return none;
        }
        std::string key = TitledEpisodeKey(subtitle.folder, episode.number, parts.episode_title);
        for (const int field :
             {episode.season, episode.last, episode.date, episode.part, parts.year,
              int(episode.special), int(episode.packable), int(episode.marked)}) {
            key.append(reinterpret_cast<const char*>(&field), sizeof field);
        }
        key += parts.country;
        const auto [known, added] = episode_searches_.try_emplace(key);
        if (!added) {
            return known->second;
        }
        // A subtitle with a title looks among the videos of its title and those without one;
        // in a folder of many series that spares comparing it with every series' episode.
        std::vector<const std::vector<std::size_t>*> lists;
        const auto add = [&lists](const auto& map, const auto& map_key) {
            if (const auto it = map.find(map_key); it != map.end()) {
                lists.push_back(&it->second);
            }
        };
        const std::string& title = parts.episode_title;
        for (const int id : Identities(episode)) {
            if (title.empty()) {
                add(by_episode_, EpisodeKey(subtitle.folder, id));
            } else {
                add(by_titled_episode_, TitledEpisodeKey(subtitle.folder, id, title));
                add(by_titled_episode_, TitledEpisodeKey(subtitle.folder, id, {}));
            }
        }
        std::vector<std::size_t>& found = known->second;
        // A name without a season stands for season 1, but not beside the same episode of
        // another season: "Show 05" in a folder of seasons 1 and 2 fits both.
        std::vector<std::size_t> other_season;
        for (const std::vector<std::size_t>* list : lists) {
            for (const std::size_t v : *list) {
                const File& video = videos_[v];
                if (!TitlesAgree(video.parts, parts)) {
                    continue;
                }
                if (SameEpisode(video.parts.episode, episode)) {
                    found.push_back(v);
                } else if (episode.season < 0 && video.parts.episode.season > 1) {
                    Episode first_season = video.parts.episode;
                    first_season.season = 1;
                    if (SameEpisode(first_season, episode)) {
                        other_season.push_back(v);
                    }
                }
            }
        }
        if (!found.empty()) {
            found.insert(found.end(), other_season.begin(), other_season.end());
        }
        return Distinct(found);
    }

    // The videos whose title agrees once release tags are dropped ("Movie.2019.1080p.BluRay"
    // and "Movie (2019)"), neither name giving an episode, date or part the other does not.
    // When each kind has one file in the folder (every video counted, with a partner or
    // without), a year on one side only will do; else both must give the same year, which
    // tells two films of one name apart.
    const std::vector<std::size_t>& VideosOfTitle(const File& subtitle) {
        static const std::vector<std::size_t> none;
        const NameParts& parts = subtitle.parts;
        const bool alone =
            video_count_[subtitle.folder] == 1 && subtitle_count_[subtitle.folder] == 1;
        if (parts.title.empty() || parts.conflicting_episodes || (!alone && parts.year < 0)) {
            return none;
        }
        const std::string year = parts.year < 0 ? "" : std::to_string(parts.year);
        std::string key = NameKey(subtitle.folder, parts.title) + '\0' + year;
        key += alone ? "\1" : "\2";
        const Episode& episode = parts.episode;
        for (const int field : {episode.season, episode.number, episode.last, episode.date,
                                episode.part, int(episode.special), int(episode.packable)}) {
            key.append(reinterpret_cast<const char*>(&field), sizeof field);
        }
        const auto [known, added] = title_searches_.try_emplace(key);
        if (!added) {
            return known->second;
        }
        std::vector<std::size_t>& found = known->second;
        for (const std::string& title : {parts.title, parts.title + year}) {
            const auto list = by_title_.find(NameKey(subtitle.folder, title));
            if (list == by_title_.end()) {
                continue;
            }
            for (const std::size_t v : list->second) {
                const NameParts& video = videos_[v].parts;
                const bool same_episode = (!video.episode.Known() && !parts.episode.Known()) ||
                                          SameEpisode(video.episode, parts.episode);
                if ((alone || video.year == parts.year) && FilmTitlesAgree(video, parts) &&
                    same_episode && !video.conflicting_episodes) {
                    found.push_back(v);
                }
            }
            if (year.empty()) {
                break;
            }
        }
        return Distinct(found);
    }

    void Choose(std::size_t s, std::size_t& choice, const char*& rule, std::string& reason) {
        File& subtitle = subtitles_[s];
        const NameParts& parts = subtitle.parts;
        if (parts.extra) {
            reason = "a sample, trailer or companion file";
            return;
        }
        // The candidates are shared lists, never copied: a thousand subtitles that fit the
        // same thousand videos stay a linear run.
        const std::vector<std::size_t>* candidates = &VideosNamed(subtitle.folder, parts.whole);
        rule = "name";
        if (candidates->empty() && !parts.tag.empty()) {
            candidates = &VideosNamed(subtitle.folder, parts.untagged);
            rule = "language";
        }
        if (candidates->empty()) {
            ReadFully(subtitle);
            if (!folder_indexed_[subtitle.folder]) {
                IndexFolder(subtitle.folder);
            }
        }
        if (candidates->empty() && !parts.conflicting_episodes) {
            candidates = &VideosOfEpisode(subtitle);
            rule = "episode";
        }
        if (candidates->empty()) {
            candidates = &VideosOfTitle(subtitle);
            rule = "title";
        }
        const std::vector<std::size_t>& found = *candidates;
        if (found.size() == 1 && videos_[found.front()].partnered) {
            reason = "its video has a subtitle already: " + std::string(videos_[found[0]].name);
            return;
        }
        if (found.size() == 1) {
            choice = found.front();
            return;
        }
        if (found.empty()) {
            reason = parts.conflicting_episodes ? "the name gives two different episodes"
                                                : "no video fits";
            return;
        }
        reason = CountAndNames(found, videos_, "videos");
    }

    // One video, several subtitles: fine for the same name in several languages
    // ("Movie.ko.smi", "Movie.en.srt"); anything else is ambiguous. A video takes one name
    // only, so when the video is the one renamed, one subtitle is all it may have.
    void RefuseSharedVideos(const std::vector<std::vector<std::size_t>>& takers,
                            std::vector<std::size_t>& choice, std::vector<std::string>& reason,
                            std::vector<std::string>& video_reason) const {
        for (std::size_t v = 0; v < takers.size(); ++v) {
            const std::vector<std::size_t>& subs = takers[v];
            if (subs.size() < 2) {
                continue;
            }
            bool same = options_.rename_sub_file;
            for (const std::size_t s : subs) {
                same = same && subtitles_[s].parts.untagged == subtitles_[subs[0]].parts.untagged;
            }
            if (same) {
                continue;
            }
            video_reason[v] = CountAndNames(subs, subtitles_, "subtitles");
            for (const std::size_t s : subs) {
                choice[s] = kNone;
                reason[s] =
                    std::to_string(subs.size()) + " subtitles fit " + std::string(videos_[v].name);
            }
        }
    }

    // The new full name by the rename rules; empty, with the reason, when there is none.
    std::string NewName(const File& video, const File& subtitle, std::string& reason) const {
        const std::string_view video_path = video.text;
        const std::string_view subtitle_path = subtitle.text;
        const std::size_t video_dot = video_path.size() - (video.name.size() - video.stem.size());
        const std::size_t subtitle_dot =
            subtitle_path.size() - (subtitle.name.size() - subtitle.stem.size());
        if (video.stem.size() == video.name.size() ||
            subtitle.stem.size() == subtitle.name.size()) {
            reason = "a file name without an extension";
            return {};
        }
        std::string name;
        std::size_t name_start = 0; // where the new file name starts in `name`
        if (options_.rename_sub_file) {
            name = video_path.substr(0, video_dot);
            if (options_.keep_language_tag && !subtitle.parts.tag.empty()) {
                name += '.';
                name += subtitle.parts.tag;
            }
            name.append(subtitle_path.substr(subtitle_dot));
            name_start = video_path.size() - video.name.size();
        } else if (subtitle.in_subtitle_folder) {
            // The video would move into the subtitles' folder, away from its own.
            reason = "the subtitle lies in a sub-folder for subtitles; only the subtitle moves";
            return {};
        } else {
            // A language tag names the subtitle's language, never the video's: the video takes
            // the subtitle's name without it ("Film.2003.2160p.mkv" and "film.2003.ko.smi"
            // make "film.2003.mkv", which players pair with the subtitle as it is).
            const std::size_t stem_end =
                subtitle_dot - subtitle.stem.size() + subtitle.parts.untagged_length;
            name =
                std::string(subtitle_path.substr(0, stem_end)).append(video_path.substr(video_dot));
            name_start = subtitle_path.size() - subtitle.name.size();
        }
        if (name.size() - name_start > kLongestName) {
            std::size_t shown = name_start + 40; // a whole character's bytes only
            while ((static_cast<unsigned char>(name[shown]) & 0xC0) == 0x80) {
                --shown;
            }
            reason = "the new name would be longer than " + std::to_string(kLongestName) +
                     " bytes: " + name.substr(name_start, shown - name_start) + "...";
            return {};
        }
        return name;
    }

    const MatchOptions options_;
    std::deque<std::string> texts_; // the paths as UTF-8 on Windows; a deque never moves them
    std::vector<File> videos_;
    std::vector<File> subtitles_;
    std::unordered_map<std::string, std::size_t> folder_ids_;
    std::string last_folder_;
    std::size_t last_folder_id_ = 0;
    std::vector<std::size_t> video_count_;
    std::vector<std::size_t> subtitle_count_;
    std::vector<std::vector<std::size_t>> folder_videos_; // until the folder is indexed
    std::vector<bool> folder_indexed_;
    std::unordered_map<std::string, std::vector<std::size_t>> by_name_;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> by_episode_;
    std::unordered_map<std::string, std::vector<std::size_t>> by_titled_episode_;
    // The videos found for each kind of subtitle, so that a thousand subtitles that read
    // alike cost one search.
    std::unordered_map<std::string, std::vector<std::size_t>> episode_searches_;
    std::unordered_map<std::string, std::vector<std::size_t>> by_title_;
    std::unordered_map<std::string, std::vector<std::size_t>> title_searches_;
    std::deque<boost::filesystem::path> listed_paths_; // the partnered videos' paths
    NameProbe probe_;
};

} // namespace

bool IsSubtitleFolder(std::string_view name) {
    const std::string lower = Lower(name);
    return lower == "subs" || lower == "sub" || lower == "subtitles" || lower == "subtitle" ||
           lower == "자막";
}

Suggestions SuggestPairs(const std::vector<boost::filesystem::path>& videos,
                         const std::vector<boost::filesystem::path>& subtitles,
                         const MatchOptions& options) {
    return Matcher(videos, subtitles, options).Run();
}

} // namespace tesslin
