#include "rename/FileMove.h"
#include "rename/FileMoveSeam.h"
#include "rename/RenameBatch.h"

#include "platform/Error.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <map>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tesslin {
namespace {

namespace fs = boost::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Every entry below `root`, relative name -> contents ("-> target" for a symbolic link).
// Comparing whole listings also catches stray temporary names left behind.
std::map<std::string, std::string> Listing(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
        const std::string name = fs::relative(it->path(), root).string();
        if (fs::is_symlink(it->symlink_status())) {
            entries[name] = "-> " + fs::read_symlink(it->path()).string();
        } else if (fs::is_regular_file(it->symlink_status())) {
            entries[name] = ReadFile(it->path().string());
        }
    }
    return entries;
}

// The message of the Error the move threw, or "" when it succeeded.
std::string MoveError(const std::string& from, const std::string& to) {
    try {
        MoveFileNoReplace(from, to);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

struct MoveCase {
    const char* what;
    std::map<std::string, std::string> before; // files to make, name -> contents
    std::function<void(const TempDir&)> prepare;
    const char* from;
    const char* to;
    const char* error; // "" when the move succeeds, else the end of the message
    std::map<std::string, std::string> after;
};

TEST(MoveFileNoReplace, MovesOrFailsLeavingEveryFileIntact) {
    using Files = std::map<std::string, std::string>;
    const auto none = [](const TempDir&) {};
    const auto danglingLink = [](const TempDir& d) { fs::create_symlink("nowhere", d / "b.smi"); };
    const auto hardLink = [](const TempDir& d) { fs::create_hard_link(d / "a.smi", d / "b.smi"); };
    const Files sub{{"a.smi", "sub"}};
    // clang-format off
    const MoveCase cases[] = {
        {"plain rename", sub, none, "a.smi", "b.smi", "", {{"b.smi", "sub"}}},
        {"into the partner's folder", {{"s/x.smi", "sub"}, {"v/a.avi", "vid"}}, none,
         "s/x.smi", "v/a.smi", "", {{"v/a.avi", "vid"}, {"v/a.smi", "sub"}}},
        {"names that are not UTF-8", {{"\xff\xfe.smi", "sub"}}, none, "\xff\xfe.smi",
         "\xb0\xa1.smi", "", {{"\xb0\xa1.smi", "sub"}}},
        {"target exists", {{"a.smi", "sub"}, {"b.smi", "precious"}}, none, "a.smi", "b.smi",
         ": File exists", {{"a.smi", "sub"}, {"b.smi", "precious"}}},
        {"target is a dangling symbolic link", sub, danglingLink, "a.smi", "b.smi",
         ": File exists", {{"a.smi", "sub"}, {"b.smi", "-> nowhere"}}},
        {"target is another hard link of the source", sub, hardLink, "a.smi", "b.smi",
         ": File exists", {{"a.smi", "sub"}, {"b.smi", "sub"}}},
        {"source gone", {{"b.smi", "other"}}, none, "a.smi", "c.smi",
         ": No such file or directory", {{"b.smi", "other"}}},
        {"target folder missing", sub, none, "a.smi", "missing/a.smi",
         ": No such file or directory", sub},
        {"same name", sub, none, "a.smi", "a.smi", "", sub},
        // Another spelling of the same entry takes the two-step path used for case-only
        // renames on volumes that ignore case; it must end with the one file, nothing else.
        {"same file, other spelling", sub, none, "./a.smi", "a.smi", "", sub},
    };
    // clang-format on
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        for (const auto& [name, bytes] : c.before) {
            WriteFile(dir / name, bytes);
        }
        c.prepare(dir);
        const std::string error = MoveError(dir / c.from, dir / c.to);
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(
                error.find("Cannot rename \"" + (dir / c.from) + "\" to \"" + (dir / c.to) + "\""),
                0u)
                << error;
            EXPECT_TRUE(error.ends_with(c.error)) << error;
        }
        EXPECT_EQ(Listing(dir.path()), c.after);
    }
}

// Injected failures: each call fails with its errno when set, else runs the real call.
// A rename failure may be limited to one call (counted from 1) to hit a later step.
int g_renameErr = 0;
int g_renameFailingCall = 0; // 0: every call
int g_renameCalls = 0;
int g_linkErr = 0;
int g_unlinkErr = 0;
int g_fsyncErr = 0;

