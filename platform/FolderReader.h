// Reading folders: the one place where the scan talks to the system's directory calls.
//
// The walk sees a folder as a list of entries, each a name, the type the listing gives and,
// where the listing carries it, the size. It asks for an entry's status and opens a
// sub-folder relative to the folder it listed the entry in, so that the system need not walk
// the whole path again and a sub-folder replaced by a link is refused by the opening itself.
//
// Each platform brings its reader; PortableFolders() (Boost.Filesystem's iterator) works
// everywhere and is what a platform without its own uses.
#pragma once

#include <boost/system/error_code.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tesslin {

// An entry's type as the listing tells it. Link is the link itself, whatever it leads to;
// Unknown when the listing does not say (some file systems), so that the walk must ask.
enum class EntryType : std::uint8_t { Unknown, File, Folder, Link, Other };

struct ListedEntry {
    std::string_view name; // never "." or ".."; followed by a NUL byte; valid until Next
    EntryType type = EntryType::Unknown;
    bool size_known = false; // the listing gave the size of this File
    std::uintmax_t size = 0;
};

// What a status query found. Links followed: File, Folder or Other; the link itself: Link too.
struct EntryStatus {
    EntryType type = EntryType::Other;
    std::uintmax_t size = 0; // of a File
};

// One open folder. Holds at most one system handle, released when the object is destroyed.
class ListedFolder {
public:
    virtual ~ListedFolder() = default;
    // The next entry in the order of the file system, or false at the end of the listing or
    // when reading failed (`error` set).
    virtual bool Next(ListedEntry& entry, boost::system::error_code& error) = 0;
    // The status of the entry `name` of this folder (links followed when `follow`).
    virtual boost::system::error_code Query(const char* name, bool follow, EntryStatus& status) = 0;
    // Opens the sub-folder `name` of this folder for listing; a link, even to a folder, is
    // refused (an error). Null on failure.
    virtual std::unique_ptr<ListedFolder> OpenSub(const char* name,
                                                  boost::system::error_code& error) = 0;
};

class FolderReader {
public:
    virtual ~FolderReader() = default;
    // Opens the folder at `path` for listing: a link to a folder is followed when
    // `follow_link`, else refused. Empty text is a missing folder. Null on failure.
    virtual std::unique_ptr<ListedFolder> Open(const std::string& path, bool follow_link,
                                               boost::system::error_code& error) const = 0;
};

// The platform's own reader (on POSIX systems: one handle per folder, the entry types from
// the listing, queries relative to the folder; on Windows: FindFirstFileExW's listing, which
// gives types and sizes, queries by the entry's whole path).
const FolderReader& SystemFolders();
// Boost.Filesystem's directory_iterator, on every platform: types Unknown, queries by path.
const FolderReader& PortableFolders();

// True for the errors that say the process or the system has no handle left to give.
bool IsOutOfHandles(const boost::system::error_code& error);

} // namespace tesslin
