// Ending the program from outside: the real program in its own process, asked to end by a
// signal or losing its display, keeps the settings it holds.
#include "tests/gui/GuiTest.h"

#include "settings/SettingsFile.h"
#include "tests/support/TempDir.h"

#include <boost/filesystem/operations.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

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
    // Everything the child needs is built before fork: after it, only exec-safe calls.
    std::vector<std::string> environment = env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (std::none_of(env.begin(), env.end(),
                         [&](const std::string& x) { return x.rfind(name, 0) == 0; })) {
            environment.push_back(entry);
        }
    }
    std::vector<char*> args, envp;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    for (const auto& e : environment) {
        envp.push_back(const_cast<char*>(e.c_str()));
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

// The program starts in a fresh folder and writes its settings file; the test then puts a
// hand-edited file in its place (one line, LF). Whichever of the two the program read, an
// orderly end writes the record back in full: the file then differs from the hand-edited one.
class OrderlyEnd : public ::testing::Test {
protected:
    static constexpr const char* kHandEdited = "rename_sub_file 0\n";

    // Starts the program on `display`; true once it has created its settings file.
    bool StartProgram(const std::string& display) {
        // In a sanitizer build, the toolkit's own leaks at exit would turn the program's
        // orderly end into a failure; every other finding still ends it with an error.
        m_program = Spawn({ProgramPath()}, m_cwd.path().string(),
                          {"HOME=" + m_home.path().string(), "DISPLAY=" + display,
                           "GSETTINGS_BACKEND=memory", "NO_AT_BRIDGE=1",
                           "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"});
        if (!WaitForFile(SettingsFile(), 20s)) {
            return false;
        }
        std::this_thread::sleep_for(300ms);
        WriteFile(SettingsFile(), kHandEdited);
        std::this_thread::sleep_for(300ms);
        return true;
    }
    void ExpectSettingsWrittenInFull() const {
        const std::string text = ReadFile(SettingsFile());
        Settings defaults;
        defaults.ResetToDefaults();
        Settings edited = defaults;
        ApplySettingsMap(ParseSettingsText(kHandEdited), edited);
        EXPECT_TRUE(text == FormatSettingsFile(defaults) || text == FormatSettingsFile(edited))
            << text;
    }
    std::string SettingsFile() const { return m_cwd / "TesslinGUI.ini"; }

    TempDir m_cwd;
    TempDir m_home;
    pid_t m_program = -1;
};

TEST_F(OrderlyEnd, SignalsCloseTheWindowAndTheSettingsAreWritten) {
    const char* display = std::getenv("DISPLAY");
    ASSERT_NE(display, nullptr);
    for (const int signum : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signum));
        fs::remove(SettingsFile());
        ASSERT_TRUE(StartProgram(display));
        kill(m_program, signum);
        const int status = WaitFor(m_program, 20s);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        ExpectSettingsWrittenInFull();
    }
}

// Nobody is there to click: a signal ends the message box open at start as if cancelled and
// the program closes in order; a second signal before the program could end ends it at once.
TEST_F(OrderlyEnd, SignalsDoNotWaitForAnOpenBox) {
    const char* display = std::getenv("DISPLAY");
    ASSERT_NE(display, nullptr);
    struct Case {
        std::vector<int> signals; // sent while the program is stopped, so none is handled yet
    };
    const Case cases[] = {{{SIGTERM}}, {{SIGHUP}}, {{SIGINT, SIGTERM}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(strsignal(c.signals.front()) + std::to_string(c.signals.size()));
        WriteFile(SettingsFile(), "autostart TRUE\n"); // a message at start
        m_program = Spawn({ProgramPath()}, m_cwd.path().string(),
                          {"HOME=" + m_home.path().string(), "DISPLAY=" + std::string(display),
                           "GSETTINGS_BACKEND=memory", "NO_AT_BRIDGE=1",
                           "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"});
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
    const char* display = std::getenv("DISPLAY");
    ASSERT_NE(display, nullptr);
    m_program = Spawn({ProgramPath(), "--help"}, m_cwd.path().string(),
                      {"HOME=" + m_home.path().string(), "DISPLAY=" + std::string(display)});
    const int status = WaitFor(m_program, 20s);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(SettingsFile())) << "help starts nothing";
}

TEST_F(OrderlyEnd, LosingTheDisplaySavesTheSettingsBeforeTheProgramEnds) {
    // A display of its own, which the test then takes away.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t server =
        Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1024x768x24"}, "/",
              {}, fds[1]);
    close(fds[1]);
    char number[16] = {};
    const ssize_t n = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    ASSERT_GT(n, 0) << "Xvfb did not start";
    const std::string display = ":" + std::string(number, strcspn(number, "\n"));

    const bool started = StartProgram(display);
    kill(server, SIGTERM);
    WaitFor(server, 20s);
    ASSERT_TRUE(started);
    const int status = WaitFor(m_program, 20s);
    EXPECT_NE(status, -1) << "the program did not end with its display";
    ExpectSettingsWrittenInFull();
}

} // namespace
} // namespace tesslin::test
