// The pair table of the scan engine: the accepted files by name key, settled folder by folder,
// and the files without a partner in ascending key order.
#pragma once

#include "scan/FileKind.h"
#include "scan/PathList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

class LanguageTagPartners;

// Files are entered in walk order, folder by folder as the walk opens and closes them. The
// result equals that of an ordered map from key to (video, subtitle) where a later file of
// one kind replaces the earlier one: for each key the last video and the last subtitle
// entered decide, and the keys come out in byte order (unsigned, a prefix first).
//
// A pair forms only inside one folder, so when a folder is closed its pairs are settled and
// forgotten: the table then holds the open folders' files and the unmatched files of the
// closed ones, nothing more.
class PairTable {
public:
    // With `partners` (may be null), a folder's subtitles that it names partners of a video
    // are settled as paired, and such videos with them.
    explicit PairTable(const LanguageTagPartners* partners = nullptr) : partners_(partners) {}

    // The walk enters a sub-folder: the files entered until the matching CloseFolder lie in
    // it or below it.
    void OpenFolder();
    // The walk leaves the sub-folder whose entry path is `path`; its name starts at
    // `name_offset`.
    void CloseFolder(std::string_view path, std::size_t name_offset);

    // The walk hands the sub-folder whose entry path is `path` (its name starting at
    // `name_offset`) to another walk with a table of its own, numbered `other`: that table's
    // unmatched files come in at the sub-folder's place when Extract meets them.
    void CloseFolderElsewhere(std::string_view path, std::size_t name_offset, std::uint32_t other);

    // Enters the file at `path` (Video or Subtitle), whose name starts at `name_offset`; the
    // key is the first `key_length` bytes of `path`.
    void Enter(std::string_view path, std::size_t name_offset, std::size_t key_length,
               FileKind kind);

    // The walk has ended: settles the first folder. Every opened folder must be closed.
    void Finish();

    // Appends the files of `kind` without a partner, in ascending key order, and forgets
    // them; `elsewhere` gives the tables of CloseFolderElsewhere (each finished). Called
    // once per kind after Finish.
    using Tables = std::function<PairTable&(std::uint32_t)>;
    void Extract(FileKind kind, PathList& out, const Tables& elsewhere = {});
    // How many files of `kind` Extract would give, with those of the tables handed off to.
    std::size_t Count(FileKind kind, const Tables& elsewhere = {}) const;

private:
    // A run of the unmatched files of one kind in key order: kept_[kind][begin, end), or all
    // of another table's when `other` is set.
    struct Segment {
        std::uint32_t begin;
        std::uint32_t end;
        std::uint32_t other;
    };
    using Segments = std::vector<Segment>;
    static constexpr std::uint32_t kOwn = UINT32_MAX;

    struct File {
        std::uint32_t name; // into Level::names
        std::uint32_t name_length;
        std::uint32_t key_length;
        FileKind kind;
    };
    // A closed sub-folder: sorted by its name and a separator, which starts every key below it.
    struct Block {
        std::string sort_text;
        Segments runs[2]; // videos, subtitles
    };
    // One thing to order inside a folder: a file or a closed sub-folder.
    struct Item {
        std::uint32_t index; // into Level::files or Level::blocks
        bool is_block;
    };
    struct Level {
        std::string prefix; // the folder's path and separator, as its files give it
        std::string names;
        std::vector<File> files; // in walk order
        std::vector<Block> blocks;
        std::vector<Item> items;
        void Clear();
    };

    // Orders the level's files and sub-folders and turns them into runs of unmatched files.
    void Settle(Level& level, Segments (&runs)[2]);
    std::string_view SortText(const Level& level, const Item& item) const;
    static std::string SortTextOf(std::string_view path, std::size_t name_offset);
    static void AddRun(Segments& runs, const Segment& run);

    const LanguageTagPartners* partners_;
    std::vector<Level> open_{1}; // open folders, innermost at depth_; kept for their memory
    std::size_t depth_ = 0;
    PathList kept_[2];   // unmatched files of settled folders, per kind
    Segments result_[2]; // after Finish: the order of the whole table's unmatched files
    // Reused by Settle.
    std::vector<std::uint32_t> unmatched_[2];
    std::vector<std::string_view> keys_[2];
    std::vector<bool> drop_[2];
};

} // namespace tesslin
