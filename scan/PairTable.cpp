#include "scan/PairTable.h"

#include "scan/LanguageTagPartners.h"

#include <algorithm>

namespace tesslin {

// Why folder by folder: every key below a sub-folder starts with the sub-folder's path and a
// separator, and no file name holds a separator, so in byte order the keys below a
// sub-folder form one unbroken run that sits among its parent's own keys exactly where the
// text "sub-folder name/" sorts. Sorting each folder's few items and splicing the runs gives
// the order of one big sort of all keys at a fraction of the comparisons, and since a pair
// forms inside one folder, a closed folder's pairs are settled for good: only its unmatched
// files are kept, once, and the runs that order them are a few numbers per folder.

void PairTable::Level::Clear() {
    prefix.clear();
    names.clear();
    files.clear();
    blocks.clear();
    items.clear();
}

// A closed sub-folder's place among its parent's keys.
std::string PairTable::SortTextOf(std::string_view path, std::size_t name_offset) {
    return std::string(path.substr(name_offset)) + '/';
}

void PairTable::OpenFolder() {
    if (++depth_ == open_.size()) {
        open_.emplace_back();
    }
}

void PairTable::CloseFolder(std::string_view path, std::size_t name_offset) {
    Block block{SortTextOf(path, name_offset), {}};
    Level& level = open_[depth_];
    Settle(level, block.runs);
    // Kept with its memory for the next folder at this depth.
    level.Clear();
    Level& parent = open_[--depth_];
    parent.items.push_back({static_cast<std::uint32_t>(parent.blocks.size()), true});
    parent.blocks.push_back(std::move(block));
}

void PairTable::CloseFolderElsewhere(std::string_view path, std::size_t name_offset,
                                     std::uint32_t other) {
    Block block{SortTextOf(path, name_offset), {}};
    block.runs[0].push_back({0, 0, other});
    block.runs[1].push_back({0, 0, other});
    Level& level = open_[depth_];
    level.items.push_back({static_cast<std::uint32_t>(level.blocks.size()), true});
    level.blocks.push_back(std::move(block));
}

void PairTable::Enter(std::string_view path, std::size_t name_offset, std::size_t key_length,
                      FileKind kind) {
    Level& level = open_[depth_];
    if (level.files.empty()) {
        level.prefix.assign(path.substr(0, name_offset));
    }
    const std::string_view name = path.substr(name_offset);
    level.items.push_back({static_cast<std::uint32_t>(level.files.size()), false});
    level.files.push_back({static_cast<std::uint32_t>(level.names.size()),
                           static_cast<std::uint32_t>(name.size()),
                           static_cast<std::uint32_t>(key_length - name_offset), kind});
    level.names.append(name);
}

void PairTable::Finish() {
    Settle(open_.front(), result_);
    // A fresh vector: assigning to the old levels would keep their texts' memory.
    open_ = std::vector<Level>(1);
    depth_ = 0;
    for (int k = 0; k < 2; ++k) {
        unmatched_[k] = {};
        keys_[k] = {};
        drop_[k] = {};
    }
}

std::string_view PairTable::SortText(const Level& level, const Item& item) const {
    if (item.is_block) {
        return level.blocks[item.index].sort_text;
    }
    const File& file = level.files[item.index];
    return std::string_view(level.names).substr(file.name, file.key_length);
}

void PairTable::AddRun(Segments& runs, const Segment& run) {
    if (!runs.empty() && runs.back().other == kOwn && run.other == kOwn &&
        runs.back().end == run.begin) {
        runs.back().end = run.end;
    } else {
        runs.push_back(run);
    }
}

void PairTable::Settle(Level& level, Segments (&runs)[2]) {
    std::vector<Item>& items = level.items;
    // Equal texts are files of one key, kept in walk order so that the later one of a kind
    // wins; a sub-folder's text ends in a separator and equals no key. string_view compares
    // bytes as unsigned values.
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const int c = SortText(level, a).compare(SortText(level, b));
        return c != 0 ? c < 0 : a.index < b.index;
    });
    // Each key's files become its one unmatched file or nothing; sub-folders stay in place.
    constexpr std::uint32_t kNone = UINT32_MAX;
    std::size_t kept = 0;
    for (std::size_t first = 0; first < items.size();) {
        if (items[first].is_block) {
            items[kept++] = items[first++];
            continue;
        }
        const std::string_view key = SortText(level, items[first]);
        std::uint32_t video = kNone, subtitle = kNone;
        std::size_t next = first;
        for (; next < items.size() && !items[next].is_block && SortText(level, items[next]) == key;
             ++next) {
            const std::uint32_t file = items[next].index;
            (level.files[file].kind == FileKind::Video ? video : subtitle) = file;
        }
        if ((video == kNone) != (subtitle == kNone)) {
            items[kept++] = {video != kNone ? video : subtitle, false};
        }
        first = next;
    }
    items.resize(kept);

    const auto kind_of = [&](const Item& item) { return level.files[item.index].kind; };
    const auto index_of = [](FileKind kind) { return kind == FileKind::Video ? 0 : 1; };
    if (partners_ != nullptr) {
        for (int k = 0; k < 2; ++k) {
            keys_[k].clear();
        }
        for (const Item& item : items) {
            if (!item.is_block) {
                keys_[index_of(kind_of(item))].push_back(SortText(level, item));
            }
        }
        drop_[0].assign(keys_[0].size(), false);
        drop_[1].assign(keys_[1].size(), false);
        if (!keys_[1].empty()) {
            partners_->Settle(level.prefix, keys_[0], keys_[1], drop_[0], drop_[1]);
        }
    }
    std::size_t seen[2] = {0, 0};
    for (const Item& item : items) {
        if (item.is_block) {
            for (int k = 0; k < 2; ++k) {
                for (const Segment& run : level.blocks[item.index].runs[k]) {
                    AddRun(runs[k], run);
                }
            }
            continue;
        }
        const File& file = level.files[item.index];
        const int k = index_of(file.kind);
        if (partners_ != nullptr && drop_[k][seen[k]++]) {
            continue;
        }
        const auto at = static_cast<std::uint32_t>(kept_[k].size());
        kept_[k].Add(level.prefix,
                     std::string_view(level.names).substr(file.name, file.name_length));
        AddRun(runs[k], {at, at + 1, kOwn});
    }
}

std::size_t PairTable::Count(FileKind kind, const Tables& elsewhere) const {
    const int k = kind == FileKind::Video ? 0 : 1;
    std::size_t count = 0;
    for (const Segment& run : result_[k]) {
        count +=
            run.other == kOwn ? run.end - run.begin : elsewhere(run.other).Count(kind, elsewhere);
    }
    return count;
}

void PairTable::Extract(FileKind kind, PathList& out, const Tables& elsewhere) {
    const int k = kind == FileKind::Video ? 0 : 1;
    // The names move over whole; only the entries are put in order.
    out.MoveTexts(kept_[k]);
    for (const Segment& run : result_[k]) {
        if (run.other == kOwn) {
            out.AddMoved(kept_[k], run.begin, run.end);
        } else {
            elsewhere(run.other).Extract(kind, out, elsewhere);
        }
    }
    result_[k] = {};
    kept_[k].Clear();
}

} // namespace tesslin
