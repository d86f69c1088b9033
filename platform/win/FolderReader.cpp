// The Windows reader: FindFirstFileExW with the basic information and large fetches, which
// gives each entry's type and size in the listing itself, so the walk need not ask about a
// file whose name it wants; status queries by the entry's whole path.
#include "platform/FolderReader.h"

#include "platform/win/WideText.h"

#include <windows.h>

#include <boost/system/error_code.hpp>

namespace tesslin {

namespace {

namespace errc = boost::system::errc;

// An error as the C library names it where it has a name ("Permission denied"), so that the
// walk's checks and its reports read alike on every system; Windows' own code otherwise.
boost::system::error_code ErrorCode(DWORD code) {
    const boost::system::error_code error(static_cast<int>(code), boost::system::system_category());
    const boost::system::error_condition known = error.default_error_condition();
    if (known.category() == boost::system::generic_category()) {
        return {known.value(), boost::system::generic_category()};
    }
    return error;
}

// What the other systems say of a file where a folder was expected (the walk passes over it)
// and of a link the walk does not enter.
boost::system::error_code NotAFolder() {
    return errc::make_error_code(errc::not_a_directory);
}

boost::system::error_code IsALink() {
    return errc::make_error_code(errc::too_many_symbolic_link_levels);
}

boost::system::error_code LastError() {
    return ErrorCode(GetLastError());
}

// A symbolic link or a junction: the walk never enters a folder through one. Other reparse
// points (cloud placeholders, deduplicated files) are the files and folders they stand for.
bool IsLink(DWORD attributes, DWORD reparse_tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (reparse_tag == IO_REPARSE_TAG_SYMLINK || reparse_tag == IO_REPARSE_TAG_MOUNT_POINT);
}

std::uintmax_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<std::uintmax_t>(high) << 32) | low;
}

// The entry's type as its listing record gives it; a link is Link.
EntryType TypeOf(const WIN32_FIND_DATAW& data) {
    if (IsLink(data.dwFileAttributes, data.dwReserved0)) {
        return EntryType::Link;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryType::Folder
                                                                   : EntryType::File;
}

// `folder` and `name` as one path; a folder that already ends in a separator ("C:\") takes
// no second one.
std::wstring Join(const std::wstring& folder, const char* name) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    return path + win::Widen(name);
}

// The type of the entry itself, from its attributes; a link is Link. Fills `size` for a file.
boost::system::error_code QueryEntry(const std::wstring& path, EntryStatus& status) {
    WIN32_FIND_DATAW data;
    // FindFirstFileExW on the entry's own name returns its listing record, reparse tag
    // included, which GetFileAttributesExW does not give.
    const HANDLE find =
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    FindClose(find);
    status.type = TypeOf(data);
    if (status.type == EntryType::File) {
        status.size = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    }
    return {};
}

// What the entry leads to, links followed: one open of the final file gives type and size.
boost::system::error_code QueryTarget(const std::wstring& path, EntryStatus& status) {
    const HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    const DWORD type = GetFileType(h);
    const boost::system::error_code error = ok ? boost::system::error_code() : LastError();
    CloseHandle(h);
    if (error) {
        return error;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status.type = EntryType::Folder;
    } else if (type == FILE_TYPE_DISK) {
        status.type = EntryType::File;
        status.size = SizeOf(info.nFileSizeHigh, info.nFileSizeLow);
    } else {
        status.type = EntryType::Other;
    }
    return {};
}

class WindowsFolder final : public ListedFolder {
public:
    // Opens the listing of `path`; null on failure.
    static std::unique_ptr<ListedFolder> Open(std::wstring path, boost::system::error_code& error) {
        WIN32_FIND_DATAW first;
        const std::wstring pattern = Join(path, "*");
        const HANDLE find =
            FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &first, FindExSearchNameMatch,
                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            DWORD code = GetLastError();
            // A drive's root holds no "." and "..": when empty it lists nothing at all, which
            // reads as "file not found". A file in the folder's place reads as "not found",
            // "invalid name" or "not a folder", depending on the system: its attributes tell.
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                code == ERROR_DIRECTORY || code == ERROR_INVALID_NAME) {
                const DWORD attributes = GetFileAttributesW(path.c_str());
                code = attributes == INVALID_FILE_ATTRIBUTES          ? ERROR_PATH_NOT_FOUND
                       : (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? ERROR_DIRECTORY
                                                                      : code;
            }
            if (code == ERROR_DIRECTORY) {
                error = NotAFolder();
                return nullptr;
            }
            if (code != ERROR_FILE_NOT_FOUND) {
                error = ErrorCode(code);
                return nullptr;
            }
        }
        return std::unique_ptr<ListedFolder>(new WindowsFolder(std::move(path), find, first));
    }

    ~WindowsFolder() override {
        if (find_ != INVALID_HANDLE_VALUE) {
            FindClose(find_);
        }
    }

    bool Next(ListedEntry& entry, boost::system::error_code& error) override {
        for (;;) {
            if (find_ == INVALID_HANDLE_VALUE) {
                return false;
            }
            if (!pending_ && !FindNextFileW(find_, &data_)) {
                const DWORD code = GetLastError();
                if (code != ERROR_NO_MORE_FILES) {
                    error = ErrorCode(code);
                }
                return false;
            }
            pending_ = false;
            const wchar_t* name = data_.cFileName;
            if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) {
                continue;
            }
            name_ = win::Utf8(name);
            entry.name = name_;
            entry.type = TypeOf(data_);
            entry.size_known = entry.type == EntryType::File;
            if (entry.size_known) {
                entry.size = SizeOf(data_.nFileSizeHigh, data_.nFileSizeLow);
            }
            return true;
        }
    }

    boost::system::error_code Query(const char* name, bool follow, EntryStatus& status) override {
        const std::wstring path = Join(path_, name);
        return follow ? QueryTarget(path, status) : QueryEntry(path, status);
    }

    std::unique_ptr<ListedFolder> OpenSub(const char* name,
                                          boost::system::error_code& error) override {
        std::wstring sub = Join(path_, name);
        EntryStatus status;
        if ((error = QueryEntry(sub, status))) {
            return nullptr;
        }
        if (status.type != EntryType::Folder) {
            // A link, even to a folder, is not entered; a file is no folder.
            error = status.type == EntryType::Link ? IsALink() : NotAFolder();
            return nullptr;
        }
        return Open(std::move(sub), error);
    }

private:
    WindowsFolder(std::wstring path, HANDLE find, const WIN32_FIND_DATAW& first)
        : path_(std::move(path)), find_(find), data_(first) {}

    std::wstring path_;
    HANDLE find_;
    WIN32_FIND_DATAW data_;
    bool pending_ = true; // data_ holds an entry that Next has not given yet
    std::string name_;
};

class WindowsReader final : public FolderReader {
public:
    std::unique_ptr<ListedFolder> Open(const std::string& path, bool follow_link,
                                       boost::system::error_code& error) const override {
        if (path.empty()) {
            error = ErrorCode(ERROR_PATH_NOT_FOUND);
            return nullptr;
        }
        std::wstring wide = win::Widen(path);
        if (!follow_link) {
            EntryStatus status;
            // A drive's root has no entry of its own to ask about.
            if (!QueryEntry(wide, status) && status.type == EntryType::Link) {
                error = IsALink();
                return nullptr;
            }
        }
        return WindowsFolder::Open(std::move(wide), error);
    }
};

} // namespace

const FolderReader& SystemFolders() {
    static const WindowsReader reader;
    return reader;
}

} // namespace tesslin
