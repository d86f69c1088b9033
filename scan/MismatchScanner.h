// The scan engine: walks a root folder, picks out video and subtitle files by extension and
// optional name filter, pairs them by name key and yields the files left without a partner.
#pragma once

#include "platform/Error.h"
#include "platform/FolderReader.h"
#include "scan/FileKind.h"
#include "scan/PathList.h"
#include "scan/ScanProgress.h"

#include <boost/filesystem/path.hpp>
#include <boost/regex.hpp>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// The two files that share one name key; an empty path means none of that kind was met.
struct FilePair {
    boost::filesystem::path video;
    boost::filesystem::path subtitle;
};

// A sub-folder or entry the walk could not read; the scan went on without it.
struct SkippedEntry {
    boost::filesystem::path path;
    std::string reason; // the system's reason, e.g. "Permission denied"
};

// A scan stopped through ScanProgress::cancel before it completed.
class ScanCancelled : public Error {
public:
    ScanCancelled() : Error("The scan was cancelled.") {}
};

// Lives for one scan: construct, assign the eight options, call Scan once.
class CMismatchScanner {
public:
    // Options, copied from the settings record before the scan.
    std::string root_directory;
    std::vector<std::string> vid_ext;
    std::vector<std::string> sub_ext;
    std::string vid_regex;
    std::string sub_regex;
    bool use_vid_regex = false;
    bool use_sub_regex = false;
    bool is_recursive = false;
    // Not one of the settings file's: "Video.ko.smi" also counts as the partner of
    // "Video.mkv" (see LanguageTagPartners).
    bool keep_language_tag = false;

    // How the scan runs, not what it finds: the result is the same for every value.
    // Threads that walk sub-folders side by side; 1 walks the tree on the calling thread.
    unsigned jobs = 1;
    // Counts for a progress display and the cancel request; may be null.
    ScanProgress* progress = nullptr;
    // How folders are read: the platform's own reader, or the portable one.
    const FolderReader* folders = &SystemFolders();

    // Compiles the enabled filters, walks the root folder and appends the unmatched files to
    // the two lists in ascending name-key order (byte order).
    // Throws boost::regex_error for an invalid enabled pattern (before any folder is read),
    // boost::filesystem::filesystem_error when the root folder is empty text, missing, not a
    // folder or cannot be listed, also when its listing fails part-way; ScanCancelled when
    // progress->cancel was set; the lists then receive nothing. Unreadable sub-folders
    // and entries are skipped and listed in skipped().
    void Scan(PathList& unmatched_videos, PathList& unmatched_subtitles);
    // The same, into sequences of paths.
    void Scan(std::vector<boost::filesystem::path>& unmatched_videos,
              std::vector<boost::filesystem::path>& unmatched_subtitles);

    // Video when the extension (without its dot) equals an element of vid_ext exactly, else
    // Subtitle when it equals one of sub_ext, else Other. Boost's version-3 rules: ".avi"
    // is all extension.
    FileKind ClassifyExtension(const boost::filesystem::path& path) const;

    // True when the kind's filter admits `file_name` (regex_search); Other never passes.
    bool PassesFilter(const std::string& file_name, FileKind kind) const;

    // What the last Scan had to leave out, in walk order.
    const std::vector<SkippedEntry>& skipped() const { return skipped_; }

private:
    friend class TreeWalk;

    FileKind KindOfName(std::string_view file_name) const;
    bool Admits(std::string_view file_name, FileKind kind) const;
    // Walks the open root folder with `jobs` threads into the two sequences.
    void Walk(std::unique_ptr<ListedFolder> root, PathList& videos, PathList& subtitles);

    boost::regex video_filter;
    boost::regex subtitle_filter;
    std::vector<SkippedEntry> skipped_;
};

} // namespace tesslin
