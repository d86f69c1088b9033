#include "platform/PathStatus.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tesslin {

PathStatus StatusOf(const std::string& path, bool follow_links) {
    struct stat st;
    PathStatus status;
    if ((follow_links ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
        return status;
    }
    status.exists = true;
    status.regular_file = S_ISREG(st.st_mode);
    status.device = st.st_dev;
    status.file_id = st.st_ino;
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modified_ns = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return status;
}

bool StandardInputIsRegularFile() {
    struct stat st;
    return ::fstat(STDIN_FILENO, &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace tesslin
