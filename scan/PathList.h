// A list of file paths kept compactly: the names back to back in large blocks, and the folder
// of a run of entries from one folder once. What a scan reports, from its end until the lists
// are written or shown, costs about the length of the names rather than one allocation per
// path.
#pragma once

#include <boost/filesystem/path.hpp>

#include <cstddef>
#include <cstdint>
#include <deque>
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

    std::string_view Folder(std::size_t i) const;
    std::string_view Name(std::size_t i) const;
    // The whole path of entry `i`, as text and as a path.
    std::string Text(std::size_t i) const;
    boost::filesystem::path Path(std::size_t i) const;

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
    std::deque<Span> folders_;
    std::deque<Entry> entries_;
};

} // namespace tesslin
