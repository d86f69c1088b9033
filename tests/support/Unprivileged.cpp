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

int RunUnprivileged(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        if (geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
                _exit(125);
            }
        }
        int status = 126;
        try {
            status = body();
        } catch (const std::exception&) {
            status = 127;
        }
        _exit(status);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
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
    const int status = RunUnprivileged([&] {
        const std::string text = body();
        return std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fflush(file) == 0
                   ? 0
                   : 1;
    });
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) {
        text += static_cast<char>(c);
    }
    std::fclose(file);
    return status == 0 ? text : "child failed (" + std::to_string(status) + "): " + text;
}

} // namespace tesslin::test
