// Fault matrix of the settings file: what reading at start and writing at exit do when the
// file or its folder is not as expected, when the disk fills up and when the program is
// killed in the middle of a write. Every case runs on real files in a fresh working folder;
// the permission cases run as the user "nobody", so they hold when the tests run as root.
#include "settings/SettingsFile.h"

#include "platform/Error.h"
#include "platform/MessageSeam.h"
#include "tests/core/FaultSupport.h"
#include "tests/support/TempDir.h"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::ListFolder;
using test::Listing;
using test::ReadFile;
using test::ScopedWorkingDirectory;
using test::WriteFile;

Settings Defaults() {
    Settings s;
    s.ResetToDefaults();
    return s;
}

// The record in the file before the step, the record written by the step, and one too large
// for the space the disk-full cases leave.
Settings OldRecord() {
    Settings s = Defaults();
    s.vid_ext.value = {"old"};
    return s;
}
Settings NewRecord() {
    Settings s = Defaults();
    s.root_directory.value = "/videos/new # folder";
    s.vid_ext.value = {"mkv", "\"x y\""};
    return s;
}
Settings BigRecord() {
    Settings s = NewRecord();
    s.root_directory.value = std::string(256 * 1024, 'x');
    return s;
}
// What the document holds before reading: a failed read must leave it so.
Settings Sentinel() {
    Settings s = Defaults();
    s.vid_ext.value = {"sentinel"};
    return s;
}

const std::string kOld = FormatSettingsFile(OldRecord());
const std::string kNew = FormatSettingsFile(NewRecord());

// 64 KiB of bytes of every value, NUL included, the same in every run.
const std::string& Garbage() {
    static const std::string bytes = [] {
        std::mt19937 random(2024);
        std::string text(64 * 1024, '\0');
        for (char& c : text) {
            c = static_cast<char>(random() & 0xff);
        }
        return text;
    }();
    return bytes;
}

// The record a read left, by name.
std::string RecordName(const Settings& s) {
    Settings emptied;
    ApplySettingsMap({}, emptied);
    if (s == Sentinel()) {
        return "unchanged";
    }
    if (s == emptied) {
        return "emptied";
    }
    if (s == OldRecord()) {
        return "old";
    }
    return "other";
}

// A message with the working folder's path shortened to ".", the same in every run.
std::string InWorkingFolder(std::string text) {
    const std::string cwd = fs::current_path().string();
    for (std::size_t at; (at = text.find(cwd)) != std::string::npos;) {
        text.replace(at, cwd.size(), ".");
    }
    return text;
}

// Reads the settings file as the program does at start: "<messages shown> | <record>".
std::string ReadStep() {
    std::string shown;
    const MessageSink previous = SetMessageSink(
        [&](const std::string& text) { shown += shown.empty() ? text : "; " + text; });
    Settings s = Sentinel();
    ReadSettings(s);
    SetMessageSink(previous);
    return InWorkingFolder(shown) + " | " + RecordName(s);
}

// Writes the settings file as the program does at exit: "ok" or the error's text.
std::string WriteStep(const Settings& s) {
    try {
        WriteSettings(s);
        return "ok";
    } catch (const Error& e) {
        return InWorkingFolder(e.what());
    }
}

// The id of a process that has ended.
long EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// Limits the size of any file this process writes, as a full disk would; the write then
// fails with EFBIG instead of the process being stopped by SIGXFSZ.
void LimitFileSize() {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
}

void MakeFolderWritableByAll() {
    fs::permissions(".", fs::perms(0777));
}

enum class Step { Read, Write, WriteBig };

struct SettingsFault {
    const char* name;
    std::function<void()> arrange; // as root, in the working folder, before the step
    Step step;
    bool in_child;               // the step runs as "nobody" in a child process
    std::function<void()> limit; // inside the step's process, right before the step
    std::string outcome;         // what the step gives (see ReadStep, WriteStep)
    Listing after;               // the working folder's whole contents afterwards
};