int FakeRenameat2(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                  unsigned int flags) {
    ++g_renameCalls;
    if (g_renameErr != 0 && (g_renameFailingCall == 0 || g_renameFailingCall == g_renameCalls)) {
        errno = g_renameErr;
        return -1;
    }
    return ::renameat2(olddirfd, oldpath, newdirfd, newpath, flags);
}
int FakeLink(const char* from, const char* to) {
    if (g_linkErr != 0) {
        errno = g_linkErr;
        return -1;
    }
    return ::link(from, to);
}
int FakeUnlink(const char* path) {
    if (g_unlinkErr != 0) {
        errno = g_unlinkErr;
        return -1;
    }
    return ::unlink(path);
}
int FakeFsync(int fd) {
    if (g_fsyncErr != 0) {
        errno = g_fsyncErr;
        return -1;
    }
    return ::fsync(fd);
}

struct InjectedCase {
    const char* what;
    int renameErr;
    int renameFailingCall;
    int linkErr;
    int unlinkErr;
    int fsyncErr;
    bool targetExists;
    const char* from; // "a.smi" unless the case needs another spelling
    const char* error;
    std::map<std::string, std::string> after;
};

TEST(MoveFileNoReplace, FallbackChainNeverReplacesAndReportsEveryFailure) {
    const std::map<std::string, std::string> moved{{"b.smi", "sub"}};
    const std::map<std::string, std::string> unmoved{{"a.smi", "sub"}};
    // clang-format off
    const InjectedCase cases[] = {
        // A file system without RENAME_NOREPLACE (NFS, FUSE): link + unlink.
        {"no flag: link and unlink", EINVAL, 0, 0, 0, 0, false, "a.smi", "", moved},
        {"no flag, target exists", EINVAL, 0, 0, 0, 0, true, "a.smi", ": File exists",
         {{"a.smi", "sub"}, {"b.smi", "precious"}}},
        // FAT and exFAT through FUSE: neither the flag nor hard links.
        {"no flag, no hard links", EINVAL, 0, EPERM, 0, 0, false, "a.smi",
         ": Operation not permitted (this file system cannot rename a file without the risk "
         "of replacing another one)", unmoved},
        {"no flag, other volume", EINVAL, 0, EXDEV, 0, 0, false, "a.smi",
         ": Invalid cross-device link", unmoved},
        {"old name cannot be removed", EINVAL, 0, 0, EACCES, 0, false, "a.smi",
         " completely: the new name was made but the old one could not be removed, so both "
         "names now refer to the same file: Permission denied",
         {{"a.smi", "sub"}, {"b.smi", "sub"}}},
        {"folder cannot be flushed", 0, 0, 0, 0, EIO, false, "a.smi",
         ", but the change could not be written to the disk: Input/output error", moved},
        {"file system keeps no folder data to flush", 0, 0, 0, 0, EINVAL, false, "a.smi", "",
         moved},
        // Two-step rename of the same file: the second step fails, the file goes back.
        {"same file, second step fails", EIO, 3, 0, 0, 0, false, "./b.smi",
         ": Input/output error", moved},
    };
    // clang-format on
    const ScopedFileMoveCalls fake({&FakeRenameat2, &FakeLink, &FakeUnlink, &FakeFsync});
    for (const InjectedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        const bool sameFile = std::string(c.from) == "./b.smi";
        WriteFile(dir / (sameFile ? "b.smi" : "a.smi"), "sub");
        if (c.targetExists) {
            WriteFile(dir / "b.smi", "precious");
        }
        g_renameErr = c.renameErr;
        g_renameFailingCall = c.renameFailingCall;
        g_renameCalls = 0;
        g_linkErr = c.linkErr;
        g_unlinkErr = c.unlinkErr;
        g_fsyncErr = c.fsyncErr;
        const std::string error = MoveError(dir / c.from, dir / "b.smi");
        g_renameErr = g_linkErr = g_unlinkErr = g_fsyncErr = 0;
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_TRUE(error.ends_with(c.error)) << error;
        }
        EXPECT_EQ(Listing(dir.path()), c.after);
    }
}

