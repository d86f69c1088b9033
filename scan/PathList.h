// A list of file paths kept compactly: the names back to back in large blocks, and the folder
// of a run of entries from one folder once. What a scan reports, from its end until the lists
// are written or shown, costs about the length of the names rather than one allocation per
// path.
#pragma once

#include <boost/filesystem/path.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

class PathList {
public:
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Adds the path `folder` + `name`; `folder` ends in a separator (or is empty).
    void Add(std::string_view folder, std::string_view name);
    // Adds the entries [begin, end) of `from`.
    void Append(const PathList& from, std::size_t begin, std::size_t end);
    // Makes room for `count` more entries.
    void Reserve(std::size_t count) { entries_.reserve(entries_.size() + count); }

    // Moves the texts of `from` into this list without copying them; after that, `from`
    // serves only AddMoved (its entries, in any order and number) and Clear.
    void MoveTexts(PathList& from);
    void AddMoved(const PathList& from, std::size_t begin, std::size_t end);

    std::string_view Folder(std::size_t i) const;
    std::string_view Name(std::size_t i) const;
    // The whole path of entry `i`, as text and as a path.
    std::string Text(std::size_t i) const;
    boost::filesystem::path Path(std::size_t i) const;

    // Removes entry `i`; the later ones move up.
    void Erase(std::size_t i);

    // Forgets every entry and returns the memory.
    void Clear();

private:
    struct Span {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };
    struct Entry {
        std::uint32_t folder; // into folders_
        Span name;
    };

    Span Store(std::string_view text);
    std::string_view TextOf(const Span& span) const;

    std::vector<std::string> blocks_; // each filled up to its reserved size, never moved
    std::size_t stored_ = 0;          // bytes in blocks_
    std::vector<Span> folders_;
    std::vector<Entry> entries_;
};

} // namespace tesslin
