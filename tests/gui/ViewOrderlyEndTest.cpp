// Ending the program from outside: the real program in its own process, asked to end by a
// signal or losing its display, keeps the settings it holds.
#include "tests/gui/GuiTest.h"

#include "settings/SettingsFile.h"

#include <boost/filesystem/operations.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;
using namespace std::chrono_literals;

// The program is built next to the test binary.
std::string ProgramPath() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "TesslinGUI").string();
}

// Starts `argv` in `cwd` with this process's environment, the entries of `env` ("NAME=value")
// taking the place of any of the same name; output discarded. `keep_fd` stays open in the
// child as descriptor 3.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& cwd,
            const std::vector<std::string>& env, int keep_fd = -1) {
    // Everything the child needs is built before fork: after it, only exec-safe calls. The
    // entries of `env` come first, and the first entry of a name is the one getenv finds.
    std::vector<char*> args, envp;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    for (const auto& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    for (char** e = environ; *e; ++e) {
        envp.push_back(*e);
    }
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        if (keep_fd >= 0) {
            dup2(keep_fd, 3);
        }
        if (chdir(cwd.c_str()) == 0) {
            execvpe(args[0], args.data(), envp.data());
        }
        _exit(127);
    }
    return pid;
}

// Waits for `pid` to end; its wait status, or -1 after `timeout` (it is then killed).
int WaitFor(pid_t pid, std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

bool WaitForFile(const std::string& path, std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!fs::exists(path) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return fs::exists(path);
}

// The real program, in a fresh working folder and home of its own.
class OrderlyEnd : public ::testing::Test {
protected:
    // Starts the program with `args` on `display` (by default the test's) in the test's folder.
    void Launch(std::vector<std::string> args = {}, std::string display = "") {
        display = display.empty() ? std::getenv("DISPLAY") : display;
        args.insert(args.begin(), ProgramPath());
        // In a sanitizer build, the toolkit's own leaks at exit would turn the program's
        // orderly end into a failure; every other finding still ends it with an error.
        m_program = Spawn(args, m_cwd.path().string(),
                          {"HOME=" + m_home.path().string(), "DISPLAY=" + display,
                           "GSETTINGS_BACKEND=memory", "NO_AT_BRIDGE=1",
                           "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"});
    }
    std::string SettingsFile() const { return m_cwd / "TesslinGUI.ini"; }

    TempDir m_cwd;
    TempDir m_home;
    pid_t m_program = -1;
};

// Nobody is there to click: a signal ends the message box open at start as if cancelled and
// the program closes in order; a second signal before the program could end ends it at once.
TEST_F(OrderlyEnd, SignalsDoNotWaitForAnOpenBox) {
    struct Case {
        std::vector<int> signals; // sent while the program is stopped, so none is handled yet
    };
    const Case cases[] = {{{SIGTERM}}, {{SIGHUP}}, {{SIGINT, SIGTERM}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(strsignal(c.signals.front()) + std::to_string(c.signals.size()));
        WriteFile(SettingsFile(), "autostart TRUE\n"); // a message at start
        Launch();
        std::this_thread::sleep_for(1500ms);
        kill(m_program, SIGSTOP);
        for (const int signum : c.signals) {
            kill(m_program, signum);
        }
        kill(m_program, SIGCONT);
        const int status = WaitFor(m_program, 20s);
        Settings defaults;
        defaults.ResetToDefaults();
        if (c.signals.size() == 1) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            EXPECT_EQ(ReadFile(SettingsFile()), FormatSettingsFile(defaults));
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) &&
                        (WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGTERM))
                << status;
            const std::string text = ReadFile(SettingsFile());
            EXPECT_TRUE(text == "autostart TRUE\n" || text == FormatSettingsFile(defaults)) << text;
        }
    }
}

TEST_F(OrderlyEnd, HelpAskedForIsNoFailure) {
    Launch({"--help"});
    const int status = WaitFor(m_program, 20s);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(SettingsFile())) << "help starts nothing";
}

// A file the program wrote at start and then edited by hand is written back in full; a file
// that is no settings file (the program says so in a box at start) is left byte for byte.
TEST_F(OrderlyEnd, LosingTheDisplaySavesTheSettingsBeforeTheProgramEnds) {
    Settings defaults;
    defaults.ResetToDefaults();
    const std::string foreign = "TesslinGUI\n\nRenames subtitles.\n";
    for (const std::string& before : {std::string(), foreign}) {
        SCOPED_TRACE(before.empty() ? "written at start" : "no settings file");
        // A display of its own, which the test then takes away.
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t server =
            Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                  "/", {}, fds[1]);
        close(fds[1]);
        char number[16] = {};
        const ssize_t n = read(fds[0], number, sizeof number - 1);
        close(fds[0]);
        ASSERT_GT(n, 0) << "Xvfb did not start";
        if (!before.empty()) {
            WriteFile(SettingsFile(), before);
        }
        Launch({}, ":" + std::string(number, strcspn(number, "\n")));
        const bool started = WaitForFile(SettingsFile(), 20s);
        std::this_thread::sleep_for(1500ms);
        if (before.empty()) {
            WriteFile(SettingsFile(), "rename_sub_file 0\n");
            std::this_thread::sleep_for(300ms);
        }
        kill(server, SIGTERM);
        WaitFor(server, 20s);
        ASSERT_TRUE(started);
        EXPECT_NE(WaitFor(m_program, 20s), -1) << "the program did not end with its display";
        EXPECT_EQ(ReadFile(SettingsFile()), before.empty() ? FormatSettingsFile(defaults) : before);
    }
}

} // namespace
} // namespace tesslin::test