TEST(SettingsFileFaults, EveryCaseKeepsTheFileWholeAndSaysWhatWentWrong) {
    const std::string file = "\n./" + kSettingsFileName + ": ";
    const auto not_opened = [&](const std::string& reason) {
        return kCannotOpenForReading + file + reason + " | unchanged";
    };
    const auto not_a_settings_file = [&](const std::string& reason) {
        return kNotASettingsFile + file + reason + " | unchanged";
    };
    const auto cannot_open = [&](const std::string& reason) {
        return kCannotOpenForWriting + file + reason;
    };
    const std::string nul_in_value = std::string("root_directory \"/tree") + '\0' + "/etc\"\n";
    const std::string other_program = "[General]\rautostart=1\rvid_ext=mkv\r";
    const std::string too_large = kOld + std::string(kLargestSettingsFile + 1 - kOld.size(), '#');
    const std::string leftover = kSettingsFileName + ".tmp." + std::to_string(EndedProcessId());
    const std::string running = kSettingsFileName + ".tmp.1.0"; // process 1 always runs
    const SettingsFault cases[] = {
        // Reading at start.
        {"missing", [] {}, Step::Read, false, {}, not_opened("No such file or directory"), {}},
        {"empty",
         [] { WriteFile(kSettingsFileName, ""); },
         Step::Read,
         false,
         {},
         " | emptied",
         {{kSettingsFileName, ""}}},
        {"only comments",
         [] { WriteFile(kSettingsFileName, "# one\r\n   # two \"x\"\n#three\n\n"); },
         Step::Read,
         false,
         {},
         " | emptied",
         {{kSettingsFileName, "# one\r\n   # two \"x\"\n#three\n\n"}}},
        // Files that are not settings files are not read (and so never written over).
        {"a NUL byte in a value",
         [&] { WriteFile(kSettingsFileName, nul_in_value); },
         Step::Read,
         false,
         {},
         not_a_settings_file("it holds a NUL byte"),
         {{kSettingsFileName, nul_in_value}}},
        {"another program's file with CR line ends",
         [&] { WriteFile(kSettingsFileName, other_program); },
         Step::Read,
         false,
         {},
         not_a_settings_file("no line starts with the name of a setting"),
         {{kSettingsFileName, other_program}}},
        {"over 1 MiB",
         [&] { WriteFile(kSettingsFileName, too_large); },
         Step::Read,
         false,
         {},
         not_opened("it holds 1048577 bytes, more than a settings file can (1048576)"),
         {{kSettingsFileName, too_large}}},
        {"a folder in its place",
         [] { fs::create_directory(kSettingsFileName); },
         Step::Read,
         false,
         {},
         not_opened("Is a directory"),
         {{kSettingsFileName, "<folder>"}}},
        // A program that opens a pipe for reading waits for a writer; the reader must not.
        {"a pipe in its place",
         [] {
             ::mkfifo(kSettingsFileName.c_str(), 0666);
             fs::permissions(kSettingsFileName, fs::perms(0666));
         },
         Step::Read,
         true,
         [] { ::alarm(10); },
         not_opened("not a regular file"),
         {{kSettingsFileName, "<other>"}}},
        {"unreadable",
         [] {
             WriteFile(kSettingsFileName, kOld);
             fs::permissions(kSettingsFileName, fs::no_perms);
         },
         Step::Read,
         true,
         {},
         not_opened("Permission denied"),
         {{kSettingsFileName, kOld}}},
        {"a symbolic link to the file",
         [] {
             WriteFile("real/settings.ini", kOld);
             fs::create_symlink("real/settings.ini", kSettingsFileName);
         },
         Step::Read,
         false,
         {},
         " | old",
         {{"real", "<folder>"},
          {"real/settings.ini", kOld},
          {kSettingsFileName, "-> real/settings.ini"}}},
        {"a dangling symbolic link",
         [] { fs::create_symlink("gone.ini", kSettingsFileName); },
         Step::Read,
         false,
         {},
         not_opened("No such file or directory"),
         {{kSettingsFileName, "-> gone.ini"}}},
        {"a symbolic-link loop",
         [] {
             fs::create_symlink("other.ini", kSettingsFileName);
             fs::create_symlink(kSettingsFileName, "other.ini");
         },
         Step::Read,
         false,
         {},
         not_opened("Too many levels of symbolic links"),
         {{kSettingsFileName, "-> other.ini"}, {"other.ini", "-> " + kSettingsFileName}}},

        // Writing at exit.
        {"missing", [] {}, Step::Write, false, {}, "ok", {{kSettingsFileName, kNew}}},
        {"existing",
         [] { WriteFile(kSettingsFileName, kOld); },
         Step::Write,
         false,
         {},
         "ok",
         {{kSettingsFileName, kNew}}},
        // A writer killed mid-write leaves its temporary file; the next write removes those of
        // writers that have ended, and only those.
        {"leftovers of writers",
         [&] {
             WriteFile(kSettingsFileName, kOld);
             WriteFile(leftover + ".0", "cut");
             WriteFile(leftover + ".12", "cut");
             WriteFile(running, "being written");
         },
         Step::Write,
         false,
         {},
         "ok",
         {{kSettingsFileName, kNew}, {running, "being written"}}},
        {"binary garbage replaced",
         [] { WriteFile(kSettingsFileName, Garbage()); },
         Step::Write,
         false,
         {},
         "ok",
         {{kSettingsFileName, kNew}}},
        {"a folder in its place",
         [] { fs::create_directory(kSettingsFileName); },
         Step::Write,
         false,
         {},
         cannot_open("Is a directory"),
         {{kSettingsFileName, "<folder>"}}},
        {"a pipe in its place",
         [] {
             ::mkfifo(kSettingsFileName.c_str(), 0666);
             fs::permissions(kSettingsFileName, fs::perms(0666));
         },
         Step::Write,
         true,
         [] { ::alarm(10); },
         cannot_open("not a regular file"),
         {{kSettingsFileName, "<other>"}}},
        {"read-only file",
         [] {
             MakeFolderWritableByAll();
             WriteFile(kSettingsFileName, kOld);
             fs::permissions(kSettingsFileName, fs::perms(0444));
         },
         Step::Write,
         true,
         {},
         cannot_open("Permission denied"),
         {{kSettingsFileName, kOld}}},
        {"a symbolic link to the file",
         [] {
             WriteFile("real/settings.ini", kOld);
             fs::create_symlink("real/settings.ini", kSettingsFileName);
         },
         Step::Write,
         false,
         {},
         "ok",
         {{"real", "<folder>"},
          {"real/settings.ini", kNew},
          {kSettingsFileName, "-> real/settings.ini"}}},
        {"a dangling symbolic link",
         [] {
             fs::create_directory("real");
             fs::create_symlink("real/settings.ini", kSettingsFileName);
         },
         Step::Write,
         false,
         {},
         "ok",
         {{"real", "<folder>"},
          {"real/settings.ini", kNew},
          {kSettingsFileName, "-> real/settings.ini"}}},
        {"read-only folder, file writable",
         [] {
             WriteFile(kSettingsFileName, kOld);
             fs::permissions(kSettingsFileName, fs::perms(0666));
             fs::permissions(".", fs::perms(0555));
         },
         Step::Write,
         true,
         {},
         cannot_open("cannot create the new file in its folder: Permission denied"),
         {{kSettingsFileName, kOld}}},
        {"read-only folder, no file",
         [] { fs::permissions(".", fs::perms(0555)); },
         Step::Write,
         true,
         {},
         cannot_open("cannot create the new file in its folder: Permission denied"),
         {}},
        {"disk full (file-size limit)",
         [] {
             MakeFolderWritableByAll();
             WriteFile(kSettingsFileName, kOld);
             fs::permissions(kSettingsFileName, fs::perms(0666));
         },
         Step::WriteBig,
         true,
         LimitFileSize,
         "Cannot write setting.ini: File too large",
         {{kSettingsFileName, kOld}}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step == Step::Read ? "read: " : "write: ") + c.name);
        ScopedWorkingDirectory cwd;
        c.arrange();
        const std::string outcome = test::RunStep(c.in_child, [&] {
            if (c.limit) {
                c.limit();
            }
            switch (c.step) {
            case Step::Read:
                return ReadStep();
            case Step::Write:
                return WriteStep(NewRecord());
            case Step::WriteBig:
                return WriteStep(BigRecord());
            }
            return std::string("no step");
        });
        EXPECT_EQ(outcome, c.outcome);
        fs::permissions(cwd.dir().path(), fs::perms(0755));
        EXPECT_EQ(ListFolder(cwd.dir().path()), c.after);
    }
}