TEST(MoveFileNoReplace, RefusesToMoveToAnotherFileSystem) {
    struct stat shm {};
    struct stat tmp {};
    const TempDir dir;
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.path().c_str(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev) {
        GTEST_SKIP() << "/dev/shm and the temporary folder are one file system here";
    }
    const fs::path other = fs::path("/dev/shm") / fs::unique_path("tesslin-move-%%%%-%%%%");
    WriteFile(other.string(), "sub");
    WriteFile(dir / "b.smi", "precious");
    // Through rename and through the hard-link fallback alike.
    for (const int renameErr : {0, EINVAL}) {
        g_renameErr = renameErr;
        g_renameFailingCall = 0;
        const ScopedFileMoveCalls fake({&FakeRenameat2, &::link, &::unlink, &::fsync});
        EXPECT_TRUE(
            MoveError(other.string(), dir / "a.smi").ends_with(": Invalid cross-device link"));
        const std::string onExisting = MoveError(other.string(), dir / "b.smi");
        EXPECT_TRUE(onExisting.ends_with(": Invalid cross-device link") ||
                    onExisting.ends_with(": File exists"))
            << onExisting;
        g_renameErr = 0;
    }
    EXPECT_EQ(ReadFile(other.string()), "sub");
    EXPECT_EQ(Listing(dir.path()), (std::map<std::string, std::string>{{"b.smi", "precious"}}));
    fs::remove(other);
}

// Folder permissions hold only for a user without root's override, so each case runs in a
// child that drops to "nobody" when the suite runs as root.
TEST(MoveFileNoReplace, ObeysFolderPermissions) {
    struct PermissionCase {
        const char* what;
        fs::perms sourceFolder;
        fs::perms targetFolder;
        const char* to;
        bool moves;
    };
    const fs::perms readOnly = fs::perms(0555);
    const fs::perms writable = fs::perms(0777);
    const fs::perms writeOnly = fs::perms(0333); // may rename in it, may not list it
    const PermissionCase cases[] = {
        {"read-only folder", readOnly, writable, "s/b.smi", false},
        {"read-only target folder", writable, readOnly, "v/a.smi", false},
        {"read-only source folder", readOnly, writable, "v/a.smi", false},
        {"folders that cannot be listed", writeOnly, writeOnly, "v/a.smi", true},
    };
    for (const PermissionCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        fs::permissions(dir.path(), fs::perms(0755));
        WriteFile(dir / "s/a.smi", "sub");
        fs::create_directory(dir / "v");
        fs::permissions(dir / "s", c.sourceFolder);
        fs::permissions(dir / "v", c.targetFolder);
        const std::string from = dir / "s/a.smi";
        const std::string to = dir / c.to;
        const int status = test::RunUnprivileged([&] {
            const std::string error = MoveError(from, to);
            if (c.moves) {
                return error.empty() ? 0 : 1;
            }
            return error.ends_with(": Permission denied") ? 0 : 2;
        });
        EXPECT_EQ(status, 0);
        fs::permissions(dir / "s", writable);
        fs::permissions(dir / "v", writable);
        EXPECT_EQ(fs::exists(from), !c.moves);
        EXPECT_EQ(fs::exists(to), c.moves);
    }
}

constexpr int kStop = -2;

// Waits until `flag` holds `value` or kStop (a short spin, then the kernel's futex);
// returns false for kStop.
bool WaitFor(const std::atomic<int>& flag, int value) {
    int seen = flag.load();
    for (; seen != value && seen != kStop; seen = flag.load()) {
        flag.wait(seen);
    }
    return seen == value;
}

void SpinFor(std::chrono::nanoseconds delay) {
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < delay) {
    }
}

