#include "tests/support/TempDir.h"

#include <boost/filesystem.hpp>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = boost::filesystem;

namespace tesslin::test {

TempDir::TempDir()
    : path_(fs::temp_directory_path() / fs::unique_path("tesslin-test-%%%%-%%%%-%%%%")) {
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    // Tests may leave folders without permissions behind; give them back before removal.
    boost::system::error_code ec;
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() == fs::directory_file) {
            fs::permissions(it->path(), fs::owner_all, ec);
        }
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::operator/(const std::string& relative) const {
    return (path_ / relative).string();
}

ScopedWorkingDirectory::ScopedWorkingDirectory() : previous_(fs::current_path()) {
    fs::current_path(dir_.path());
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    boost::system::error_code ec;
    fs::current_path(previous_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write test file " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read test file " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace tesslin::test
