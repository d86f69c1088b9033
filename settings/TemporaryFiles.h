// The temporary files through which a file is replaced: their names, and the removal of
// those that writers which no longer run left behind.
#pragma once

#include "platform/Process.h"

#include <boost/filesystem/path.hpp>

namespace tesslin {

// "<target>.tmp.<host>.<pid>.<attempt>", beside `target`: <host> is this machine's name with
// every character but letters, digits and "-" turned into "-" ("-" when it has none), <pid>
// the writing process's id.
boost::filesystem::path TemporaryFileName(const boost::filesystem::path& target, int attempt,
                                          long pid = CurrentProcessId());

// Removes the regular files in `target`'s folder named as TemporaryFileName names them, or
// "<target's name>.tmp.<pid>.<n>" without a host, whose writer has surely ended:
// - written on this machine by another process that no longer runs;
// - written on another machine (or without a host in the name), where a process id tells
//   nothing, only when last modified more than a day ago: no write of a small file takes that
//   long, however slow the shared folder.
// Anything else is left alone: another copy of the program may be writing the same file.
// Failures are ignored; a leftover that cannot be removed now is tried again at the next write.
void RemoveLeftoverTemporaryFiles(const boost::filesystem::path& target);

} // namespace tesslin