// Another program creates the target at the same moment as the move: whichever comes first
// wins, and the other one must fail. A replaced file shows as the creator succeeding while
// the target holds the mover's contents, or as a failed move whose source is gone.
// Runs at most `attempts`, and after the first 300 stops once `budget` has passed, so that
// a busy machine (where each attempt may wait for the disk) keeps the test short.
void RaceAgainstCreator(int attempts, std::chrono::milliseconds budget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    const TempDir dir;
    const std::string from = dir / "a.smi";
    const std::string to = dir / "b.smi";
    // The mover waits `lead` (negative: the creator waits) before it acts. The lead follows
    // the outcomes, so that it settles where either side comes first about half the time:
    // right on the edge, whatever the machine's timing. A little noise keeps it moving.
    std::minstd_rand random(12345);
    std::uniform_int_distribution<int> noise(-1000, 1000);
    int lead = 0;                 // nanoseconds
    std::atomic<int> thisLead{0}; // the lead of the current attempt, noise included
    std::atomic<int> started{-1};
    std::atomic<int> finished{-1};
    std::atomic<bool> created{false};
    std::thread creator([&] {
        for (int i = 0; WaitFor(started, i); ++i) {
            SpinFor(std::chrono::nanoseconds(std::max(-thisLead.load(), 0)));
            const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                const std::string bytes = "creator " + std::to_string(i);
                created = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
                ::close(fd);
            }
            finished = i;
            finished.notify_one();
        }
    });
    int replaced = 0;
    int moverWon = 0;
    int creatorWon = 0;
    int i = 0;
    for (; i < attempts && (i < 300 || std::chrono::steady_clock::now() < deadline); ++i) {
        const std::string mine = "mover " + std::to_string(i);
        WriteFile(from, mine);
        created = false;
        thisLead = lead + noise(random);
        started = i;
        started.notify_one();
        SpinFor(std::chrono::nanoseconds(std::max(thisLead.load(), 0)));
        const std::string error = MoveError(from, to);
        WaitFor(finished, i);
        const std::string target = fs::exists(to) ? ReadFile(to) : "(none)";
        if (error.empty()) {
            ++moverWon;
            lead += 250;
            replaced += created || target != mine || fs::exists(from);
        } else {
            ++creatorWon;
            lead -= 250;
            replaced += !created || target != "creator " + std::to_string(i) || !fs::exists(from) ||
                        ReadFile(from) != mine || !error.ends_with(": File exists");
        }
        fs::remove(to);
        fs::remove(from);
    }
    started = kStop;
    started.notify_one();
    creator.join();
    EXPECT_EQ(replaced, 0);
    ::testing::Test::RecordProperty("attempts", i);
    ::testing::Test::RecordProperty("mover_won", moverWon);
    ::testing::Test::RecordProperty("creator_won", creatorWon);
}

// How often the two sides meet within a microsecond depends on free processors: on a busy
// machine the attempts mostly run one after the other. A check-then-rename mover is caught
// here within a few thousand attempts when two processors are free.
TEST(MoveFileNoReplace, NeverReplacesATargetCreatedAtTheSameMoment) {
    RaceAgainstCreator(2000, std::chrono::milliseconds(1500));
}

TEST(MoveFileNoReplace, LinkFallbackNeverReplacesATargetCreatedAtTheSameMoment) {
    g_renameErr = EINVAL;
    g_renameFailingCall = 0;
    const ScopedFileMoveCalls fake({&FakeRenameat2, &::link, &::unlink, &::fsync});
    RaceAgainstCreator(1000, std::chrono::milliseconds(500));
    g_renameErr = 0;
}

// Undo moves back only what it renamed: a file edited, replaced or whose old name was taken
// since stays as it is, and only the last batch is undone at a time.
TEST(RenameHistory, UndoesTheLastBatchAndLeavesChangedFilesAlone) {
    const TempDir dir;
    for (const char* name : {"x", "a", "c", "e", "g"}) {
        WriteFile(dir / (std::string(name) + ".smi"), name);
    }
    const auto step = [&dir](const char* from, const char* to) {
        return RenameStep{dir / from, dir / to};
    };
    RenameHistory history;
    history.Record(RunRenames({step("x.smi", "y.smi")}));
    const std::vector<StepResult> batch =
        RunRenames({step("a.smi", "b.smi"), step("c.smi", "d.smi"), step("e.smi", "f.smi"),
                    step("g.smi", "h.smi"), step("missing.smi", "m.smi")});
    EXPECT_TRUE(std::all_of(batch.begin(), batch.end() - 1, [](auto& r) { return r.done; }));
    EXPECT_FALSE(batch.back().done);
    history.Record(batch);

    WriteFile(dir / "d.smi", "c, edited"); // changed since
    fs::remove(dir / "f.smi");             // replaced by another file
    WriteFile(dir / "f.smi", "another e");
    WriteFile(dir / "g.smi", "another g"); // the old name taken
    std::vector<std::string> outcomes;
    for (const StepResult& result : history.UndoLast()) {
        outcomes.push_back(result.done ? "undone"
                                       : result.error.substr(result.error.rfind(' ') + 1));
    }
    EXPECT_EQ(outcomes, (std::vector<std::string>{"exists", "since", "since", "undone"}));
    EXPECT_EQ(Listing(dir.path()), (std::map<std::string, std::string>{{"a.smi", "a"},
                                                                       {"d.smi", "c, edited"},
                                                                       {"f.smi", "another e"},
                                                                       {"g.smi", "another g"},
                                                                       {"h.smi", "g"},
                                                                       {"y.smi", "x"}}));
    ASSERT_TRUE(history.CanUndo());
    EXPECT_TRUE(history.UndoLast().front().done);
    EXPECT_EQ(ReadFile(dir / "x.smi"), "x");
    EXPECT_FALSE(history.CanUndo());
}

} // namespace
} // namespace tesslin
