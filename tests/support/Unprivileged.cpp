#include "tests/support/Unprivileged.h"

#include <cstdio>
#include <exception>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tesslin::test {

namespace {
constexpr uid_t kNobody = 65534;
}

std::string RunStep(bool in_child, const std::function<std::string()>& body) {
    if (!in_child) {
        return body();
    }
    // An anonymous file the child inherits: holds any amount without a reader alongside.
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return "child failed: no temporary file";
    }
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 125; // cannot become "nobody"
        if (geteuid() != 0 ||
            (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0)) {
            try {
                const std::string text = body();
                const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
                status = written && std::fflush(file) == 0 ? 0 : 1;
            } catch (const std::exception&) {
                status = 127;
            }
        }
        _exit(status);
    }
    int status = 0;
    const bool exited = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) {
        text += static_cast<char>(c);
    }
    std::fclose(file);
    if (exited && WEXITSTATUS(status) == 0) {
        return text;
    }
    return "child failed (" + std::to_string(exited ? WEXITSTATUS(status) : -1) + "): " + text;
}

} // namespace tesslin::test
