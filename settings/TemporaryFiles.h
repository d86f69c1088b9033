// The temporary files through which a file is replaced: their names, and the removal of
// those that writers which no longer run left behind.
#pragma once

#include <boost/filesystem/path.hpp>

namespace tesslin {

// "<target>.tmp.<this process's id>.<attempt>", beside `target`.
boost::filesystem::path TemporaryFileName(const boost::filesystem::path& target, int attempt);

// Removes the files "<target's name>.tmp.<pid>.<n>" in `target`'s folder whose process no
// longer runs. Those of running processes (this one included) are left alone: another copy
// of the program may be writing the same file. Failures are ignored; a leftover that
// cannot be removed now is tried again at the next write.
void RemoveLeftoverTemporaryFiles(const boost::filesystem::path& target);

} // namespace tesslin
