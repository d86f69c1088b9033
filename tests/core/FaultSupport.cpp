#include "tests/core/FaultSupport.h"

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/filesystem/operations.hpp>

#include <cerrno>
#include <exception>
#include <sys/mman.h>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace tesslin::test {

namespace {

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string RunStep(bool in_child, const std::function<std::string()>& body) {
    if (!in_child) {
        return body();
    }
    // The child's text comes back through an anonymous file that it inherits: unlike a pipe
    // it holds any amount without a reader running alongside, and it needs no permissions.
    const int fd = ::memfd_create("fault-step", MFD_CLOEXEC);
    if (fd < 0) {
        return "child failed: no memory file";
    }
    const int status = RunUnprivileged([&] {
        try {
            return WriteAll(fd, body()) ? 0 : 1;
        } catch (const std::exception& e) {
            WriteAll(fd, std::string("exception: ") + e.what());
            return 1;
        }
    });
    std::string text;
    char buffer[4096];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        offset += n;
    }
    ::close(fd);
    return status == 0 ? text : "child failed (" + std::to_string(status) + "): " + text;
}

Listing ListFolder(const fs::path& root) {
    Listing entries;
    for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
        // The path below `root` as the walk built it; fs::relative would resolve links.
        const std::string name = it->path().string().substr(root.string().size() + 1);
        const fs::file_type type = it->symlink_status().type();
        if (type == fs::symlink_file) {
            entries[name] = "-> " + fs::read_symlink(it->path()).string();
        } else if (type == fs::regular_file) {
            entries[name] = ReadFile(it->path().string());
        } else if (type == fs::directory_file) {
            entries[name] = "<folder>";
        } else {
            entries[name] = "<other>";
        }
    }
    return entries;
}

} // namespace tesslin::test