// A full disk: the file system itself runs out of space. A small memory file system is
// mounted in a private mount namespace of a child process, so nothing outside the child sees
// it and it vanishes with the child. Needs the right to create namespaces (root, as in CI).
TEST(SettingsFileFaults, DiskFullDuringWriteKeepsTheOldFile) {
    const test::TempDir dir;
    const fs::path disk = dir.path() / "disk";
    fs::create_directory(disk);
    const std::string path = (disk / kSettingsFileName).string();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            ::_exit(77);
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(78);
        }
        int result = 0;
        try {
            WriteSettings(OldRecord(), path);
            try {
                WriteSettings(BigRecord(), path);
                result = 1;
            } catch (const Error& e) {
                const std::string expected = "Cannot write setting.ini: No space left on device";
                result = e.what() == expected ? 0 : 2;
            }
            if (ListFolder(disk) != Listing{{kSettingsFileName, kOld}}) {
                result = 3;
            }
        } catch (const std::exception&) {
            result = 4;
        }
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77 || WEXITSTATUS(status) == 78) {
        GTEST_SKIP() << "no right to mount a small file system here (needs root)";
    }
    // 1: the write did not fail; 2: wrong message; 3: the old file was lost or a temporary
    // file was left behind; 4: the old file could not be written in the first place.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The program killed at any moment of a write: afterwards the file is the old one or the new
