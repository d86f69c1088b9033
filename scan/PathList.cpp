#include "scan/PathList.h"

#include <algorithm>

namespace tesslin {

namespace {

// Blocks grow with the list up to a size where their own bookkeeping is negligible, so that a
// short list stays small. A block is never enlarged, so a text's place in it never moves.
constexpr std::size_t kSmallestBlock = 256;
constexpr std::size_t kLargestBlock = 64 * 1024;

} // namespace

PathList::Span PathList::Store(std::string_view text) {
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < text.size()) {
        blocks_.emplace_back().reserve(
            std::max(std::clamp(stored_, kSmallestBlock, kLargestBlock), text.size()));
    }
    std::string& block = blocks_.back();
    const Span span{static_cast<std::uint32_t>(blocks_.size() - 1),
                    static_cast<std::uint32_t>(block.size()),
                    static_cast<std::uint32_t>(text.size())};
    block.append(text);
    stored_ += text.size();
    return span;
}

std::string_view PathList::TextOf(const Span& span) const {
    return std::string_view(blocks_[span.block]).substr(span.offset, span.length);
}

void PathList::Add(std::string_view folder, std::string_view name) {
    // Entries come folder by folder, so comparing with the last folder finds nearly all repeats.
    if (folders_.empty() || TextOf(folders_.back()) != folder) {
        folders_.push_back(Store(folder));
    }
    entries_.push_back({static_cast<std::uint32_t>(folders_.size() - 1), Store(name)});
}

void PathList::Append(const PathList& from, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
        Add(from.Folder(i), from.Name(i));
    }
}

void PathList::MoveTexts(PathList& from) {
    const auto blocks = static_cast<std::uint32_t>(blocks_.size());
    const auto folders = static_cast<std::uint32_t>(folders_.size());
    for (std::string& block : from.blocks_) {
        stored_ += block.size();
        blocks_.push_back(std::move(block));
    }
    for (Span folder : from.folders_) {
        folder.block += blocks;
        folders_.push_back(folder);
    }
    // From here on `from`'s entries point into this list.
    for (Entry& entry : from.entries_) {
        entry.folder += folders;
        entry.name.block += blocks;
    }
    from.blocks_ = {};
    from.folders_ = {};
    from.stored_ = 0;
}

void PathList::AddMoved(const PathList& from, std::size_t begin, std::size_t end) {
    entries_.insert(entries_.end(), from.entries_.begin() + static_cast<std::ptrdiff_t>(begin),
                    from.entries_.begin() + static_cast<std::ptrdiff_t>(end));
}

std::string_view PathList::Folder(std::size_t i) const {
    return TextOf(folders_[entries_[i].folder]);
}

std::string_view PathList::Name(std::size_t i) const {
    return TextOf(entries_[i].name);
}

std::string PathList::Text(std::size_t i) const {
    std::string text(Folder(i));
    text.append(Name(i));
    return text;
}

boost::filesystem::path PathList::Path(std::size_t i) const {
    return boost::filesystem::path(Text(i));
}

void PathList::Erase(std::size_t i) {
    // Its texts stay until the list is cleared: removals are single rows a user renamed.
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
}

void PathList::Clear() {
    blocks_ = {};
    stored_ = 0;
    folders_ = {};
    entries_ = {};
}

} // namespace tesslin
