// One thread's walk of one folder tree (the scan engine's inside): lists each folder through
// the folder reader, asks the file system only about what the name and the listed type leave
// open, and enters the accepted files into its own pair table.
//
// The walk is depth first and keeps at most one system handle per level of open folders.
// When the system has no handle left, it gives up the upper levels' handles (reading the rest
// of such a folder into memory first) and opens them again by their path when it returns to
// them, so that a tree of any depth is walked whole under a low open-file limit.
//
// A sub-folder can be handed to another walk (a worker) instead of being entered: its files
// then come back into the result through PairTable::CloseFolderElsewhere, and what the worker
// had to skip at the same place in the skipped list.
#pragma once

#include "platform/FolderReader.h"
#include "scan/LanguageTagPartners.h"
#include "scan/MismatchScanner.h"
#include "scan/PairTable.h"
#include "scan/ScanProgress.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tesslin {

class TreeWalk {
public:
    // Decides whether a sub-folder is walked by someone else: true when it took `folder`
    // (open, not yet listed) at `path` as the walk numbered `*walk`.
    class HandOff {
    public:
        virtual ~HandOff() = default;
        virtual bool Take(const std::string& path, std::unique_ptr<ListedFolder>& folder,
                          std::uint32_t& walk) = 0;
        // The walk has no handle of its own left to give up and the system none to give:
        // waits a moment for the other walks to close some, and says whether trying again
        // makes sense (`attempt` counts the tries for this folder).
        virtual bool WaitForHandles(unsigned attempt) = 0;
    };

    // `rules` classifies and filters names; `stop` (may be null) ends the walk with
    // ScanCancelled, as does progress->cancel.
    TreeWalk(const CMismatchScanner& rules, const FolderReader& reader, ScanProgress* progress,
             const std::atomic<bool>* stop, HandOff* hand_off);

    // Walks the tree of `folder`, open at `path`. For the scan's root folder (`is_root`), a
    // listing that fails part-way fails the walk (boost::filesystem::filesystem_error); a
    // sub-folder that cannot be listed is skipped.
    void Run(std::string path, std::unique_ptr<ListedFolder> folder, bool is_root);

    PairTable table;
    std::vector<SkippedEntry> skipped; // in walk order
    // Where handed-off sub-folders' skipped entries belong: (index into `skipped`, walk).
    std::vector<std::pair<std::size_t, std::uint32_t>> handed_off;

private:
    // An entry that the walk still has to look at, read ahead when the folder's handle was
    // given up; its name is in Level::names.
    struct Pending {
        std::uint32_t name;
        std::uint32_t length;
        EntryType type;
        bool size_known;
        std::uintmax_t size;
    };
    struct Level {
        Level(std::string folder_path, std::unique_ptr<ListedFolder> open_folder)
            : path(std::move(folder_path)), folder(std::move(open_folder)) {}
        std::string path;
        std::unique_ptr<ListedFolder> folder; // null once given up
        bool read_ahead = false;              // the rest of the listing is in `pending`
        std::string names;
        std::vector<Pending> pending;
        std::size_t next = 0;
        boost::system::error_code read_error; // the listing stopped early
    };

    // The next entry of the innermost level, or false when the level is done.
    bool NextEntry(Level& level, ListedEntry& entry);
    // Handles one entry; true when it is a folder (not a link) to walk into.
    bool Visit(Level& level, const ListedEntry& entry);
    // The open folder of `level`, opened again by its path when it was given up; null when
    // that failed (the level is then skipped).
    ListedFolder* FolderOf(Level& level);
    void Descend(Level& level, std::string_view name);
    // Makes room for one more handle: gives up the handle of the outermost level that holds
    // one (not `keep`), or waits for other walks to close some; false when neither helps.
    bool MakeRoom(const Level* keep, unsigned& attempt);
    void ReadAhead(Level& level);
    void Enter(const Level& level, std::string_view name, FileKind kind);
    void Skip(const Level& level, std::string_view name, const boost::system::error_code& error);
    void Skip(const std::string& path, const boost::system::error_code& error);
    void Flush();
    void CheckStop();

    LanguageTagPartners partners_; // the table's, when language tags are kept
    const CMismatchScanner& rules_;
    const FolderReader& reader_;
    ScanProgress* progress_;
    const std::atomic<bool>* stop_;
    HandOff* hand_off_;
    bool is_root_ = false; // the walk's first level is the scan's root folder
    std::vector<Level> stack_;
    std::string scratch_;                                    // the path of the entry at hand
    std::uint64_t folders_ = 0, entries_ = 0, accepted_ = 0; // not yet added to progress_
};

} // namespace tesslin