// one, byte for byte, never a mixture or a cut. The writer runs in a child that rewrites the
// file in a loop with two large records; the child is killed after a random delay.
TEST(SettingsFileFaults, KilledWriterLeavesOldOrNewFileByteForByte) {
    ScopedWorkingDirectory cwd;
    Settings a = Defaults();
    a.root_directory.value = std::string(512 * 1024, 'a');
    Settings b = Defaults();
    b.root_directory.value = std::string(512 * 1024, 'b');
    b.vid_ext.value = {"b"};
    const std::string text_a = FormatSettingsFile(a);
    const std::string text_b = FormatSettingsFile(b);
    // The delays spread over two writes, however long a write takes on this machine.
    const auto start = std::chrono::steady_clock::now();
    WriteSettings(a);
    const auto one_write = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    std::mt19937 random(7);
    std::uniform_int_distribution<long> delay_us(0, 2 * one_write.count());
    constexpr int kTrials = 50;
    int torn = 0;
    int killed_mid_write = 0; // kills that left the writer's temporary file behind
    for (int trial = 0; trial < kTrials; ++trial) {
        // The child says when it starts writing, so that the delay counts from there and not
        // from the fork, which takes long under the sanitizers.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            try {
                for (int i = 0;; ++i) {
                    if (i == 0) {
                        [[maybe_unused]] const auto sent = ::write(ready[1], "r", 1);
                    }
                    WriteSettings(i % 2 == 0 ? b : a);
                }
            } catch (...) {
                ::_exit(1);
            }
        }
        ::close(ready[1]);
        char started = 0;
        [[maybe_unused]] const auto got = ::read(ready[0], &started, 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string now = ReadFile(kSettingsFileName);
        torn += now != text_a && now != text_b;
        for (const auto& [name, contents] : ListFolder(cwd.dir().path())) {
            if (name != kSettingsFileName) {
                ++killed_mid_write;
                fs::remove(name);
            }
        }
    }
    EXPECT_EQ(torn, 0);
    // How many kills landed inside a write depends on the machine's timing (under the
    // sanitizers most of the time goes to formatting, before the temporary file exists), so
    // it is recorded, not required; docs/RELIABILITY.md gives the figure of a plain build.
    ::testing::Test::RecordProperty("trials", kTrials);
    ::testing::Test::RecordProperty("killed_mid_write", killed_mid_write);
}

} // namespace
} // namespace tesslin
