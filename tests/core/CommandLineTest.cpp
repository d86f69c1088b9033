// The command line `tesslin`: every command's output, standard error, exit status and the files
// afterwards, in a fresh working folder; then one road through the real program as a shell
// script runs it (NUL-ended records, exit statuses, a full disk on standard output, a pipe).
#include "cli/CommandLine.h"

#include "tests/support/TempDir.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::Listing;
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

// Matches `text` exactly; "..." in `expected` stands for any text.
bool Matches(const std::string& text, const std::string& expected) {
    const std::size_t dots = expected.find("...");
    if (dots == std::string::npos) {
        return text == expected;
    }
    const std::string head = expected.substr(0, dots);
    const std::string tail = expected.substr(dots + 3);
    return text.size() >= head.size() + tail.size() && text.starts_with(head) &&
           text.ends_with(tail);
}

struct CommandCase {
    const char* what;
    Listing before; // the working folder's entries
    Args args;
    int status;
    std::string out;
    std::string err;
    Listing after = {}; // the folder afterwards; empty: as before (nothing written)
};

TEST(CommandLine, EveryCommandsOutputStatusAndFiles) {
    const Listing lib{{"lib/v.avi", "x"}, {"lib/w.mkv", "x"},      {"lib/s.smi", "x"},
                      {"lib/t.srt", "x"}, {"lib/deep/x.mkv", "x"}, {"lib/deep/y.srt", "x"}};
    const auto with = [&](Listing more) {
        more.insert(lib.begin(), lib.end());
        return more;
    };
    const char* const ini = "TesslinGUI.ini";
    const std::string from_file = "root_directory lib\nvid_ext mkv\nsub_ext srt\nis_recursive 1\n";
    const std::string records =
        "video\tn/B.avi\nvideo\tn/a.avi\nvideo\tn/l\nf.avi\nvideo\tn/x y.avi\n"
        "video\tn/x.y.avi\nsubtitle\tn/c.smi\nsubtitle\tn/z.smi\nsubtitle\tn/\xff.smi\n";
    const std::string nul_records(
        "video\tn/B.avi\0video\tn/a.avi\0video\tn/l\nf.avi\0video\tn/x y.avi\0video\tn/x.y.avi\0"
        "subtitle\tn/c.smi\0subtitle\tn/z.smi\0subtitle\tn/\xff.smi\0",
        records.size());
    const Listing names{{"n/a.avi", "x"},    {"n/B.avi", "x"},   {"n/x.y.avi", "x"},
                        {"n/x y.avi", "x"},  {"n/m.avi", "x"},   {"n/m.smi", "x"},
                        {"n/z.smi", "x"},    {"n/c.smi", "x"},   {"n/l\nf.avi", "x"},
                        {"n/\xff.smi", "x"}, {"n/empty.avi", ""}};
    const std::string bad_boolean =
        "tesslin: TesslinGUI.ini: bad lexical cast: source type value could not be interpreted as "
        "target\nLine 3: is_recursive \"true\" is neither 1 nor 0. These settings were not read "
        "and keep their defaults: is_recursive, rename_sub_file.\n";
    // clang-format off
    const CommandCase cases[] = {
        {"scan: videos, then subtitles, in name-key order, byte for byte", names, {"scan", "n"}, 0, records, ""},
        {"scan -0: records end with NUL", names, {"scan", "n", "-0"}, 0, nul_records, ""},
        {"no settings file: the defaults", lib, {"scan", "lib"}, 0,
         "video\tlib/v.avi\nvideo\tlib/w.mkv\nsubtitle\tlib/s.smi\n", ""},
        {"root, lists and recursion from the file", with({{ini, from_file}}), {"scan"}, 0,
         "video\tlib/deep/x.mkv\nvideo\tlib/w.mkv\nsubtitle\tlib/deep/y.srt\nsubtitle\tlib/t.srt\n", ""},
        {"options override the file", with({{ini, from_file}}),
         {"scan", "--video-ext", "avi", "--sub-ext", " smi\tsrt "}, 0,
         "video\tlib/v.avi\nsubtitle\tlib/deep/y.srt\nsubtitle\tlib/s.smi\nsubtitle\tlib/t.srt\n", ""},
        {"ROOT overrides the file's root", with({{ini, "root_directory /nowhere\nvid_ext avi\n"}}),
         {"scan", "lib"}, 0, "video\tlib/v.avi\n", ""},
        {"-r turns recursion on", lib, {"scan", "lib", "-r"}, 0,
         "video\tlib/deep/x.mkv\nvideo\tlib/v.avi\nvideo\tlib/w.mkv\nsubtitle\tlib/s.smi\n", ""},
        // The file's filters are off (no use_ keys); an option replaces one and turns it on.
        {"a regex option turns its filter on",
         with({{ini, "root_directory lib\nvid_ext avi mkv\nsub_ext smi srt\nvid_regex ^v\nsub_regex ^t\n"}}),
         {"scan", "--sub-regex", "^s"}, 0, "video\tlib/v.avi\nvideo\tlib/w.mkv\nsubtitle\tlib/s.smi\n", ""},
        {"another settings file", with({{"conf/my.ini", "root_directory lib\nvid_ext avi\n"}}),
         {"scan", "--settings", "conf/my.ini"}, 0, "video\tlib/v.avi\n", ""},
        {"a value the reader rejects is reported, the scan goes on",
         with({{ini, "root_directory lib\nvid_ext mkv\nis_recursive true\n"}}), {"scan"}, 0,
         "video\tlib/w.mkv\n", bad_boolean},
        {"a file that is no settings file is reported, the scan runs on the defaults",
         with({{ini, "[Paths]\nroot=lib\n"}}), {"scan", "lib"}, 0,
         "video\tlib/v.avi\nvideo\tlib/w.mkv\nsubtitle\tlib/s.smi\n",
         "tesslin: TesslinGUI.ini: The file is not recognised as a settings file: it was not read "
         "and will not be changed; the default settings are used.\n./TesslinGUI.ini: no line "
         "starts with the name of a setting\n"},
        {"a named settings file that is missing", lib, {"scan", "lib", "--settings", "none.ini"}, 1,
         "", "tesslin: none.ini: file not opened\n./none.ini: No such file or directory\n"},
        {"skipped entries go to standard error, the scan completes", {{"lib/a.avi", "x"}, {"lib/loop.avi", "-> loop.avi"}},
         {"scan", "lib"}, 0, "video\tlib/a.avi\n", "tesslin: skipped lib/loop.avi: Too many levels of symbolic links\n"},
        {"a missing root", {}, {"scan", "missing"}, 1, "",
         "tesslin: Cannot read \"missing\": No such file or directory\n"},
        {"an empty root", {}, {"scan", ""}, 1, "", "tesslin: Cannot read an empty path: No such file or directory\n"},
        {"an invalid pattern", lib, {"scan", "lib", "--video-regex", "("}, 1, "",
         "tesslin: Invalid regular expression: Unmatched marking parenthesis...", {}},
        {"--version", {}, {"--version"}, 0, "tesslin 0.1\n", ""},
        {"--help", {}, {"--help"}, 0, "Usage: tesslin scan [ROOT] [OPTIONS]\n...", ""},
        {"scan -h", {}, {"scan", "-h"}, 0, "Usage: tesslin scan [ROOT] [OPTIONS]\n\n...", ""},
        {"rename --help", {}, {"rename", "--help"}, 0, "Usage: tesslin rename VIDEO SUBTITLE...", ""},
        {"no command", {}, {}, 2, "", "Usage: tesslin scan..."},
        {"an unknown command", {}, {"frobnicate"}, 2, "",
         "tesslin: unknown command 'frobnicate'\nTry 'tesslin --help'.\n"},
        {"an unknown option", {}, {"scan", "--bogus"}, 2, "",
         "tesslin: unrecognised option '--bogus'\nTry 'tesslin scan --help'.\n"},
        {"no guessing of options", {}, {"scan", "--rec", "lib"}, 2, "", "tesslin: unrecognised option '--rec'\n..."},
        {"two roots", {}, {"scan", "lib", "other"}, 2, "", "tesslin: too many positional options..."},
        {"an option without its value", {}, {"scan", "lib", "--video-ext"}, 2, "",
         "tesslin: the required argument for option..."},
        {"rename needs two files", {}, {"rename", "a.avi"}, 2, "",
         "tesslin: rename needs a VIDEO and a SUBTITLE file\n..."},
        {"rename takes two files", {}, {"rename", "a.avi", "a.smi", "b.smi"}, 2, "",
         "tesslin: too many positional options..."},
        {"suggest: a missing root", {}, {"suggest", "missing"}, 1, "", "tesslin: ..."},
        {"apply: a missing list", {}, {"apply", "missing.txt"}, 1, "",
         "tesslin: missing.txt: No such file or directory\n"},
        // A name holding a tab cannot travel in a record, the current one or the new one: it
        // would be read back as other names.
        {"suggest: a record per pair; what is ambiguous or cannot travel is left alone",
         {{"s/Drama.S01E02.1080p.mkv", "x"}, {"s/Drama.S01E02.smi", "x"}, {"s/Show.S01E02.720p.mkv", "x"},
          {"s/Show.S01E02.1080p.mkv", "x"}, {"s/Show.S01E02.smi", "x"}, {"s/Tab\tShow S01E04.mkv", "x"},
          {"s/tab show 4화.smi", "x"}, {"s/Show S01E05.mkv", "x"}, {"s/show\t5화.smi", "x"}},
         {"suggest", "s"}, 0, "s/Drama.S01E02.smi\ts/Drama.S01E02.1080p.smi\tepisode\n",
         "tesslin: left alone s/Show.S01E02.smi: 2 videos fit: Show.S01E02.1080p.mkv, Show.S01E02.720p.mkv\n"
         "tesslin: left alone s/show\t5화.smi: the name holds a tab or line feed or ends in a CR (try -0)\n"
         "tesslin: left alone s/tab show 4화.smi: the name holds a tab or line feed or ends in a CR (try -0)\n"},
        // Folders matched side by side: "Subs" is matched with its parent, whose record waits
        // for "Sp"'s; a video the scan does not list (its extension in capitals) still makes the
        // episode rule's subtitle ambiguous.
        {"suggest -j 2: the records and messages of one run over the whole tree",
         {{"m/a/A/Film.2001.mkv", "x"}, {"m/a/A/Film (2001).smi", "x"}, {"m/a/Show.S01E01.mkv", "x"},
          {"m/a/Show E01.smi", "x"}, {"m/a/Show.S01E02.mkv", "x"}, {"m/a/Subs/Show E02.smi", "x"},
          {"m/a/Sp/Clip.S01E07.1080p.mkv", "x"}, {"m/a/Sp/Clip E07.smi", "x"}, {"m/c/Show.S01E03.MKV", "x"},
          {"m/c/Show.S01E03.720p.mkv", "x"}, {"m/c/Show E03.smi", "x"}},
         {"suggest", "m", "-r", "-j", "2"}, 0,
         "m/a/A/Film (2001).smi\tm/a/A/Film.2001.smi\ttitle\nm/a/Show E01.smi\tm/a/Show.S01E01.smi\tepisode\n"
         "m/a/Sp/Clip E07.smi\tm/a/Sp/Clip.S01E07.1080p.smi\tepisode\n"
         "m/a/Subs/Show E02.smi\tm/a/Show.S01E02.smi\tepisode\n",
         "tesslin: left alone m/c/Show E03.smi: 2 videos fit: Show.S01E03.720p.mkv, Show.S01E03.MKV\n"},
        {"suggest --keep-language-tag: the new name keeps the tag",
         {{"k/Drama.S01E02.1080p.mkv", "x"}, {"k/Drama.S01E02.ko.smi", "x"}}, {"suggest", "k", "--keep-language-tag"},
         0, "k/Drama.S01E02.ko.smi\tk/Drama.S01E02.1080p.ko.smi\tepisode\n", ""},
        // Records are taken for what they say only when whole; the others go on.
        {"apply -0: a failed rename and a record cut off are reported",
         {{"list", std::string("a.smi\tb.smi\tname\0b.smi\tc.smi\0d.smi\td_", 37)}, {"a.smi", "a"}, {"b.smi", "b"},
          {"d.smi", "d"}},
         {"apply", "-0", "list"}, 1, "b.smi -> c.smi\n",
         "tesslin: Cannot rename \"a.smi\" to \"b.smi\": File exists\n"
         "tesslin: record 3 is cut off: the input ends without its NUL byte\n",
         {{"list", std::string("a.smi\tb.smi\tname\0b.smi\tc.smi\0d.smi\td_", 37)}, {"a.smi", "a"}, {"c.smi", "b"},
          {"d.smi", "d"}}},
        {"apply: CR LF ends a line; a file's last line may lack its line feed",
         {{"list", "a.smi\tb.smi\r\nc.smi\td.smi"}, {"a.smi", "a"}, {"c.smi", "c"}}, {"apply", "list"}, 0,
         "a.smi -> b.smi\nc.smi -> d.smi\n", "",
         {{"list", "a.smi\tb.smi\r\nc.smi\td.smi"}, {"b.smi", "a"}, {"d.smi", "c"}}},
        {"apply: a NUL in a line and another extension are refused",
         {{"list", std::string("x.smi\tb\0.evil.smi\nv.mkv\tv.smi\nh.smi\th\n", 38)}, {"x.smi", "x"}, {"v.mkv", "v"},
          {"h.smi", "h"}},
         {"apply", "list"}, 1, "",
         "tesslin: record 1 holds a NUL byte\n"
         "tesslin: The new name does not keep the extension \".mkv\" of the file to rename: \"v.mkv\" to \"v.smi\"\n"
         "tesslin: The new name does not keep the extension \".smi\" of the file to rename: \"h.smi\" to \"h\"\n"},
        {"apply: a link with a relative target moves only within its folder",
         {{"list", "Subs/ep.smi\tep.smi\nSubs/a.smi\tSubs/b.smi\n"}, {"Subs/ep.smi", "-> ../store/ep.smi"},
          {"Subs/a.smi", "-> ../store/ep.smi"}, {"store/ep.smi", "s"}},
         {"apply", "list"}, 1, "Subs/a.smi -> Subs/b.smi\n",
         "tesslin: The file to rename is a symbolic link to the relative path \"../store/ep.smi\", which would "
         "lead elsewhere from another folder: \"Subs/ep.smi\" to \"ep.smi\"\n",
         {{"list", "Subs/ep.smi\tep.smi\nSubs/a.smi\tSubs/b.smi\n"}, {"Subs/ep.smi", "-> ../store/ep.smi"},
          {"Subs/b.smi", "-> ../store/ep.smi"}, {"store/ep.smi", "s"}}},
        {"rename: the subtitle takes the video's name", {{"v/movie.avi", "vid"}, {"s/x.smi", "sub"}},
         {"rename", "v/movie.avi", "s/x.smi"}, 0, "s/x.smi -> v/movie.smi\n", "",
         {{"s", "<folder>"}, {"v", "<folder>"}, {"v/movie.avi", "vid"}, {"v/movie.smi", "sub"}}},
        {"rename: the video takes the subtitle's name", {{"movie.avi", "vid"}, {"Movie.KOR.smi", "sub"}},
         {"rename", "--rename-video", "movie.avi", "Movie.KOR.smi"}, 0,
         "movie.avi -> Movie.KOR.avi\n", "", {{"Movie.KOR.avi", "vid"}, {"Movie.KOR.smi", "sub"}}},
        {"rename: a name that differs only in letter case", {{"Movie.avi", "vid"}, {"movie.smi", "sub"}},
         {"rename", "Movie.avi", "movie.smi"}, 0, "movie.smi -> Movie.smi\n", "",
         {{"Movie.avi", "vid"}, {"Movie.smi", "sub"}}},
#ifdef _WIN32
        {"rename: Windows' separators", {{"v/movie.avi", "vid"}, {"s/x.smi", "sub"}},
         {"rename", "v\\movie.avi", "s\\x.smi"}, 0, "s/x.smi -> v/movie.smi\n", "",
         {{"s", "<folder>"}, {"v", "<folder>"}, {"v/movie.avi", "vid"}, {"v/movie.smi", "sub"}}},
        {"scan: the default root, the system drive's", {}, {"scan"}, 0, "", ""},
#endif
        {"rename: an existing file is never replaced", {{"a.avi", "vid"}, {"a.smi", "precious"}, {"b.smi", "sub"}},
         {"rename", "a.avi", "b.smi"}, 1, "", "tesslin: Cannot rename \"b.smi\" to \"a.smi\": File exists\n"},
        {"rename: the file is gone", {{"a.avi", "vid"}}, {"rename", "a.avi", "b.smi"}, 1, "",
         "tesslin: Cannot rename \"b.smi\" to \"a.smi\": No such file or directory\n"},
        {"rename: the file has no extension", {{"a.avi", "vid"}, {"sub", "sub"}}, {"rename", "a.avi", "sub"}, 1,
         "", "tesslin: The file to rename has no extension: sub\n"},
        {"rename: a dot in a folder is no extension", {{"dir.x/sub", "sub"}, {"v.x/keep", "k"}},
         {"rename", "v", "dir.x/sub"}, 1, "", "tesslin: ...has no extension: dir.x/sub\n"},
        {"rename: a new name that is only the extension", {{"s/x.smi", "sub"}},
         {"rename", "", "s/x.smi"}, 1, "", "tesslin: ..."},
        {"rename: a folder is no file", {{"s.smi/inner", "in"}}, {"rename", "v.avi", "s.smi"}, 1, "",
         "tesslin: ...names no regular file: s.smi\n"},
        {"apply: a file without an extension is refused", {{"list", "sub\tv.smi\n"}, {"sub", "x"}},
         {"apply", "list"}, 1, "", "tesslin: The file to rename has no extension: sub\n"},
        {"rename: a trailing separator names no file", {{"s.smi/inner", "in"}},
         {"rename", "v.avi", "s.smi/"}, 1, "", "tesslin: ...so it names no file: s.smi/\n"},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (!test::SystemCanHold(c.before)) {
            continue;
        }
        const test::ScopedWorkingDirectory cwd;
        test::MakeEntries(cwd.dir().path(), c.before);
        Outcome outcome = RunTesslin(c.args);
        outcome.out = test::Slashed(outcome.out);
        outcome.err = test::Slashed(outcome.err);
        boost::replace_all(outcome.err, test::Slashed(cwd.dir().path().string()) + "/", "./");
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(Matches(outcome.out, c.out)) << outcome.out;
        EXPECT_TRUE(Matches(outcome.err, c.err)) << outcome.err;
        Listing expected = c.after.empty() ? c.before : c.after;
        for (const auto& [name, contents] : c.before) {
            for (fs::path up = fs::path(name).parent_path(); !up.empty(); up = up.parent_path()) {
                expected.emplace(up.string(), "<folder>");
            }
        }
        EXPECT_EQ(test::ListFolder(cwd.dir().path()), expected);
    }
}

