// The file move that never replaces: a target that exists, a source that is gone, folders the
// user may not change, another file system, and file systems without RENAME_NOREPLACE or hard
// links (through the move's seam, which can make any step fail with a chosen errno). Every case
// states the system calls the move made, in order, the outcome and the folder afterwards.
#include "rename/FileMove.h"

#include "platform/Error.h"
#include "rename/FileMoveSeam.h"
#include "rename/RenameBatch.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <sys/stat.h>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::Listing;

struct Injected {
    int renameat2 = 0;   // errno the step fails with; 0: the real call
    int rename_call = 0; // only this renameat2 call fails (counted from 1); 0: every call
    int link = 0;
    int unlink = 0;
    int fsync = 0;
    bool create_first = false; // another program creates the target right before the call
};

Injected g_inject;
std::string g_trace;
int g_rename_calls = 0;

bool Fails(const char* name, int err) {
    g_trace += g_trace.empty() ? name : std::string(" ") + name;
    errno = err;
    return err != 0;
}
// The other program's file, made right before the move's own call.
void CreateFirst(const char* to) {
    if (g_inject.create_first) {
        test::WriteFile(to, "creator");
    }
}
int TracedRenameat2(int olddirfd, const char* from, int newdirfd, const char* to, unsigned flags) {
    ++g_rename_calls;
    CreateFirst(to);
    const bool this_call = g_inject.rename_call == 0 || g_inject.rename_call == g_rename_calls;
    return Fails("renameat2", this_call ? g_inject.renameat2 : 0)
               ? -1
               : ::renameat2(olddirfd, from, newdirfd, to, flags);
}
int TracedLink(const char* from, const char* to) {
    CreateFirst(to);
    return Fails("link", g_inject.link) ? -1 : ::link(from, to);
}
int TracedUnlink(const char* path) {
    return Fails("unlink", g_inject.unlink) ? -1 : ::unlink(path);
}
int TracedFsync(int fd) {
    return Fails("fsync", g_inject.fsync) ? -1 : ::fsync(fd);
}

struct MoveCase {
    const char* name;
    Listing before; // entries to make (see test::MakeEntries)
    const char* from;
    const char* to; // below the test folder unless absolute
    Injected inject;
    fs::perms source_folder; // modes of the folders s/ and v/, when the case has them
    fs::perms target_folder;
    bool in_child;       // the move runs as "nobody", to whom folder permissions apply
    std::string outcome; // "ok" or the error's text, the test folder shown as <dir>
    std::string trace;   // the system calls the move made, in order
    Listing after;       // the folder's whole contents afterwards
};

std::string Cannot(const std::string& from, const std::string& to) {
    return "Cannot rename \"<dir>/" + from + "\" to \"" + (to[0] == '/' ? "" : "<dir>/") + to +
           "\": ";
}

