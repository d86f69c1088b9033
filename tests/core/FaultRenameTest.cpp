// Fault matrix of the rename: a target that exists or appears at the same moment, a source
// that is gone, another file system, a read-only folder, and file systems that lack
// RENAME_NOREPLACE or hard links (through the move's system-call seam, which can make any
// step fail with a chosen errno). In every case no existing file is replaced, nothing is
// lost, and every failure is reported.
#include "rename/FileMove.h"

#include "platform/Error.h"
#include "rename/FileMoveSeam.h"
#include "tests/core/FaultSupport.h"
#include "tests/support/TempDir.h"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <new>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::ListFolder;
using test::Listing;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// --- The seam: each step can be made to fail, and every call is written to a trace. ---

struct Injected {
    int renameat2 = 0; // errno the step fails with; 0: the real call
    int link = 0;
    int unlink = 0;
    int fsync = 0;
};

Injected g_inject;
std::string g_trace;

int Step(const char* name, int err) {
    g_trace += g_trace.empty() ? name : std::string(" ") + name;
    errno = err;
    return err == 0 ? 0 : -1;
}

int TracedRenameat2(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                    unsigned int flags) {
    if (Step("renameat2", g_inject.renameat2) != 0) {
        return -1;
    }
    return ::renameat2(olddirfd, oldpath, newdirfd, newpath, flags);
}
int TracedLink(const char* oldpath, const char* newpath) {
    return Step("link", g_inject.link) != 0 ? -1 : ::link(oldpath, newpath);
}
int TracedUnlink(const char* path) {
    return Step("unlink", g_inject.unlink) != 0 ? -1 : ::unlink(path);
}
int TracedFsync(int fd) {
    return Step("fsync", g_inject.fsync) != 0 ? -1 : ::fsync(fd);
}

const FileMoveCalls kTraced{&TracedRenameat2, &TracedLink, &TracedUnlink, &TracedFsync};

// "ok", or the error's text with the test folder shown as <dir>.
std::string MoveOutcome(const std::string& from, const std::string& to, const std::string& dir) {
    std::string text = "ok";
    try {
        MoveFileNoReplace(from, to);
    } catch (const Error& e) {
        text = e.what();
    }
    for (std::size_t at; (at = text.find(dir)) != std::string::npos;) {
        text.replace(at, dir.size(), "<dir>");
    }
    return text;
}

struct RenameFault {
    const char* name;
    Listing before; // files to make: name -> contents ("-> x" a symbolic link, "<folder>")
    const char* from;
    const char* to;
    Injected inject;
    bool in_child;                                // the move runs as "nobody" in a child process
    std::function<void(const fs::path&)> arrange; // after the files are made, as root
    std::string outcome;                          // MoveOutcome's text
    std::string trace;                            // the system calls the move made, in order
    Listing after;                                // the folder's whole contents afterwards
};

void Make(const fs::path& dir, const Listing& entries) {
    for (const auto& [name, contents] : entries) {
        const fs::path path = dir / name;
        if (contents == "<folder>") {
            fs::create_directories(path);
        } else if (contents.rfind("-> ", 0) == 0) {
            fs::create_symlink(contents.substr(3), path);
        } else {
            WriteFile(path.string(), contents);
        }
    }
}

std::string Cannot(const char* from, const char* to) {
    return std::string("Cannot rename \"<dir>/") + from + "\" to \"<dir>/" + to + "\": ";
}

