// `tesslin rename`: gives one file of a video/subtitle pair the other one's name.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tesslin::cli {

// Runs `rename VIDEO SUBTITLE [--rename-video]` with the arguments that follow the command
// word. The subtitle takes the video's name (with --rename-video the video takes the
// subtitle's), keeping its own extension; an existing file is never replaced, and the
// refusals of PrepareRename (no extension, a new name that is only the extension, a source
// that is no regular file) leave everything as it was. Prints
// "OLD -> NEW" to `out` on success. Returns kDone, kFailed (reason on `err`) or kUsageError.
// The rename direction comes from the command line only, never from the settings file.
int RunRename(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text of `rename`, options included.
std::string RenameUsage();

} // namespace tesslin::cli
