// What the system says about one path, asked directly (the walk asks through its folder
// reader), and how a path's text is split into folders. One implementation per system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tesslin {

// The characters that end a folder's name in a path's text: "/" on Linux, "\" and "/" on
// Windows.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

struct PathStatus {
    bool exists = false;       // something is at the path (false too when it cannot be asked)
    bool regular_file = false; // a file, not a folder, link, device or pipe
    std::uint64_t device = 0;  // with file_id, the file itself, whatever its name
    std::uint64_t file_id = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0; // the last change of the contents, in nanoseconds
};

// The status of `path`; of what a link leads to when `follow_links`, else of the link.
PathStatus StatusOf(const std::string& path, bool follow_links);

// True when the process's standard input is a regular file (a redirection from a file), not a
// pipe, a terminal or a device.
bool StandardInputIsRegularFile();

} // namespace tesslin