TEST(RenameFaults, NothingIsReplacedOrLostAndEveryFailureIsReported) {
    const Listing pair{{"a.smi", "subtitle"}, {"b.smi", "other"}};
    const Listing alone{{"a.smi", "subtitle"}};
    const Listing moved{{"b.smi", "subtitle"}};
    const RenameFault cases[] = {
        {"target exists",
         pair,
         "a.smi",
         "b.smi",
         {},
         false,
         {},
         Cannot("a.smi", "b.smi") + "File exists",
         "renameat2",
         pair},
        {"target is a dangling symbolic link",
         {{"a.smi", "subtitle"}, {"b.smi", "-> gone"}},
         "a.smi",
         "b.smi",
         {},
         false,
         {},
         Cannot("a.smi", "b.smi") + "File exists",
         "renameat2",
         {{"a.smi", "subtitle"}, {"b.smi", "-> gone"}}},
        {"target is a folder",
         {{"a.smi", "subtitle"}, {"b.smi", "<folder>"}},
         "a.smi",
         "b.smi",
         {},
         false,
         {},
         Cannot("a.smi", "b.smi") + "File exists",
         "renameat2",
         {{"a.smi", "subtitle"}, {"b.smi", "<folder>"}}},
        {"source gone",
         {},
         "a.smi",
         "b.smi",
         {},
         false,
         {},
         Cannot("a.smi", "b.smi") + "No such file or directory",
         "renameat2",
         {}},
        {"read-only folder",
         alone,
         "a.smi",
         "b.smi",
         {},
         true,
         [](const fs::path& dir) { fs::permissions(dir, fs::perms(0555)); },
         Cannot("a.smi", "b.smi") + "Permission denied",
         "renameat2",
         alone},
        {"source in a read-only folder",
         {{"ro/a.smi", "subtitle"}, {"rw", "<folder>"}},
         "ro/a.smi",
         "rw/b.smi",
         {},
         true,
         [](const fs::path& dir) {
             fs::permissions(dir / "ro", fs::perms(0555));
             fs::permissions(dir / "rw", fs::perms(0777));
         },
         Cannot("ro/a.smi", "rw/b.smi") + "Permission denied",
         "renameat2",
         {{"ro", "<folder>"}, {"ro/a.smi", "subtitle"}, {"rw", "<folder>"}}},
        {"the same name", alone, "a.smi", "a.smi", {}, false, {}, "ok", "renameat2", alone},
        {"no RENAME_NOREPLACE: hard link, then unlink",
         alone,
         "a.smi",
         "b.smi",
         {.renameat2 = EINVAL},
         false,
         {},
         "ok",
         "renameat2 link unlink fsync",
         moved},
        {"no RENAME_NOREPLACE, target exists",
         pair,
         "a.smi",
         "b.smi",
         {.renameat2 = EINVAL},
         false,
         {},
         Cannot("a.smi", "b.smi") + "File exists",
         "renameat2 link",
         pair},
        {"no RENAME_NOREPLACE, source gone",
         {},
         "a.smi",
         "b.smi",
         {.renameat2 = EINVAL},
         false,
         {},
         Cannot("a.smi", "b.smi") + "No such file or directory",
         "renameat2 link",
         {}},
        {"neither RENAME_NOREPLACE nor hard links",
         alone,
         "a.smi",
         "b.smi",
         {.renameat2 = EINVAL, .link = EPERM},
         false,
         {},
         Cannot("a.smi", "b.smi") +
             "Operation not permitted (this file system cannot rename a file without the risk "
             "of replacing another one)",
         "renameat2 link",
         alone},
        {"rename refused outright (EPERM): no fallback",
         alone,
         "a.smi",
         "b.smi",
         {.renameat2 = EPERM},
         false,
         {},
         Cannot("a.smi", "b.smi") + "Operation not permitted",
         "renameat2",
         alone},
        {"hard link made, old name cannot be removed",
         alone,
         "a.smi",
         "b.smi",
         {.renameat2 = EINVAL, .unlink = EACCES},
         false,
         {},
         "Cannot rename \"<dir>/a.smi\" to \"<dir>/b.smi\" completely: the new name was made but "
         "the old one could not be removed, so both "
         "names now refer to the same file: Permission denied",
         "renameat2 link unlink",
         {{"a.smi", "subtitle"}, {"b.smi", "subtitle"}}},
        {"renamed, but the folder cannot be synced",
         alone,
         "a.smi",
         "b.smi",
         {.fsync = EIO},
         false,
         {},
         "Renamed \"<dir>/a.smi\" to \"<dir>/b.smi\", but the change could not be written to the "
         "disk: Input/output error",
         "renameat2 fsync",
         moved},
    };

    const ScopedFileMoveCalls traced(kTraced);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const std::string root = dir.path().string();
        Make(dir.path(), c.before);
        if (c.arrange) {
            c.arrange(dir.path());
        }
        g_inject = c.inject;
        g_trace.clear();
        // A child's trace stays in the child; it comes back in front of the outcome.
        const std::string result = test::RunStep(c.in_child, [&] {
            const std::string outcome = MoveOutcome(root + "/" + c.from, root + "/" + c.to, root);
            return g_trace + "\n" + outcome;
        });
        g_inject = {};
        EXPECT_EQ(result, c.trace + "\n" + c.outcome);
        fs::permissions(dir.path(), fs::perms(0755));
        EXPECT_EQ(ListFolder(dir.path()), c.after);
    }
}

