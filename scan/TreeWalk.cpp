#include "scan/TreeWalk.h"

#include "platform/SystemText.h"

#include <boost/filesystem/exception.hpp>

namespace tesslin {

namespace {

namespace errc = boost::system::errc;

constexpr char kSeparator = static_cast<char>(boost::filesystem::path::preferred_separator);

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

// Joins as boost::filesystem::path's operator/ does, so that every path starts with the root
// exactly as the user wrote it ("dir/" gives "dir/name", not "dir//name").
void AppendName(std::string& path, std::string_view name) {
    if (!path.empty() && !IsSeparator(path.back())) {
        path += kSeparator;
    }
    path.append(name);
}

// Where the last component of a path the walk built starts.
std::size_t NameOffset(std::string_view path) {
    std::size_t offset = path.size();
    while (offset > 0 && !IsSeparator(path[offset - 1])) {
        --offset;
    }
    return offset;
}

} // namespace

TreeWalk::TreeWalk(const CMismatchScanner& rules, const FolderReader& reader,
                   ScanProgress* progress, const std::atomic<bool>* stop, HandOff* hand_off)
    : table(rules.keep_language_tag ? &partners_ : nullptr), partners_(rules), rules_(rules),
      reader_(reader), progress_(progress), stop_(stop), hand_off_(hand_off) {}

void TreeWalk::Run(std::string path, std::unique_ptr<ListedFolder> folder, bool is_root) {
    is_root_ = is_root;
    stack_.clear();
    stack_.emplace_back(std::move(path), std::move(folder));
    ++folders_;
    ListedEntry entry;
    while (!stack_.empty()) {
        Level& level = stack_.back();
        CheckStop();
        if (!NextEntry(level, entry)) {
            if (level.read_error) {
                // What the root holds is the scan's whole subject: a listing of it that
                // stopped part-way would pass a partial list off as the library.
                if (is_root_ && stack_.size() == 1) {
                    throw boost::filesystem::filesystem_error("cannot list the folder", level.path,
                                                              level.read_error);
                }
                Skip(level.path, level.read_error);
            }
            if (stack_.size() > 1) {
                table.CloseFolder(level.path, NameOffset(level.path));
            }
            stack_.pop_back();
            continue;
        }
        // Entered right after its own entry, before its later siblings: depth first.
        if (Visit(level, entry)) {
            Descend(level, entry.name);
        }
    }
    table.Finish();
    Flush();
}

bool TreeWalk::NextEntry(Level& level, ListedEntry& entry) {
    if (!level.read_ahead) {
        return level.folder && level.folder->Next(entry, level.read_error);
    }
    if (level.next == level.pending.size()) {
        return false;
    }
    const Pending& p = level.pending[level.next++];
    entry.name = std::string_view(level.names).substr(p.name, p.length);
    entry.type = p.type;
    entry.size_known = p.size_known;
    entry.size = p.size;
    return true;
}

bool TreeWalk::Visit(Level& level, const ListedEntry& entry) {
    if ((++entries_ & 1023) == 0) {
        Flush();
    }
    const bool recursive = rules_.is_recursive;
    const FileKind kind = rules_.KindOfName(entry.name);
    // The name ends in a NUL byte (the reader's promise, and that of the read-ahead names).
    const char* const name = entry.name.data();
    EntryStatus status;
    if (kind != FileKind::Other) {
        switch (entry.type) {
        case EntryType::Folder: // a folder named like a video ("x.avi"), no link
            return recursive;
        case EntryType::Other: // a pipe, socket or device named like one
            return false;
        case EntryType::File:
            if (entry.size_known) {
                if (entry.size > 0) {
                    Enter(level, entry.name, kind);
                }
                return false;
            }
            break;
        case EntryType::Link:
        case EntryType::Unknown:
            break;
        }
        ListedFolder* folder = FolderOf(level);
        if (folder == nullptr) {
            return false;
        }
        // Links followed: a link to a file counts as that file.
        if (const auto error = folder->Query(name, true, status)) {
            Skip(level, entry.name, error);
            return false;
        }
        if (status.type != EntryType::Folder) {
            if (status.type == EntryType::File && status.size > 0) {
                Enter(level, entry.name, kind);
            }
            return false;
        }
        if (!recursive || entry.type == EntryType::Link) {
            return false;
        }
    } else if (!recursive || entry.type != EntryType::Unknown) {
        // No listed extension: in a plain walk nothing to ask; in a recursive one only
        // whether it is a folder, which the listing already told.
        return recursive && entry.type == EntryType::Folder;
    }
    // The entry itself: a folder reached through a symbolic link is not entered, which also
    // keeps a link to an ancestor from walking in circles.
    ListedFolder* folder = FolderOf(level);
    if (folder == nullptr) {
        return false;
    }
    if (const auto error = folder->Query(name, false, status)) {
        Skip(level, entry.name, error);
        return false;
    }
    return status.type == EntryType::Folder;
}

ListedFolder* TreeWalk::FolderOf(Level& level) {
    unsigned attempt = 0;
    while (!level.folder) {
        boost::system::error_code error;
        // The scan's root may be a link to a folder, as when it was first opened; below it a
        // folder that has become a link since is not followed.
        const bool scan_root = is_root_ && &level == &stack_.front();
        level.folder = reader_.Open(level.path, scan_root, error);
        if (level.folder || (IsOutOfHandles(error) && MakeRoom(&level, attempt))) {
            continue;
        }
        if (scan_root) {
            throw boost::filesystem::filesystem_error("cannot open the folder again", level.path,
                                                      error);
        }
        Skip(level.path, error);
        level.next = level.pending.size();
        return nullptr;
    }
    return level.folder.get();
}

void TreeWalk::Descend(Level& level, std::string_view name) {
    std::string path = level.path;
    AppendName(path, name);
    ListedFolder* parent = FolderOf(level);
    if (parent == nullptr) {
        return;
    }
    std::unique_ptr<ListedFolder> sub;
    boost::system::error_code error;
    unsigned attempt = 0;
    do {
        error.clear();
        sub = parent->OpenSub(path.c_str() + NameOffset(path), error);
    } while (!sub && IsOutOfHandles(error) && MakeRoom(&level, attempt));
    if (!sub) {
        Skip(path, error);
        return;
    }
    std::uint32_t walk = 0;
    if (hand_off_ && hand_off_->Take(path, sub, walk)) {
        table.CloseFolderElsewhere(path, NameOffset(path), walk);
        handed_off.emplace_back(skipped.size(), walk);
        return;
    }
    table.OpenFolder();
    ++folders_;
    stack_.emplace_back(std::move(path), std::move(sub)); // `level` is no longer valid
}

bool TreeWalk::MakeRoom(const Level* keep, unsigned& attempt) {
    for (Level& level : stack_) {
        if (&level != keep && level.folder) {
            if (!level.read_ahead) {
                ReadAhead(level);
            }
            level.folder.reset();
            return true;
        }
    }
    return hand_off_ != nullptr && hand_off_->WaitForHandles(++attempt);
}

void TreeWalk::ReadAhead(Level& level) {
    // Only what the walk would look at: names without a listed extension matter only in a
    // recursive walk, and only when they may be folders.
    ListedEntry entry;
    while (level.folder->Next(entry, level.read_error)) {
        if (rules_.KindOfName(entry.name) == FileKind::Other &&
            (!rules_.is_recursive ||
             (entry.type != EntryType::Folder && entry.type != EntryType::Unknown))) {
            continue;
        }
        level.pending.push_back({static_cast<std::uint32_t>(level.names.size()),
                                 static_cast<std::uint32_t>(entry.name.size()), entry.type,
                                 entry.size_known, entry.size});
        level.names.append(entry.name);
        level.names.push_back('\0');
    }
    level.read_ahead = true;
}

void TreeWalk::Enter(const Level& level, std::string_view name, FileKind kind) {
    if (!rules_.Admits(name, kind)) {
        return;
    }
    scratch_.assign(level.path);
    AppendName(scratch_, name);
    const std::size_t offset = scratch_.size() - name.size();
    // The name holds a dot (it has a listed extension), so the last dot of the whole path
    // is in the name and the key is the folder plus the name without its extension.
    table.Enter(scratch_, offset, offset + name.rfind('.'), kind);
    ++accepted_;
}

void TreeWalk::Skip(const Level& level, std::string_view name,
                    const boost::system::error_code& error) {
    std::string path = level.path;
    AppendName(path, name);
    Skip(path, error);
}

void TreeWalk::Skip(const std::string& path, const boost::system::error_code& error) {
    // Gone between the listing and the query (or its folder replaced by a file): no longer
    // part of the library, nothing to report.
    if (error == errc::no_such_file_or_directory || error == errc::not_a_directory) {
        return;
    }
    skipped.push_back({boost::filesystem::path(path), ErrorCodeText(error)});
}

void TreeWalk::Flush() {
    if (progress_ != nullptr) {
        progress_->folders.fetch_add(folders_, std::memory_order_relaxed);
        progress_->entries.fetch_add(entries_, std::memory_order_relaxed);
        progress_->accepted.fetch_add(accepted_, std::memory_order_relaxed);
    }
    folders_ = entries_ = accepted_ = 0;
}

void TreeWalk::CheckStop() {
    if ((stop_ && stop_->load(std::memory_order_relaxed)) ||
        (progress_ && progress_->cancel.load(std::memory_order_relaxed))) {
        throw ScanCancelled();
    }
}

} // namespace tesslin
