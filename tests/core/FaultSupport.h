// Helpers shared by the fault-matrix tests: running one step of a case in a child process
// (unprivileged, or with limits that must not touch the test runner) and describing a folder's
// whole contents so that a case can state exactly what must be on the disk afterwards.
#pragma once

#include <boost/filesystem/path.hpp>

#include <functional>
#include <map>
#include <string>

namespace tesslin::test {

// Runs `body` and returns its text. With `in_child`, body runs in a forked child that drops to
// the user "nobody" when the tests run as root (RunUnprivileged), so permission checks apply;
// its text comes back to the parent. A child that crashes, throws or cannot be started gives
// a text starting with "child failed".
std::string RunStep(bool in_child, const std::function<std::string()>& body);

// Every entry below `root`: relative name -> file contents, "-> target" for a symbolic link,
// "<folder>" for a folder, "<other>" for anything else. Comparing whole listings also catches
// temporary files left behind and files that should not have changed.
using Listing = std::map<std::string, std::string>;
Listing ListFolder(const boost::filesystem::path& root);

} // namespace tesslin::test