// Source and target on different file systems: rename(2) cannot move across, and the move
// never falls back to copying. The second file system is a small tmpfs in a private mount
// namespace of a child (root, as in CI), else /dev/shm when that is a file system of its own.
TEST(RenameFaults, AnotherFileSystemFailsAndKeepsTheSource) {
    const TempDir dir;
    WriteFile(dir / "a.smi", "subtitle");
    const fs::path other = dir.path() / "other";
    fs::create_directory(other);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string target = (other / "b.smi").string();
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", other.c_str(), "tmpfs", 0, "size=1m") != 0) {
            struct stat shm {};
            struct stat tmp {};
            if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.path().c_str(), &tmp) != 0 ||
                shm.st_dev == tmp.st_dev) {
                ::_exit(77);
            }
            target = "/dev/shm/tesslin-fault-" + std::to_string(::getpid()) + ".smi";
        }
        try {
            const std::string outcome = MoveOutcome(dir / "a.smi", target, dir.path().string());
            const bool kept = ReadFile(dir / "a.smi") == "subtitle" && !fs::exists(target);
            const std::string expected = "Invalid cross-device link";
            const bool reported =
                outcome.size() > expected.size() &&
                outcome.compare(outcome.size() - expected.size(), expected.size(), expected) == 0;
            ::_exit(kept && reported ? 0 : 1);
        } catch (...) {
            ::_exit(2);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no second file system to move across";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ListFolder(dir.path()), (Listing{{"a.smi", "subtitle"}, {"other", "<folder>"}}));
}

// --- The race: another program creates the target at the same moment as the move. ---

// Shared between this process and the creator process.
struct RaceBoard {
    std::atomic<int> arrived{0};       // both sides count in at the start of each attempt
    std::atomic<int> finished{-1};     // attempt the creator has finished
    std::atomic<int> creator_delay{0}; // nanoseconds the creator waits before it acts
    std::atomic<bool> created{false};  // the creator's O_EXCL create succeeded
};

// Both sides spin until both have arrived, so that both are running at that moment and
// their delays, not the scheduler, decide who comes first. A side that waits long yields
// its processor, for machines with fewer free processors than two.
void Meet(std::atomic<int>& arrived, int attempt) {
    const int all = 2 * (attempt + 1);
    arrived.fetch_add(1);
    for (int spins = 0; arrived.load() < all; ++spins) {
        if (spins > 100000) {
            ::sched_yield();
        }
    }
}

// Busy-waits `ns` nanoseconds, staying on the processor.
void Spin(int ns) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(ns);
    while (std::chrono::steady_clock::now() < until) {
    }
}

struct RaceFigures {
    int attempts = 0;
    int mover_first = 0;
    int creator_first = 0;
    int replaced_or_lost = 0;
    int unreported = 0;
};

