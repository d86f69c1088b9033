#include "tests/support/Unprivileged.h"

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

} // namespace tesslin::test
