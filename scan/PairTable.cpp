#include "scan/PairTable.h"

#include <algorithm>
#include <iterator>

namespace tesslin {

// Why folder by folder: every key below a sub-folder starts with the sub-folder's path and a
// separator, and no file name holds a separator, so in byte order the keys below a
// sub-folder form one unbroken run that sits among its parent's own keys exactly where the
// text "sub-folder path/" sorts. Sorting each folder's few items and splicing the runs gives
// the order of one big sort of all keys at a fraction of the comparisons. A folder's entries
// share their path up to the name, so that prefix is kept once and the comparisons inside
// one folder look at the names only; a library of hundreds of thousands of files then needs
// a third of the memory of whole paths in an ordered map.

void PairTable::Clear() {
    texts_.clear();
    prefixes_.clear();
    records_.clear();
    blocks_.clear();
    open_.assign(1, {});
}

void PairTable::OpenFolder() {
    open_.emplace_back();
}

void PairTable::CloseFolder(std::string_view path, std::size_t name_offset) {
    std::vector<Item> items = std::move(open_.back().items);
    open_.pop_back();
    std::vector<std::uint32_t> order = Order(items);
    const auto block = static_cast<std::uint32_t>(blocks_.size());
    blocks_.push_back({Store(path, name_offset, path.substr(name_offset), true), std::move(order)});
    open_.back().items.push_back({block, true});
}

void PairTable::CloseFolderElsewhere(std::string_view path, std::size_t name_offset,
                                     std::uint32_t other) {
    // A block like that of a closed sub-folder, whose one record stands for the other
    // table's whole run.
    const auto index = static_cast<std::uint32_t>(records_.size());
    records_.push_back({{}, other, FileKind::Other});
    const auto block = static_cast<std::uint32_t>(blocks_.size());
    blocks_.push_back({Store(path, name_offset, path.substr(name_offset), true), {index}});
    open_.back().items.push_back({block, true});
}

void PairTable::Enter(std::string_view path, std::size_t name_offset, std::size_t key_length,
                      FileKind kind) {
    Split key = Store(path, name_offset, path.substr(name_offset), false);
    const auto name_end = key.length;
    key.length = static_cast<std::uint32_t>(key_length - name_offset);
    const auto index = static_cast<std::uint32_t>(records_.size());
    records_.push_back({key, name_end, kind});
    open_.back().items.push_back({index, false});
}

PairTable::Split PairTable::Store(std::string_view path, std::size_t name_offset,
                                  std::string_view tail, bool slash) {
    const std::string_view prefix = path.substr(0, name_offset);
    // All entries of one folder carry the same prefix; look further only when it changes.
    std::uint32_t& id = open_.back().prefix;
    if (id == kNoPrefix || PrefixText(id) != prefix) {
        id = static_cast<std::uint32_t>(prefixes_.size());
        prefixes_.push_back({texts_.size(), static_cast<std::uint32_t>(prefix.size())});
        texts_.append(prefix);
    }
    const Split split{id, static_cast<std::uint32_t>(tail.size() + (slash ? 1 : 0)), texts_.size()};
    texts_.append(tail);
    if (slash) {
        texts_.push_back('/');
    }
    return split;
}

std::string_view PairTable::PrefixText(std::uint32_t prefix) const {
    return std::string_view(texts_).substr(prefixes_[prefix].offset, prefixes_[prefix].length);
}

std::string_view PairTable::TailText(const Split& s) const {
    return std::string_view(texts_).substr(s.offset, s.length);
}

int PairTable::Compare(const Split& a, const Split& b) const {
    // string_view compares bytes as unsigned values.
    if (a.prefix == b.prefix) {
        return TailText(a).compare(TailText(b));
    }
    // Texts under different prefixes meet only when files were entered outside a walk.
    std::string whole_a(PrefixText(a.prefix)), whole_b(PrefixText(b.prefix));
    whole_a += TailText(a);
    whole_b += TailText(b);
    return whole_a.compare(whole_b);
}

const PairTable::Split& PairTable::SortText(const Item& item) const {
    return item.is_block ? blocks_[item.index].text : records_[item.index].key;
}

std::vector<std::uint32_t> PairTable::Order(std::vector<Item>& items) {
    // Equal texts are files of one key, kept in walk order (their record numbers) so that
    // the later one of a kind wins; a sub-folder's text ends in a separator and equals none.
    std::sort(items.begin(), items.end(), [this](const Item& a, const Item& b) {
        const int c = Compare(SortText(a), SortText(b));
        return c != 0 ? c < 0 : a.index < b.index;
    });
    std::vector<std::uint32_t> order;
    for (const Item& item : items) {
        if (!item.is_block) {
            order.push_back(item.index);
            continue;
        }
        std::vector<std::uint32_t>& run = blocks_[item.index].records;
        if (order.empty()) {
            order.swap(run);
        } else {
            order.insert(order.end(), run.begin(), run.end());
        }
        run = {};
    }
    return order;
}

boost::filesystem::path PairTable::PathOf(const Record& r) const {
    std::string text(PrefixText(r.key.prefix));
    text += std::string_view(texts_).substr(r.key.offset, r.name_end);
    return boost::filesystem::path(std::move(text));
}

void PairTable::Extract(std::vector<boost::filesystem::path>& unmatched_videos,
                        std::vector<boost::filesystem::path>& unmatched_subtitles,
                        std::vector<Unmatched>* elsewhere) {
    const auto move_in = [](std::vector<boost::filesystem::path>& from,
                            std::vector<boost::filesystem::path>& to) {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
        from = {};
    };
    const std::vector<std::uint32_t> order = Order(open_.front().items);
    for (std::size_t first = 0; first < order.size();) {
        if (const Record& r = records_[order[first]]; r.kind == FileKind::Other) {
            Unmatched& other = (*elsewhere)[r.name_end];
            move_in(other.videos, unmatched_videos);
            move_in(other.subtitles, unmatched_subtitles);
            ++first;
            continue;
        }
        const Split& key = records_[order[first]].key;
        const Record* video = nullptr;
        const Record* subtitle = nullptr;
        std::size_t next = first;
        for (; next < order.size() && records_[order[next]].kind != FileKind::Other &&
               Compare(records_[order[next]].key, key) == 0;
             ++next) {
            const Record& r = records_[order[next]];
            (r.kind == FileKind::Video ? video : subtitle) = &r;
        }
        if (video && !subtitle) {
            unmatched_videos.push_back(PathOf(*video));
        } else if (subtitle && !video) {
            unmatched_subtitles.push_back(PathOf(*subtitle));
        }
        first = next;
    }
    Clear();
    texts_.shrink_to_fit();
    records_.shrink_to_fit();
}

} // namespace tesslin
