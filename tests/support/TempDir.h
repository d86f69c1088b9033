// Real temporary folders and files for tests.
#pragma once

#include <boost/filesystem/path.hpp>

#include <map>
#include <string>

namespace tesslin::test {

// A fresh temporary folder for one test, removed afterwards (also when made unreadable).
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const boost::filesystem::path& path() const { return path_; }
    // `relative` under the folder, as a string.
    std::string operator/(const std::string& relative) const;

private:
    boost::filesystem::path path_;
};

// Makes a temporary folder the working directory for the test's life and goes back after.
class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory();
    ~ScopedWorkingDirectory();
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    boost::filesystem::path previous_;
};

// Writes `bytes` to `path`, creating parent folders.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole contents of `path`, byte for byte.
std::string ReadFile(const std::string& path);

// Every entry below `root`: relative name -> file contents, "-> target" for a symbolic link,
// "<folder>" for a folder, "<other>" for anything else. Comparing whole listings also catches
// temporary files left behind and files that should not have changed.
using Listing = std::map<std::string, std::string>;
Listing ListFolder(const boost::filesystem::path& root);
// Makes the entries of `listing` below `root` (the reverse of ListFolder; "<other>": a pipe).
void MakeEntries(const boost::filesystem::path& root, const Listing& listing);
// False on Windows for a listing with a link, a pipe, two names that differ only in letter case,
// or a name that holds a control character, is no UTF-8 or ends in a dot or a blank: names there
// are UTF-16 text without those, compared without case, and links need rights a user seldom
// has. The cases built on such entries are left out there.
bool SystemCanHold(const Listing& listing);
// `path` with Windows' separator written as "/", as the tables write paths (unchanged elsewhere).
std::string Slashed(std::string path);

} // namespace tesslin::test
