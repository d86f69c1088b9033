#include "tests/support/TempDir.h"

#ifdef _WIN32
#include "platform/win/WideText.h"
#endif

#include <boost/filesystem.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <sys/stat.h>

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
    // The path as the system's file functions take it: UTF-16 on Windows, whose narrow names are
    // in the ANSI code page.
    std::ofstream out(fs::path(path).c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write test file " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(fs::path(path).c_str(), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read test file " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Listing ListFolder(const fs::path& root) {
    Listing entries;
    for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
        // The path below `root` as the walk built it; fs::relative would resolve links.
        const std::string name = Slashed(it->path().string().substr(root.string().size() + 1));
        switch (it->symlink_status().type()) {
        case fs::symlink_file:
            entries[name] = "-> " + fs::read_symlink(it->path()).string();
            break;
        case fs::regular_file:
            entries[name] = ReadFile(it->path().string());
            break;
        case fs::directory_file:
            entries[name] = "<folder>";
            break;
        default:
            entries[name] = "<other>";
        }
    }
    return entries;
}

void MakeEntries(const fs::path& root, const Listing& listing) {
    for (const auto& [name, contents] : listing) {
        const fs::path path = root / name;
        if (path.parent_path() != root) {
            fs::create_directories(path.parent_path());
        }
        if (contents == "<folder>") {
            fs::create_directories(path);
        } else if (contents == "<other>") {
#ifdef _WIN32
            throw std::runtime_error("no named pipe can live in a folder on Windows");
#else
            ::mkfifo(path.c_str(), 0666);
#endif
        } else if (contents.starts_with("-> ")) {
            fs::create_symlink(contents.substr(3), path);
        } else {
            WriteFile(path.string(), contents);
        }
    }
}

bool SystemCanHold([[maybe_unused]] const Listing& listing) {
#ifdef _WIN32
    std::set<std::string> folded;
    for (const auto& [name, contents] : listing) {
        std::string lower = name.ends_with('/') ? name.substr(0, name.size() - 1) : name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; });
        if (!folded.insert(lower).second || contents == "<other>" || contents.starts_with("-> ") ||
            std::any_of(name.begin(), name.end(), [](char c) { return c > 0 && c < 0x20; }) ||
            win::Utf8(win::Widen(name)) != name) {
            return false;
        }
        for (const fs::path& part : fs::path(name)) {
            const std::string text = part.string();
            if (text != "." && text != ".." && (text.ends_with('.') || text.ends_with(' '))) {
                return false; // Windows drops a name's closing dots and blanks
            }
        }
    }
#endif
    return true;
}

std::string Slashed(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

} // namespace tesslin::test
