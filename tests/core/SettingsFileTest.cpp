#include "settings/SettingsFile.h"

#include "platform/Error.h"
#include "platform/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = boost::filesystem;

namespace tesslin {
namespace {

using test::ReadFile;
using test::ScopedWorkingDirectory;
using test::WriteFile;
using Values = std::vector<std::string>;

Settings Defaults() {
    Settings s;
    s.ResetToDefaults();
    return s;
}

// Collects what the settings reader shows to the user.
class MessageCapture {
public:
    MessageCapture()
        : previous_(SetMessageSink([this](const std::string& text) { shown.push_back(text); })) {}
    ~MessageCapture() { SetMessageSink(previous_); }
    Values shown;

private:
    MessageSink previous_;
};

const char kDefaultFile[] =
    "# Program-generated setting file.\r\n"
    "# Read the manual to modify.\r\n"
    "\r\n"
    "autostart 0 # 프로그램이 시작할 때 미리 기록된 세팅 하에 자동 검색을 수행.\r\n"
    "root_directory \"/\" # 검색을 수행하는 기준 디렉토리.\r\n"
    "vid_ext avi mkv mp4 wmv # 영상 파일의 확장자.\r\n"
    "sub_ext smi # 자막 파일의 확장자.\r\n"
    "vid_regex  # 검색된 영상 파일에 대해 수행할 정규식.\r\n"
    "sub_regex  # 검색된 자막 파일에 대해 수행할 정규식.\r\n"
    "use_vid_regex 0 # 영상 파일에 대해 정규식 검사 수행 여부를 결정.\r\n"
    "use_sub_regex 0 # 자막 파일에 대해 정규식 검사 수행 여부를 결정.\r\n"
    "is_recursive 0 # 재귀 검색을 수행할지를 결정.\r\n"
    "rename_sub_file 1 # true 이면 자막 파일을 영상 파일 이름에 맞춰 변경하고, false이면 그 "
    "반대로 한다.\r\n";

TEST(SettingsRecord, ResetRestoresEveryDefault) {
    Settings s;
    s.vid_ext.value = {"x", "y"};
    s.sub_ext.value = {};
    s.rename_sub_file.value = false;
    s.is_recursive.value = true;
    s.ResetToDefaults();
    EXPECT_EQ(s.vid_ext.value, (Values{"avi", "mkv", "mp4", "wmv"}));
    EXPECT_EQ(s.sub_ext.value, Values{"smi"});
    EXPECT_TRUE(s.rename_sub_file.value);
    EXPECT_FALSE(s.is_recursive.value || s.autostart.value || s.use_vid_regex.value ||
                 s.use_sub_regex.value);
    EXPECT_EQ(s.root_directory.value, "/");
    EXPECT_EQ(s.vid_regex.value, "");
}

TEST(SettingsFile, DefaultRecordIsWrittenByteForByte) {
    ScopedWorkingDirectory cwd;
    WriteSettings(Defaults());
    EXPECT_EQ(ReadFile(kSettingsFileName), kDefaultFile);
}

TEST(SettingsFile, DefaultFileParsesToTheDocumentedMap) {
    const SettingsMap map = ParseSettingsText(kDefaultFile);
    const SettingsMap expected = {
        {"#", {"Read", "the", "manual", "to", "modify."}},
        {"autostart", {"0"}},
        {"root_directory", {"/"}},
        {"vid_ext", {"avi", "mkv", "mp4", "wmv"}},
        {"sub_ext", {"smi"}},
        {"use_vid_regex", {"0"}},
        {"use_sub_regex", {"0"}},
        {"is_recursive", {"0"}},
        {"rename_sub_file", {"1"}},
    };
    EXPECT_EQ(map, expected);
}

TEST(SettingsFile, TokenizerRules) {
    struct Case {
        const char* line;
        Values values; // empty: the key is not stored
    };
    const Case cases[] = {
        {"k \"D:\\My Videos\"", {"D:\\My Videos"}},
        {"k avi,mkv", {"avi,mkv"}},
        {"k a\"\"b", {"a\"b"}},
        {"k \"x y\"", {"x y"}},
        {"k \"open quote to the end ", {"open quote to the end "}},
        {"k x\"y z\"", {"xy z"}},
        {"k \"a\"b", {"a", "b"}},
        {"k", {}},
        {"k   # only a comment", {}},
        {"k a#b", {"a"}},
        {"k \"a#b\" c", {"a#b", "c"}}, // a number sign inside quotes is kept
        {"k \"\"", {""}},              // two quotes alone: the empty text
        {"k \"\"\"\" # x", {"\""}},    // four quotes alone: one quote
        {"k \"\"\" x", {"\" x"}},
        {"k \"\"\"a\"", {"\"a"}},
        {"k \t a \v\f b\r", {"a", "b"}},
        {"k \xea\xb0\x80 \x80\xff", {"\xea\xb0\x80", "\x80\xff"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const SettingsMap map = ParseSettingsText(c.line);
        if (c.values.empty()) {
            EXPECT_EQ(map.count("k"), 0u);
        } else {
            ASSERT_EQ(map.count("k"), 1u);
            EXPECT_EQ(map.at("k"), c.values);
        }
    }
}

TEST(SettingsFile, LayoutOfTheFileDoesNotMatter) {
    const SettingsMap map = ParseSettingsText("\n\n   sub_ext  a\n"
                                              "vid_ext x\r\nvid_ext\nvid_ext y z\n"
                                              "\tis_recursive 1");
    EXPECT_EQ(map.at("sub_ext"), Values{"a"});
    EXPECT_EQ(map.at("vid_ext"), (Values{"y", "z"})); // the later line with values wins
    EXPECT_EQ(map.at("is_recursive"), Values{"1"});
}

TEST(SettingsFile, BooleanConversion) {
    const std::pair<const char*, int> cases[] = {
        {"1", 1},   {"+1", 1},  {"0", 0},     {"+0", 0},  {"-0", 0},  {"true", -1}, {"2", -1},
        {"01", -1}, {"-1", -1}, {"\"\"", -1}, {"1 0", 1}, {"0 1", 0}, {"yes", -1},  {"false", -1},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        Settings s;
        const std::string file = std::string("vid_ext mkv\nis_recursive ") + text + "\n";
        if (expected < 0) {
            try {
                ApplySettingsMap(ParseSettingsText(file), s);
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), kBadBooleanValue);
            }
            // Keys before the failing one keep the file's values, the rest their defaults.
            EXPECT_EQ(s.vid_ext.value, Values{"mkv"});
            EXPECT_FALSE(s.is_recursive.value);
            EXPECT_TRUE(s.rename_sub_file.value);
        } else {
            ApplySettingsMap(ParseSettingsText(file), s);
            EXPECT_EQ(s.is_recursive.value, expected == 1);
        }
    }
}

TEST(SettingsFile, AbsentKeysLoseTheirDefaults) {
    for (const char* text : {"", "# only\n#comments\n", "unknown 1\n"}) {
        Settings s;
        ApplySettingsMap(ParseSettingsText(text), s);
        Settings expected = Defaults();
        expected.rename_sub_file.value = false;
        expected.root_directory.value.clear();
        expected.vid_ext.value.clear();
        expected.sub_ext.value.clear();
        EXPECT_EQ(s, expected) << text;
    }
}

// Every record the writer accepts reads back equal; tried over short values made of the
// characters that the format gives a meaning.
TEST(SettingsFile, EveryWritableValueSurvivesWriteAndRead) {
    const std::string alphabet = std::string("a \"#\r\t\x80", 7);
    std::vector<std::string> values = {""};
    for (std::size_t length = 1, first = 0; length <= 4; ++length) {
        const std::size_t end = values.size();
        for (std::size_t i = first; i < end; ++i) {
            for (char c : alphabet) {
                values.push_back(values[i] + c);
            }
        }
        first = end;
    }
    int refused = 0;
    for (const auto& value : values) {
        Settings s = Defaults();
        s.root_directory.value = value;
        s.vid_regex.value = value;
        s.sub_ext.value = {value, "x", value};
        std::string text;
        try {
            text = FormatSettingsFile(s);
        } catch (const Error&) {
            ++refused;
            continue;
        }
        Settings back;
        ApplySettingsMap(ParseSettingsText(text), back);
        ASSERT_EQ(back, s) << "value [" << value << "] written as\n" << text;
    }
    EXPECT_EQ(refused, 0);
}

TEST(SettingsFile, ValueWithLineBreakIsRefusedAndOldFileKept) {
    ScopedWorkingDirectory cwd;
    WriteFile(kSettingsFileName, "old");
    Settings s = Defaults();
    s.vid_regex.value = "a\nb";
    EXPECT_THROW(WriteSettings(s), Error);
    EXPECT_EQ(ReadFile(kSettingsFileName), "old");
}

TEST(SettingsFile, ReadShowsMessagesAndKeepsRecordOnOpenFailure) {
    ScopedWorkingDirectory cwd;
    MessageCapture messages;
    Settings s = Defaults();
    s.vid_ext.value = {"kept"};

    EXPECT_EQ(ReadSettings(s), ReadResult::NotOpened); // missing
    fs::create_directory(kSettingsFileName);
    EXPECT_EQ(ReadSettings(s), ReadResult::NotOpened); // a folder in its place
    const std::string path = (fs::current_path() / kSettingsFileName).string();
    EXPECT_EQ(messages.shown, (Values{"file not opened\n" + path + ": No such file or directory",
                                      "file not opened\n" + path + ": Is a directory"}));
    EXPECT_EQ(s.vid_ext.value, Values{"kept"});
}

TEST(SettingsFile, ReadReportsBadBooleanAndKeepsWhatCameBefore) {
    ScopedWorkingDirectory cwd;
    MessageCapture messages;
    WriteFile(kSettingsFileName, "vid_ext mkv\r\nis_recursive true\r\nrename_sub_file 0\r\n");
    Settings s;
    EXPECT_EQ(ReadSettings(s), ReadResult::ReadInPart);
    EXPECT_EQ(messages.shown,
              Values{std::string(kBadBooleanValue) +
                     "\nLine 2: is_recursive \"true\" is neither 1 nor 0. These settings were not "
                     "read and keep their defaults: is_recursive, rename_sub_file."});
    EXPECT_EQ(s.vid_ext.value, Values{"mkv"});
    EXPECT_FALSE(s.is_recursive.value);
    EXPECT_TRUE(s.rename_sub_file.value);
    EXPECT_EQ(s.vid_ext.name, "vid_ext");
}

TEST(SettingsFile, UnreadableFileIsNotOpened) {
    ScopedWorkingDirectory cwd;
    WriteFile(kSettingsFileName, kDefaultFile);
    fs::permissions(cwd.dir().path(), fs::perms(0755));
    fs::permissions(kSettingsFileName, fs::no_perms);
    const std::string path = (cwd.dir().path() / kSettingsFileName).string();
    const int status = test::RunUnprivileged([&] {
        MessageCapture messages;
        Settings s;
        return ReadSettings(s, path) == ReadResult::NotOpened &&
                       messages.shown == Values{"file not opened\n" + path + ": Permission denied"}
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST(SettingsFile, WriteKeepsPermissionsAndSymbolicLinks) {
    ScopedWorkingDirectory cwd;
    WriteFile("real/settings.ini", "old");
    fs::permissions("real/settings.ini", fs::perms(0640));
    fs::create_symlink("real/settings.ini", kSettingsFileName);

    WriteSettings(Defaults());

    EXPECT_EQ(fs::symlink_status(kSettingsFileName).type(), fs::symlink_file);
    EXPECT_EQ(ReadFile("real/settings.ini"), kDefaultFile);
    EXPECT_EQ(fs::status("real/settings.ini").permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator("real"), fs::directory_iterator()), 1);
}

TEST(SettingsFile, WriteRefusesWhatCannotBeOpenedForWriting) {
    ScopedWorkingDirectory cwd;
    const std::string folder = (cwd.dir().path() / "sub").string();
    fs::create_directories(folder + "/" + kSettingsFileName); // a folder in the file's place
    WriteFile(folder + "/readonly.ini", "old");
    fs::permissions(folder + "/readonly.ini", fs::perms(0444));
    fs::permissions(folder, fs::perms(0777));

    const int status = test::RunUnprivileged([&] {
        int failures = 0;
        for (const std::string& name : {kSettingsFileName, std::string("readonly.ini")}) {
            try {
                WriteSettings(Defaults(), folder + "/" + name);
                ++failures;
            } catch (const Error& e) {
                failures +=
                    std::string(e.what()).rfind(kCannotOpenForWriting + std::string("\n"), 0) != 0;
            }
        }
        return failures;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(folder + "/readonly.ini"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

} // namespace
} // namespace tesslin
