// The portable reader: Boost.Filesystem's directory_iterator, and status queries by the
// entry's whole path. The listing gives no types, so the walk asks about every entry it
// cannot rule out by name.
#include "platform/FolderReader.h"

#include <boost/filesystem/operations.hpp>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

EntryType TypeOf(fs::file_type type) {
    switch (type) {
    case fs::regular_file:
        return EntryType::File;
    case fs::directory_file:
        return EntryType::Folder;
    case fs::symlink_file:
        return EntryType::Link;
    default:
        return EntryType::Other;
    }
}

class PortableFolder final : public ListedFolder {
public:
    PortableFolder(fs::path path, fs::directory_iterator it)
        : path_(std::move(path)), it_(std::move(it)) {}

    bool Next(ListedEntry& entry, boost::system::error_code& error) override {
        if (started_ && it_ != fs::directory_iterator()) {
            it_.increment(error);
            if (error) {
                return false;
            }
        }
        started_ = true;
        if (it_ == fs::directory_iterator()) {
            return false;
        }
        name_ = it_->path().filename().string();
        entry.name = name_;
        entry.type = EntryType::Unknown;
        entry.size_known = false;
        return true;
    }

    boost::system::error_code Query(const char* name, bool follow, EntryStatus& status) override {
        boost::system::error_code error;
        const fs::path entry = path_ / name;
        const fs::file_status st =
            follow ? fs::status(entry, error) : fs::symlink_status(entry, error);
        if (error) {
            return error;
        }
        if (st.type() == fs::file_not_found) {
            return boost::system::errc::make_error_code(
                boost::system::errc::no_such_file_or_directory);
        }
        status.type = TypeOf(st.type());
        status.size = status.type == EntryType::File ? fs::file_size(entry, error) : 0;
        return error;
    }

    std::unique_ptr<ListedFolder> OpenSub(const char* name,
                                          boost::system::error_code& error) override {
        error.clear();
        fs::path sub = path_ / name;
        // The iterator follows links; the walk only opens entries it found to be folders, so
        // this only matters when the entry changed in between.
        if (fs::is_symlink(fs::symlink_status(sub, error))) {
            error = boost::system::errc::make_error_code(
                boost::system::errc::too_many_symbolic_link_levels);
        }
        if (error) {
            return nullptr;
        }
        fs::directory_iterator it(sub, error);
        if (error) {
            return nullptr;
        }
        return std::make_unique<PortableFolder>(std::move(sub), std::move(it));
    }

private:
    fs::path path_;
    fs::directory_iterator it_;
    bool started_ = false;
    std::string name_;
};

class PortableReader final : public FolderReader {
public:
    std::unique_ptr<ListedFolder> Open(const std::string& path, bool follow_link,
                                       boost::system::error_code& error) const override {
        error.clear();
        if (!follow_link && fs::is_symlink(fs::symlink_status(path, error))) {
            error = boost::system::errc::make_error_code(
                boost::system::errc::too_many_symbolic_link_levels);
        }
        if (error) {
            return nullptr;
        }
        fs::directory_iterator it(path, error);
        if (error) {
            return nullptr;
        }
        return std::make_unique<PortableFolder>(fs::path(path), std::move(it));
    }
};

} // namespace

const FolderReader& PortableFolders() {
    static const PortableReader reader;
    return reader;
}

bool IsOutOfHandles(const boost::system::error_code& error) {
    namespace errc = boost::system::errc;
    return error == errc::too_many_files_open || error == errc::too_many_files_open_in_system;
}

} // namespace tesslin