TEST(MoveFileNoReplace, NothingIsReplacedOrLostAndEveryFailureIsReported) {
    const Listing pair{{"a.smi", "subtitle"}, {"b.smi", "other"}};
    const Listing alone{{"a.smi", "subtitle"}};
    const Listing moved{{"b.smi", "subtitle"}};
    const Listing folders{{"s/a.smi", "subtitle"}, {"v", "<folder>"}};
    const fs::perms rw = fs::perms(0777);
    const fs::perms ro = fs::perms(0555);
    const std::string other_fs = "/dev/shm/tesslin-move-" + std::to_string(::getpid()) + ".smi";
    const std::string no_hard_links =
        "Operation not permitted (this file system cannot rename a file without the risk of "
        "replacing another one)";
    // clang-format off
    const MoveCase cases[] = {
        {"names that are not UTF-8", {{"\xff\xfe.smi", "subtitle"}}, "\xff\xfe.smi",
         "\xb0\xa1.smi", {}, rw, rw, false, "ok", "renameat2 fsync", {{"\xb0\xa1.smi", "subtitle"}}},
        {"into another folder: both folders synced", {{"s/a.smi", "subtitle"}, {"v/a.avi", "v"}},
         "s/a.smi", "v/a.smi", {}, rw, rw, false, "ok", "renameat2 fsync fsync",
         {{"s", "<folder>"}, {"v", "<folder>"}, {"v/a.avi", "v"}, {"v/a.smi", "subtitle"}}},
        {"target exists", pair, "a.smi", "b.smi", {}, rw, rw, false,
         Cannot("a.smi", "b.smi") + "File exists", "renameat2", pair},
        {"target a dangling link", {{"a.smi", "subtitle"}, {"b.smi", "-> gone"}}, "a.smi", "b.smi",
         {}, rw, rw, false, Cannot("a.smi", "b.smi") + "File exists", "renameat2",
         {{"a.smi", "subtitle"}, {"b.smi", "-> gone"}}},
        {"target a folder", {{"a.smi", "subtitle"}, {"b.smi", "<folder>"}}, "a.smi", "b.smi", {},
         rw, rw, false, Cannot("a.smi", "b.smi") + "File exists", "renameat2",
         {{"a.smi", "subtitle"}, {"b.smi", "<folder>"}}},
        // Between any check a mover might make and its rename, the target appears.
        {"a target created at the same moment", alone, "a.smi", "b.smi", {.create_first = true},
         rw, rw, false, Cannot("a.smi", "b.smi") + "File exists", "renameat2",
         {{"a.smi", "subtitle"}, {"b.smi", "creator"}}},
        {"the same, no RENAME_NOREPLACE", alone, "a.smi", "b.smi",
         {.renameat2 = EINVAL, .create_first = true}, rw, rw, false,
         Cannot("a.smi", "b.smi") + "File exists", "renameat2 link",
         {{"a.smi", "subtitle"}, {"b.smi", "creator"}}},
        {"source gone", {}, "a.smi", "b.smi", {}, rw, rw, false,
         Cannot("a.smi", "b.smi") + "No such file or directory", "renameat2", {}},
        {"the same name", alone, "a.smi", "a.smi", {}, rw, rw, false, "ok", "renameat2", alone},
        // Another spelling of one file: the two no-replace steps of a case-only rename.
        {"the same file, other spelling", alone, "./a.smi", "a.smi", {}, rw, rw, false, "ok",
         "renameat2 renameat2 renameat2 fsync fsync", alone},
        {"the same file, second step fails: the file goes back", alone, "./a.smi", "a.smi",
         {.renameat2 = EIO, .rename_call = 3}, rw, rw, false,
         Cannot("./a.smi", "a.smi") + "Input/output error",
         "renameat2 renameat2 renameat2 renameat2", alone},
        {"read-only folder", folders, "s/a.smi", "s/b.smi", {}, ro, rw, true,
         Cannot("s/a.smi", "s/b.smi") + "Permission denied", "renameat2",
         {{"s", "<folder>"}, {"s/a.smi", "subtitle"}, {"v", "<folder>"}}},
        {"read-only target folder", folders, "s/a.smi", "v/a.smi", {}, rw, ro, true,
         Cannot("s/a.smi", "v/a.smi") + "Permission denied", "renameat2",
         {{"s", "<folder>"}, {"s/a.smi", "subtitle"}, {"v", "<folder>"}}},
        // Folders one may change but not list cannot be opened to sync: sync() instead.
        {"folders that cannot be listed", folders, "s/a.smi", "v/a.smi", {}, fs::perms(0333),
         fs::perms(0333), true, "ok", "renameat2",
         {{"s", "<folder>"}, {"v", "<folder>"}, {"v/a.smi", "subtitle"}}},
        {"another file system: never a copy", alone, "a.smi", other_fs.c_str(), {}, rw, rw, false,
         Cannot("a.smi", other_fs) + "Invalid cross-device link", "renameat2", alone},
        {"no RENAME_NOREPLACE, another file system", alone, "a.smi", other_fs.c_str(),
         {.renameat2 = EINVAL}, rw, rw, false,
         Cannot("a.smi", other_fs) + "Invalid cross-device link", "renameat2 link", alone},
        // File systems without RENAME_NOREPLACE (NFS, FUSE) answer EINVAL: link, then unlink.
        {"no RENAME_NOREPLACE", alone, "a.smi", "b.smi", {.renameat2 = EINVAL}, rw, rw, false,
         "ok", "renameat2 link unlink fsync", moved},
        {"no RENAME_NOREPLACE, target exists", pair, "a.smi", "b.smi", {.renameat2 = EINVAL}, rw,
         rw, false, Cannot("a.smi", "b.smi") + "File exists", "renameat2 link", pair},
        {"no RENAME_NOREPLACE, source gone", {}, "a.smi", "b.smi", {.renameat2 = EINVAL}, rw, rw,
         false, Cannot("a.smi", "b.smi") + "No such file or directory", "renameat2 link", {}},
        {"neither RENAME_NOREPLACE nor hard links (FAT, exFAT)", alone, "a.smi", "b.smi",
         {.renameat2 = EINVAL, .link = EPERM}, rw, rw, false,
         Cannot("a.smi", "b.smi") + no_hard_links, "renameat2 link", alone},
        {"rename refused outright: no fallback", alone, "a.smi", "b.smi", {.renameat2 = EPERM},
         rw, rw, false, Cannot("a.smi", "b.smi") + "Operation not permitted", "renameat2", alone},
        {"hard link made, old name cannot be removed", alone, "a.smi", "b.smi",
         {.renameat2 = EINVAL, .unlink = EACCES}, rw, rw, false,
         "Cannot rename \"<dir>/a.smi\" to \"<dir>/b.smi\" completely: the new name was made but "
         "the old one could not be removed, so both names now refer to the same file: "
         "Permission denied", "renameat2 link unlink", {{"a.smi", "subtitle"}, {"b.smi", "subtitle"}}},
        {"renamed, but the folder cannot be synced", alone, "a.smi", "b.smi", {.fsync = EIO}, rw,
         rw, false, "Renamed \"<dir>/a.smi\" to \"<dir>/b.smi\", but the change could not be "
         "written to the disk: Input/output error", "renameat2 fsync", moved},
        {"a file system that keeps no folder data to sync", alone, "a.smi", "b.smi",
         {.fsync = EINVAL}, rw, rw, false, "ok", "renameat2 fsync", moved},
    };
    // clang-format on
    struct stat shm {};
    struct stat tmp {};
    const bool two_file_systems = ::stat("/dev/shm", &shm) == 0 &&
                                  ::stat(fs::temp_directory_path().c_str(), &tmp) == 0 &&
                                  shm.st_dev != tmp.st_dev;
    const ScopedFileMoveCalls traced({&TracedRenameat2, &TracedLink, &TracedUnlink, &TracedFsync});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.to[0] == '/' && !two_file_systems) {
            continue; // /dev/shm is no file system of its own here
        }
        const test::TempDir dir;
        const std::string root = dir.path().string();
        fs::permissions(dir.path(), fs::perms(0755));
        test::MakeEntries(dir.path(), c.before);
        if (c.before.count("v")) {
            fs::permissions(dir / "s", c.source_folder);
            fs::permissions(dir / "v", c.target_folder);
        }
        g_inject = c.inject;
        g_trace.clear();
        g_rename_calls = 0;
        // A child's trace stays in the child; it comes back in front of the outcome.
        std::string result = test::RunStep(c.in_child, [&] {
            std::string outcome = "ok";
            try {
                MoveFileNoReplace(root + "/" + c.from, c.to[0] == '/' ? c.to : root + "/" + c.to);
            } catch (const Error& e) {
                outcome = e.what();
            }
            return g_trace + "\n" + outcome;
        });
        g_inject = {};
        boost::replace_all(result, root, "<dir>");
        EXPECT_EQ(result, c.trace + "\n" + c.outcome);
        fs::permissions(dir.path(), fs::perms(0755));
        if (c.before.count("v")) {
            fs::permissions(dir / "s", rw);
            fs::permissions(dir / "v", rw);
        }
        EXPECT_EQ(test::ListFolder(dir.path()), c.after);
        EXPECT_FALSE(fs::exists(other_fs));
    }
}

