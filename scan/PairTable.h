// The pair table of the scan engine: the accepted files by name key, and the extraction of
// the ones without a partner in ascending key order.
#pragma once

#include "scan/FileKind.h"

#include <boost/filesystem/path.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// Files are entered in walk order, folder by folder as the walk opens and closes them. The
// result equals that of an ordered map from key to (video, subtitle) where a later file of
// one kind replaces the earlier one: for each key the last video and the last subtitle
// entered decide, and the keys come out in byte order (unsigned, a prefix first).
class PairTable {
public:
    // Forgets every file and folder.
    void Clear();

    // The walk enters a sub-folder: the files entered until the matching CloseFolder lie in
    // it or below it.
    void OpenFolder();
    // The walk leaves the sub-folder whose entry path is `path`; its name starts at
    // `name_offset`.
    void CloseFolder(std::string_view path, std::size_t name_offset);

    // The walk hands the sub-folder whose entry path is `path` (its name starting at
    // `name_offset`) to another walk with a table of its own, numbered `other`: that table's
    // unmatched files come in at the sub-folder's place when Extract is given them.
    void CloseFolderElsewhere(std::string_view path, std::size_t name_offset, std::uint32_t other);

    // Enters the file at `path` (Video or Subtitle), whose name starts at `name_offset`; the
    // key is the first `key_length` bytes of `path`.
    void Enter(std::string_view path, std::size_t name_offset, std::size_t key_length,
               FileKind kind);

    // The unmatched files of one table, in ascending key order.
    struct Unmatched {
        std::vector<boost::filesystem::path> videos;
        std::vector<boost::filesystem::path> subtitles;
    };

    // Appends the files without a partner, in ascending key order. Every opened folder must
    // be closed. Where a sub-folder was closed elsewhere as `other`, `elsewhere[other]`
    // (that table's extraction) is moved in. Leaves the table empty.
    void Extract(std::vector<boost::filesystem::path>& unmatched_videos,
                 std::vector<boost::filesystem::path>& unmatched_subtitles,
                 std::vector<Unmatched>* elsewhere = nullptr);

private:
    // A text kept as a folder's path up to and including its separator (a prefix shared by
    // the folder's entries) and a tail stored in texts_.
    struct Split {
        std::uint32_t prefix; // into prefixes_
        std::uint32_t length; // of the tail
        std::size_t offset;   // of the tail in texts_
    };
    struct Record {
        Split key;              // the path up to its last dot
        std::uint32_t name_end; // tail length of the whole path; for kind Other, the table
                                // whose files stand here (CloseFolderElsewhere)
        FileKind kind;
    };
    // One thing to order inside a folder: an entered file, sorted by its key, or a closed
    // sub-folder, sorted by its path and a separator, which starts every key below it.
    struct Item {
        std::uint32_t index; // into records_, or into blocks_ for a sub-folder
        bool is_block;
    };
    struct Block {
        Split text;
        std::vector<std::uint32_t> records; // in key order
    };
    struct Prefix {
        std::size_t offset;
        std::uint32_t length;
    };
    struct Level {
        std::vector<Item> items;
        std::uint32_t prefix = kNoPrefix; // the prefix last used here
    };
    static constexpr std::uint32_t kNoPrefix = UINT32_MAX;

    // Stores `tail` (and a separator when `slash`) under the prefix path[0, name_offset).
    Split Store(std::string_view path, std::size_t name_offset, std::string_view tail, bool slash);
    std::string_view PrefixText(std::uint32_t prefix) const;
    std::string_view TailText(const Split& s) const;
    // Byte order of the two whole texts.
    int Compare(const Split& a, const Split& b) const;
    const Split& SortText(const Item& item) const;
    // Sorts one folder's items and lists the records below the folder in key order, files
    // sharing a key in walk order.
    std::vector<std::uint32_t> Order(std::vector<Item>& items);
    boost::filesystem::path PathOf(const Record& r) const;

    std::string texts_; // prefixes and tails, back to back
    std::vector<Prefix> prefixes_;
    std::vector<Record> records_; // in walk order
    std::vector<Block> blocks_;   // closed sub-folders
    std::vector<Level> open_{1};  // open folders, innermost last
};

} // namespace tesslin