#ifndef _WIN32 // /bin/sh, /dev/full and names with line feeds
// `text` as one word of a shell's command line.
std::string Quoted(const std::string& text) {
    return "'" + boost::replace_all_copy(text, "'", "'\\''") + "'";
}

// `command` (the real `tesslin` and its arguments, quoted; or any shell text) run by the
// shell, standard output going to `out_path`.
Outcome RunShell(const std::string& command, const std::string& out_path) {
    const test::TempDir capture;
    const std::string err_path = capture / "err";
    const int status =
        std::system((command + " >" + Quoted(out_path) + " 2>" + Quoted(err_path)).c_str());
    const std::string out = out_path == "/dev/full" ? "" : test::ReadFile(out_path);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, test::ReadFile(err_path)};
}
Outcome RunProgram(const Args& args, const std::string& out_path) {
    std::string command = Quoted(TESSLIN_CLI);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    return RunShell(command, out_path);
}

TEST(CommandLine, RoadThroughTheRealProgram) {
    using namespace std::string_literals;
    const test::TempDir dir;
    const std::string root = dir.path().string();
    const std::string out = dir / "out";
    test::WriteFile(dir / "a b.avi", "x");
    test::WriteFile(dir / "c\nd.smi", "x");
    const Outcome scan = RunProgram({"scan", root, "-0"}, out);
    EXPECT_EQ(scan.status, 0);
    EXPECT_EQ(scan.out, "video\t"s + root + "/a b.avi\0subtitle\t"s + root + "/c\nd.smi\0"s);
    EXPECT_EQ(scan.err, "");

    const Outcome full = RunProgram({"scan", root}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tesslin: cannot write the list to standard output\n");

    EXPECT_EQ(RunProgram({"scan", root + "/missing"}, out).status, 1);
    EXPECT_EQ(RunProgram({"scan", "--bogus"}, out).status, 2);
    test::WriteFile(dir / "c.smi", "precious");
    EXPECT_EQ(RunProgram({"rename", root + "/c.avi", root + "/c\nd.smi"}, out).status, 1);
    EXPECT_EQ(test::ReadFile(dir / "c.smi"), "precious");
    const Outcome renamed = RunProgram({"rename", root + "/a b.avi", root + "/c\nd.smi"}, out);
    EXPECT_EQ(renamed.status, 0);
    EXPECT_EQ(test::ReadFile(dir / "a b.smi"), "x");

    // Suggestions piped into apply, NUL-ended: a name with a line feed travels whole.
    test::WriteFile(dir / "Odd\nName E03.mkv", "x");
    test::WriteFile(dir / "odd\nname 3화.smi", "s");
    const Outcome piped = RunShell(Quoted(TESSLIN_CLI) + " suggest " + Quoted(root) +
                                       " -0 2>/dev/null | " + Quoted(TESSLIN_CLI) + " apply -0",
                                   out);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, root + "/odd\nname 3화.smi -> " + root + "/Odd\nName E03.smi\n");
    EXPECT_EQ(test::ReadFile(dir / "Odd\nName E03.smi"), "s");

    // From a pipe, a last line without its line feed is a stream cut off. Each line is out
    // before apply waits for the next record, and a signal then ends it.
    const Outcome cut = RunShell("printf 'e.smi\\tf.smi' | " + Quoted(TESSLIN_CLI) + " apply", out);
    EXPECT_EQ(cut.err, "tesslin: record 1 is cut off: the input ends without its line feed\n");
    test::WriteFile(dir / "e.smi", "e");
    const Outcome stopped = RunShell(
        "cd " + Quoted(root) + " && mkfifo in && (" + Quoted(TESSLIN_CLI) +
            " apply in >lines & exec 3>in; printf 'e.smi\\tf.smi\\n' >&3; for i in $(seq 400); "
            "do [ -s lines ] && break; sleep 0.05; done; kill -TERM $!; wait $!; echo $?; cat "
            "lines)",
        out);
    EXPECT_EQ(stopped.out, "130\ne.smi -> f.smi\n");
}

#endif

} // namespace
} // namespace tesslin