// Undo moves back only what it renamed: a file edited (in place, to the same size),
// replaced or whose old name was taken since stays as it is, a step that failed is not
// undone (its new name may be the user's own file), a batch where nothing was done is no
// batch, a stopped undo keeps what it did not try, and only the last batch goes at a time.
TEST(RenameHistory, UndoesTheLastBatchAndLeavesChangedFilesAlone) {
    const test::TempDir dir;
    for (const char* name : {"x", "a", "c", "e", "g", "taken"}) {
        test::WriteFile(dir / (std::string(name) + ".smi"), name);
        // Made long ago: an edit now shows in the modification time.
        fs::last_write_time(dir / (std::string(name) + ".smi"), 1000000000);
    }
    const auto step = [&dir](const char* from, const char* to) {
        return RenameStep{dir / from, dir / to};
    };
    RenameHistory history;
    history.Record(RunRenames({step("x.smi", "y.smi")}));
    const std::vector<StepResult> batch =
        RunRenames({step("a.smi", "b.smi"), step("c.smi", "d.smi"), step("e.smi", "f.smi"),
                    step("g.smi", "h.smi"), step("missing.smi", "taken.smi")});
    EXPECT_TRUE(std::all_of(batch.begin(), batch.end() - 1, [](auto& r) { return r.done; }));
    EXPECT_FALSE(batch.back().done);
    history.Record(batch);

    test::WriteFile(dir / "d.smi", "C"); // edited in place, the same size
    fs::remove(dir / "f.smi");           // replaced by another file
    test::WriteFile(dir / "f.smi", "E");
    test::WriteFile(dir / "g.smi", "another g"); // the old name taken
    BatchProgress stopped;
    stopped.stop = true;
    EXPECT_TRUE(history.UndoLast(&stopped).empty());
    history.Record(RunRenames({step("gone.smi", "z.smi")}));
    std::vector<std::string> outcomes;
    for (const StepResult& result : history.UndoLast()) {
        outcomes.push_back(result.done ? "undone"
                                       : result.error.substr(result.error.rfind(' ') + 1));
    }
    EXPECT_EQ(outcomes, (std::vector<std::string>{"exists", "since", "since", "undone"}));
    EXPECT_EQ(test::ListFolder(dir.path()), (Listing{{"a.smi", "a"},
                                                     {"d.smi", "C"},
                                                     {"f.smi", "E"},
                                                     {"g.smi", "another g"},
                                                     {"h.smi", "g"},
                                                     {"taken.smi", "taken"},
                                                     {"y.smi", "x"}}));
    ASSERT_TRUE(history.CanUndo());
    EXPECT_TRUE(history.UndoLast().front().done);
    EXPECT_EQ(test::ReadFile(dir / "x.smi"), "x");
    EXPECT_FALSE(history.CanUndo());
}

} // namespace
} // namespace tesslin
