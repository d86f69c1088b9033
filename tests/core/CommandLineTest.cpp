#include "cli/CommandLine.h"

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tesslin {
namespace {

namespace fs = boost::filesystem;
using test::ReadFile;
using test::ScopedWorkingDirectory;
using test::TempDir;
using test::WriteFile;
using Args = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunTesslin(const Args& args) {
    std::vector<const char*> argv{"tesslin"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCommandLine(int(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

// `text` with every "R" that stands for the scanned folder replaced by its path.
std::string WithRoot(std::string text, const std::string& root) {
    boost::replace_all(text, "R/", root + "/");
    boost::replace_all(text, "\"R\"", "\"" + root + "\"");
    return text;
}

TEST(CommandLineScan, ListsVideosThenSubtitlesInNameKeyOrderByteForByte) {
    const TempDir dir;
    const std::string root = dir.path().string();
    for (const char* name : {"a.avi", "B.avi", "x.y.avi", "x y.avi", "m.avi", "m.smi", "z.smi",
                             "c.smi", "n\nl.avi", "\xff.smi"}) {
        WriteFile(dir / name, "x");
    }
    WriteFile(dir / "empty.avi", "");
    for (const char end : {'\n', '\0'}) {
        SCOPED_TRACE(end == '\0' ? "-0" : "line feeds");
        std::string expected;
        for (const char* record :
             {"video\tB.avi", "video\ta.avi", "video\tn\nl.avi", "video\tx y.avi", "video\tx.y.avi",
              "subtitle\tc.smi", "subtitle\tz.smi", "subtitle\t\xff.smi"}) {
            std::string line = record;
            line.insert(line.find('\t') + 1, root + "/");
            expected += line + end;
        }
        const Outcome outcome =
            RunTesslin(end == '\0' ? Args{"scan", root, "-0"} : Args{"scan", root});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, expected);
        EXPECT_EQ(outcome.err, "");
    }
}

struct SettingsCase {
    const char* what;
    const char* settingsFile; // "" for none
    const char* settingsText;
    Args args;
    int status;
    const char* out;
    const char* err; // standard error, with the working folder written "."
};

TEST(CommandLineScan, OptionsDefaultFromTheSettingsFileWhichIsNeverWritten) {
    const ScopedWorkingDirectory cwd;
    const std::string root = cwd.dir() / "lib";
    for (const char* name : {"v.avi", "w.mkv", "s.smi", "t.srt", "deep/x.mkv", "deep/y.srt"}) {
        WriteFile(root + "/" + name, "x");
    }
    const char* const ini = "TesslinGUI.ini";
    const char* const fileWithRoot =
        "root_directory \"R\"\nvid_ext mkv\nsub_ext srt\nis_recursive 1\n";
    // clang-format off
    const SettingsCase cases[] = {
        {"no settings file: the defaults", "", "", {"scan", "R"}, 0,
         "video\tR/v.avi\nvideo\tR/w.mkv\nsubtitle\tR/s.smi\n", ""},
        {"root, lists and recursion from the file", ini, fileWithRoot, {"scan"}, 0,
         "video\tR/deep/x.mkv\nvideo\tR/w.mkv\nsubtitle\tR/deep/y.srt\nsubtitle\tR/t.srt\n", ""},
        {"options override the file", ini, fileWithRoot,
         {"scan", "--video-ext", "avi", "--sub-ext", " smi\tsrt "}, 0,
         "video\tR/v.avi\nsubtitle\tR/deep/y.srt\nsubtitle\tR/s.smi\nsubtitle\tR/t.srt\n", ""},
        {"ROOT overrides the file's root", ini,
         "root_directory \"/nowhere\"\nvid_ext avi\nsub_ext smi\n", {"scan", "R"}, 0,
         "video\tR/v.avi\nsubtitle\tR/s.smi\n", ""},
        {"-r turns recursion on", "", "", {"scan", "R", "-r"}, 0,
         "video\tR/deep/x.mkv\nvideo\tR/v.avi\nvideo\tR/w.mkv\nsubtitle\tR/s.smi\n", ""},
        // The file's filters are off (no use_ keys); the option replaces one and turns it on.
        {"a regex option turns its filter on", ini,
         "root_directory \"R\"\nvid_ext avi mkv\nsub_ext smi srt\nvid_regex ^v\nsub_regex ^t\n",
         {"scan", "--sub-regex", "^s"}, 0,
         "video\tR/v.avi\nvideo\tR/w.mkv\nsubtitle\tR/s.smi\n", ""},
        {"another settings file", "conf/my.ini", "root_directory \"R\"\nvid_ext avi\n",
         {"scan", "--settings", "conf/my.ini"}, 0, "video\tR/v.avi\n", ""},
        {"a value the reader rejects is reported, the scan goes on", ini,
         "root_directory \"R\"\nvid_ext mkv\nis_recursive true\n", {"scan"}, 0,
         "video\tR/w.mkv\n",
         "tesslin: TesslinGUI.ini: bad lexical cast: source type value could not be interpreted "
         "as target\nLine 3: is_recursive \"true\" is neither 1 nor 0. These settings were not "
         "read and keep their defaults: is_recursive, rename_sub_file.\n"},
        {"a file that is no settings file is reported, the scan runs on the defaults", ini,
         "[Paths]\nroot=R\n", {"scan", "R"}, 0,
         "video\tR/v.avi\nvideo\tR/w.mkv\nsubtitle\tR/s.smi\n",
         "tesslin: TesslinGUI.ini: The file is not recognised as a settings file: it was not read "
         "and will not be changed; the default settings are used.\n./TesslinGUI.ini: no line "
         "starts with the name of a setting\n"},
        {"a named settings file that is missing", "", "",
         {"scan", "R", "--settings", "missing.ini"}, 1, "",
         "tesslin: missing.ini: file not opened\n./missing.ini: No such file or directory\n"},
    };
    // clang-format on
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = WithRoot(c.settingsText, root);
        if (*c.settingsFile != '\0') {
            WriteFile(c.settingsFile, text);
        }
        Args args;
        for (const std::string& arg : c.args) {
            args.push_back(arg == "R" ? root : arg);
        }
        const Outcome outcome = RunTesslin(args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.out, WithRoot(c.out, root));
        std::string err = outcome.err;
        boost::replace_all(err, fs::current_path().string() + "/", "./");
        EXPECT_EQ(err, c.err);
        if (*c.settingsFile != '\0') {
            EXPECT_EQ(ReadFile(c.settingsFile), text);
            fs::remove(c.settingsFile);
        }
        EXPECT_FALSE(fs::exists(ini));
    }
}

TEST(CommandLineScan, SkippedFoldersGoToStandardErrorAndTheScanCompletes) {
    const TempDir dir;
    fs::permissions(dir.path(), fs::perms(0755));
    const std::string root = dir.path().string();
    WriteFile(dir / "a.avi", "x");
    WriteFile(dir / "locked/b.avi", "x");
    fs::permissions(dir / "locked", fs::no_perms);
    // Root reads every folder, so the check runs as an unprivileged user.
    const int status = test::RunUnprivileged([&] {
        const Outcome outcome = RunTesslin({"scan", "-r", root});
        return outcome.status == 0 && outcome.out == "video\t" + root + "/a.avi\n" &&
                       outcome.err == "tesslin: skipped " + root + "/locked: Permission denied\n"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST(CommandLine, ExitStatusTellsDoneFailedAndUsageErrors) {
    const ScopedWorkingDirectory cwd;
    fs::create_directory("lib");
    struct StatusCase {
        Args args;
        int status;
        const char* err; // the start of standard error
    };
    const StatusCase cases[] = {
        {{"scan", "lib"}, 0, ""},
        {{"--version"}, 0, ""},
        {{"--help"}, 0, ""},
        {{"scan", "--help"}, 0, ""},
        {{"rename", "--help"}, 0, ""},
        {{"scan", "missing"}, 1, "tesslin: "},
        {{"scan", ""}, 1, "tesslin: "},
        {{"scan", "lib", "--video-regex", "("}, 1, "tesslin: "},
        {{}, 2, "Usage: tesslin scan"},
        {{"frobnicate"}, 2, "tesslin: unknown command 'frobnicate'\nTry 'tesslin --help'.\n"},
        {{"scan", "--bogus"}, 2, "tesslin: unrecognised option '--bogus'\n"},
        {{"scan", "--rec", "lib"}, 2, "tesslin: unrecognised option '--rec'\n"},
        {{"scan", "lib", "other"}, 2, "tesslin: too many positional options"},
        {{"scan", "lib", "--video-ext"}, 2, "tesslin: the required argument for option"},
        {{"rename", "a.avi"}, 2, "tesslin: rename needs a VIDEO and a SUBTITLE file\n"},
        {{"rename", "a.avi", "a.smi", "b.smi"}, 2, "tesslin: too many positional options"},
        {{"suggest", "missing"}, 1, "tesslin: "},
        {{"apply", "missing.txt"}, 1, "tesslin: missing.txt: No such file or directory\n"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args[0] + " ...");
        const Outcome outcome = RunTesslin(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(outcome.err.starts_with(c.err)) << outcome.err;
        if (c.status == 1) {
            EXPECT_EQ(outcome.out, "");
        }
    }
    EXPECT_EQ(RunTesslin({"--version"}).out, "tesslin 0.1\n");
    EXPECT_TRUE(
        RunTesslin({"scan", "-h"}).out.starts_with("Usage: tesslin scan [ROOT] [OPTIONS]\n"));
}

struct RenameCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files; // name -> contents
    Args args;
    int status;
    const char* out;
    const char* err; // the end of standard error
    std::vector<std::pair<std::string, std::string>> after;
};

TEST(CommandLineRename, RenamesEitherFileAndNeverReplaces) {
    // clang-format off
    const RenameCase cases[] = {
        {"the subtitle takes the video's name", {{"v/movie.avi", "vid"}, {"s/x.smi", "sub"}},
         {"rename", "v/movie.avi", "s/x.smi"}, 0, "s/x.smi -> v/movie.smi\n", "",
         {{"v/movie.avi", "vid"}, {"v/movie.smi", "sub"}}},
        {"the video takes the subtitle's name",
         {{"v/movie.avi", "vid"}, {"v/Movie.KOR.smi", "sub"}},
         {"rename", "--rename-video", "v/movie.avi", "v/Movie.KOR.smi"}, 0,
         "v/movie.avi -> v/Movie.KOR.avi\n", "",
         {{"v/Movie.KOR.avi", "vid"}, {"v/Movie.KOR.smi", "sub"}}},
        {"an existing file is never replaced",
         {{"a.avi", "vid"}, {"a.smi", "precious"}, {"b.smi", "sub"}},
         {"rename", "a.avi", "b.smi"}, 1, "", ": File exists\n",
         {{"a.avi", "vid"}, {"a.smi", "precious"}, {"b.smi", "sub"}}},
        {"the file to rename is gone", {{"a.avi", "vid"}}, {"rename", "a.avi", "b.smi"}, 1, "",
         ": No such file or directory\n", {{"a.avi", "vid"}}},
        {"the file to rename has no extension", {{"a.avi", "vid"}, {"sub", "sub"}},
         {"rename", "a.avi", "sub"}, 1, "", "", {{"a.avi", "vid"}, {"sub", "sub"}}},
        {"a dot in a folder is no extension", {{"dir.x/sub", "sub"}, {"v.x/keep", "k"}},
         {"rename", "v", "dir.x/sub"}, 1, "", "has no extension: dir.x/sub\n",
         {{"dir.x/sub", "sub"}, {"v.x/keep", "k"}}},
        {"a new name that is only the extension", {{"s/x.smi", "sub"}},
         {"rename", "", "s/x.smi"}, 1, "", "", {{"s/x.smi", "sub"}}},
        {"a folder is no file", {{"s.smi/inner", "in"}}, {"rename", "v.avi", "s.smi"}, 1, "",
         "names no regular file: s.smi\n", {{"s.smi/inner", "in"}}},
        {"a trailing separator names no file", {{"s.smi/inner", "in"}},
         {"rename", "v.avi", "s.smi/"}, 1, "", "so it names no file: s.smi/\n",
         {{"s.smi/inner", "in"}}},
    };
    // clang-format on
    for (const RenameCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ScopedWorkingDirectory cwd;
        for (const auto& [name, bytes] : c.files) {
            WriteFile(name, bytes);
        }
        const Outcome outcome = RunTesslin(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_TRUE(outcome.err.starts_with(c.status == 0 ? "" : "tesslin: ")) << outcome.err;
        EXPECT_TRUE(outcome.err.ends_with(c.err)) << outcome.err;
        std::vector<std::pair<std::string, std::string>> after;
        for (fs::recursive_directory_iterator it("."), end; it != end; ++it) {
            if (fs::is_regular_file(it->status())) {
                after.emplace_back(it->path().string().substr(2), ReadFile(it->path().string()));
            }
        }
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, c.after);
    }
}

// The real program, as a shell script would run it: exit statuses and the NUL-ended records
// on its own standard output.
Outcome RunProgram(const Args& args, const char* program = TESSLIN_CLI,
                   const std::string& folder = ".") {
    const TempDir capture;
    const std::string outPath = capture / "out";
    const std::string errPath = capture / "err";
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        ::execv(program, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outPath), ReadFile(errPath)};
}

TEST(CommandLineProgram, ExitStatusesAndNulEndedRecords) {
    const TempDir dir;
    const std::string root = dir.path().string();
    WriteFile(dir / "a b.avi", "x");
    WriteFile(dir / "c\nd.smi", "x");

    const Outcome scan = RunProgram({"scan", root, "-0"});
    EXPECT_EQ(scan.status, 0);
    using namespace std::string_literals;
    EXPECT_EQ(scan.out, "video\t"s + root + "/a b.avi\0subtitle\t"s + root + "/c\nd.smi\0"s);
    EXPECT_EQ(scan.err, "");

    const Outcome failed = RunProgram({"scan", root + "/missing"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("No such file or directory"), std::string::npos) << failed.err;

    EXPECT_EQ(RunProgram({"scan", "--bogus"}).status, 2);

    WriteFile(dir / "c.smi", "precious");
    const Outcome refused = RunProgram({"rename", root + "/c.avi", root + "/c\nd.smi"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(ReadFile(dir / "c.smi"), "precious");
}

// The whole road of a library through a pipe: suggest proposes, apply renames, nothing
// ambiguous moves, and a second run finds nothing left to do.
TEST(CommandLineProgram, SuggestPipedIntoApplyPairsTheLibrary) {
    const TempDir dir;
    const std::string root = dir.path().string();
    for (const char* name :
         {"Drama.S01E02.1080p.WEB-DL.H264-GRP.mkv", "Drama.S01E02.smi", "Odd\nName E03.mkv",
          "odd\nname 3화.smi", "movie/Movie.2019.1080p.BluRay.x264.mkv", "movie/Movie (2019).smi",
          "Show.S01E02.720p.mkv", "Show.S01E02.1080p.mkv", "Show.S01E02.smi", "Tab\tShow E04.mkv",
          "tab\tshow 4화.smi"}) {
        WriteFile(dir / name, name);
    }
    // A name with a tab cannot travel in a record: it would be read back as other names.
    const Args pipe = {"-c",
                       "\"$0\" suggest \"$1\" -r -0 --sub-ext smi 2>\"$1/suggest.err\" | "
                       "\"$0\" apply -0",
                       TESSLIN_CLI, root};
    const Outcome road = RunProgram(pipe, "/bin/sh");
    EXPECT_EQ(road.status, 0) << road.err;
    EXPECT_EQ(road.err, "");
    const std::pair<std::string, std::string> renamed[] = {
        {"Drama.S01E02.smi", "Drama.S01E02.1080p.WEB-DL.H264-GRP.smi"},
        {"movie/Movie (2019).smi", "movie/Movie.2019.1080p.BluRay.x264.smi"},
        {"odd\nname 3화.smi", "Odd\nName E03.smi"},
    };
    std::string out;
    for (const auto& [from, to] : renamed) {
        out += root + "/" + from + " -> " + root + "/" + to + "\n";
        EXPECT_EQ(ReadFile(dir / to), from);
    }
    EXPECT_EQ(road.out, out);
    EXPECT_EQ(ReadFile(dir / "suggest.err"), "tesslin: left alone " + root +
                                                 "/Show.S01E02.smi: 2 videos fit: "
                                                 "Show.S01E02.1080p.mkv, Show.S01E02.720p.mkv\n"
                                                 "tesslin: left alone " +
                                                 root +
                                                 "/tab\tshow 4화.smi: the name holds a tab\n");
    EXPECT_EQ(ReadFile(dir / "Show.S01E02.smi"), "Show.S01E02.smi");

    const Outcome again = RunProgram(pipe, "/bin/sh");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "");

    // A rename that fails is reported and the others go on; the exit status says so.
    WriteFile(dir / "a.smi", "a");
    WriteFile(dir / "b.smi", "b");
    WriteFile(dir / "records", "a.smi\tb.smi\tname\nb.smi\tc.smi\n");
    const Outcome partly = RunProgram({"apply", dir / "records"}, TESSLIN_CLI, root);
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(partly.out, "b.smi -> c.smi\n");
    EXPECT_TRUE(partly.err.ends_with(": File exists\n")) << partly.err;
    EXPECT_EQ(ReadFile(dir / "a.smi"), "a");
    EXPECT_EQ(ReadFile(dir / "c.smi"), "b");
}

} // namespace
} // namespace tesslin