// `attempts` times: the mover renames a.smi to b.smi while the creator process creates b.smi
// with O_CREAT|O_EXCL. Exactly one of them may succeed. The delays follow the outcomes so
// that each side comes first about half of the time, however long the two system calls take
// on this machine (creating a file costs from microseconds to a millisecond, by file system
// and load); a spread of delays around that balance point keeps both outcomes coming.
RaceFigures Race(int attempts) {
    const TempDir dir;
    const std::string from = dir / "a.smi";
    const std::string to = dir / "b.smi";
    void* memory = ::mmap(nullptr, sizeof(RaceBoard), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        ADD_FAILURE() << "no shared memory";
        return {};
    }
    auto* board = new (memory) RaceBoard;

    const pid_t creator = ::fork();
    if (creator == 0) {
        for (int i = 0; i < attempts; ++i) {
            Meet(board->arrived, i);
            Spin(board->creator_delay);
            const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                board->created = ::write(fd, "creator", 7) == 7;
                ::close(fd);
            }
            board->finished = i;
        }
        ::_exit(0);
    }

    RaceFigures figures;
    const std::string mine = "mover";
    const std::string theirs = "creator";
    WriteFile(from, mine);
    int lead = 0; // nanoseconds; > 0: the mover waits that long, < 0: the creator does
    for (int i = 0; i < attempts && creator > 0; ++i) {
        board->created = false;
        const int this_lead = lead + (static_cast<int>((i * 7919) % 101) - 50) * 100;
        board->creator_delay = std::max(-this_lead, 0);
        Meet(board->arrived, i);
        Spin(std::max(this_lead, 0));
        std::string error;
        try {
            MoveFileNoReplace(from, to);
        } catch (const Error& e) {
            error = e.what();
        }
        while (board->finished.load() < i) {
            ::sched_yield();
        }

        const std::string target = ReadFile(to);
        const bool source_left = fs::exists(from);
        ++figures.attempts;
        if (error.empty()) {
            ++figures.mover_first;
            lead += 1000;
            // The creator must have failed, and the target must be the moved file.
            figures.replaced_or_lost += board->created || target != mine || source_left;
            fs::rename(to, from); // the next attempt's source
        } else {
            ++figures.creator_first;
            lead -= 1000;
            figures.replaced_or_lost +=
                !board->created || target != theirs || !source_left || ReadFile(from) != mine;
            figures.unreported += error.find("File exists") == std::string::npos;
            fs::remove(to);
        }
        if (figures.replaced_or_lost != 0 && !fs::exists(from)) {
            break; // the source is gone: nothing left to race with
        }
    }
    if (creator > 0) {
        ::waitpid(creator, nullptr, 0);
    } else {
        ADD_FAILURE() << "cannot start the creator process";
    }
    board->~RaceBoard();
    ::munmap(memory, sizeof(RaceBoard));
    return figures;
}

// The folder sync after each move is beside the point here and would only slow the race.
int NoSync(int) {
    return 0;
}

void ExpectNoReplacement(const RaceFigures& figures, int attempts, const char* path_name) {
    EXPECT_EQ(figures.attempts, attempts);
    EXPECT_EQ(figures.replaced_or_lost, 0);
    EXPECT_EQ(figures.unreported, 0);
    // Both sides came first many times: the race was real.
    EXPECT_GT(figures.mover_first, attempts / 20);
    EXPECT_GT(figures.creator_first, attempts / 20);
    const std::string prefix = path_name;
    ::testing::Test::RecordProperty(prefix + "_attempts", figures.attempts);
    ::testing::Test::RecordProperty(prefix + "_mover_first", figures.mover_first);
    ::testing::Test::RecordProperty(prefix + "_creator_first", figures.creator_first);
    ::testing::Test::RecordProperty(prefix + "_replaced", figures.replaced_or_lost);
}

constexpr int kRaceAttempts = 10000;

TEST(RenameFaults, TargetCreatedAtTheSameMomentIsNeverReplaced) {
    const ScopedFileMoveCalls calls({&::renameat2, &::link, &::unlink, &NoSync});
    ExpectNoReplacement(Race(kRaceAttempts), kRaceAttempts, "renameat2");
}

// A file system without RENAME_NOREPLACE (NFS, most FUSE drivers) answers EINVAL.
int WithoutNoReplace(int, const char*, int, const char*, unsigned int) {
    errno = EINVAL;
    return -1;
}

TEST(RenameFaults, TargetCreatedAtTheSameMomentIsNeverReplacedByTheLinkFallback) {
    const ScopedFileMoveCalls calls({&WithoutNoReplace, &::link, &::unlink, &NoSync});
    ExpectNoReplacement(Race(kRaceAttempts), kRaceAttempts, "link_fallback");
}

} // namespace
} // namespace tesslin
