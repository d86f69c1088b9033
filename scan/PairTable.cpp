#include "scan/PairTable.h"

#include <algorithm>

namespace tesslin {

// Why folder by folder: every key below a sub-folder starts with the sub-folder's path and a
// separator, and no file name holds a separator, so in byte order the keys below a
// sub-folder form one unbroken run that sits among its parent's own keys exactly where the
// text "sub-folder path/" sorts. Sorting each folder's few items and splicing the runs gives
// the order of one big sort of all keys at a fraction of the comparisons (those of a large
// library share long folder prefixes), and without a node per file as in an ordered map.

void PairTable::Clear() {
    texts_.clear();
    records_.clear();
    open_.assign(1, {});
    blocks_.clear();
}

void PairTable::OpenFolder() {
    open_.emplace_back();
}

void PairTable::CloseFolder(std::string_view folder) {
    std::vector<Item> items = std::move(open_.back());
    open_.pop_back();
    const auto block = static_cast<std::uint32_t>(blocks_.size());
    blocks_.push_back(Order(items));
    const std::size_t offset = texts_.size();
    texts_.append(folder);
    texts_.push_back('/');
    open_.back().push_back({offset, static_cast<std::uint32_t>(folder.size() + 1), block, true});
}

void PairTable::Enter(std::string_view path, std::size_t key_length, FileKind kind) {
    const std::size_t offset = texts_.size();
    texts_.append(path);
    const auto index = static_cast<std::uint32_t>(records_.size());
    records_.push_back({offset, static_cast<std::uint32_t>(path.size()),
                        static_cast<std::uint32_t>(key_length), kind});
    open_.back().push_back({offset, static_cast<std::uint32_t>(key_length), index, false});
}

std::string_view PairTable::Text(std::size_t offset, std::uint32_t length) const {
    return std::string_view(texts_).substr(offset, length);
}

std::vector<std::uint32_t> PairTable::Order(std::vector<Item>& items) {
    // string_view compares bytes as unsigned values. Equal texts are files of one key, kept
    // in walk order (their record numbers) so that the later one of a kind wins.
    std::sort(items.begin(), items.end(), [this](const Item& a, const Item& b) {
        const int c = Text(a.offset, a.length).compare(Text(b.offset, b.length));
        return c != 0 ? c < 0 : a.index < b.index;
    });
    std::vector<std::uint32_t> order;
    for (const Item& item : items) {
        if (!item.is_block) {
            order.push_back(item.index);
            continue;
        }
        std::vector<std::uint32_t>& run = blocks_[item.index];
        if (order.empty()) {
            order.swap(run);
        } else {
            order.insert(order.end(), run.begin(), run.end());
        }
        run = {};
    }
    return order;
}

void PairTable::Extract(std::vector<boost::filesystem::path>& unmatched_videos,
                        std::vector<boost::filesystem::path>& unmatched_subtitles) {
    const std::vector<std::uint32_t> order = Order(open_.front());
    const auto path = [this](const Record* r) {
        return boost::filesystem::path(std::string(Text(r->offset, r->length)));
    };
    for (std::size_t first = 0; first < order.size();) {
        const std::string_view key = Key(records_[order[first]]);
        const Record* video = nullptr;
        const Record* subtitle = nullptr;
        std::size_t next = first;
        for (; next < order.size() && Key(records_[order[next]]) == key; ++next) {
            const Record& r = records_[order[next]];
            (r.kind == FileKind::Video ? video : subtitle) = &r;
        }
        if (video && !subtitle) {
            unmatched_videos.push_back(path(video));
        } else if (subtitle && !video) {
            unmatched_subtitles.push_back(path(subtitle));
        }
        first = next;
    }
    Clear();
    texts_.shrink_to_fit();
    records_.shrink_to_fit();
}

} // namespace tesslin
