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
    // The walk leaves the sub-folder whose entry path is `folder` (as the walk built it).
    void CloseFolder(std::string_view folder);

    // Enters the file at `path` with its kind (Video or Subtitle); the key is the first
    // `key_length` bytes of `path`.
    void Enter(std::string_view path, std::size_t key_length, FileKind kind);

    // Appends the files without a partner, in ascending key order. Every opened folder must
    // be closed. Leaves the table empty.
    void Extract(std::vector<boost::filesystem::path>& unmatched_videos,
                 std::vector<boost::filesystem::path>& unmatched_subtitles);

private:
    struct Record {
        std::size_t offset; // of the path in texts_
        std::uint32_t length;
        std::uint32_t key_length;
        FileKind kind;
    };
    // One thing to order inside a folder: an entered file (sorted by its key) or a closed
    // sub-folder (sorted by its path and a separator, which starts every key below it).
    struct Item {
        std::size_t offset; // of the sort text in texts_
        std::uint32_t length;
        std::uint32_t index; // record, or block for a sub-folder
        bool is_block;
    };

    // Sorts one folder's items and lists the records below the folder in key order, files
    // sharing a key in walk order.
    std::vector<std::uint32_t> Order(std::vector<Item>& items);
    std::string_view Text(std::size_t offset, std::uint32_t length) const;
    std::string_view Key(const Record& r) const { return Text(r.offset, r.key_length); }

    std::string texts_; // accepted paths and folder sort texts, back to back
    std::vector<Record> records_;
    std::vector<std::vector<Item>> open_{1};         // items of each open folder, innermost last
    std::vector<std::vector<std::uint32_t>> blocks_; // ordered records of closed sub-folders
};

} // namespace tesslin
