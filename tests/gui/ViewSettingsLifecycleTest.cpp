// The settings' way through a session: what the start reads and shows, what the close
// writes, and what is never written: a settings file the program could not read; and the end
// of the program from outside, by a signal or the loss of its display.
#include "tests/gui/GuiTest.h"

#include "app/TesslinGUIApp.h"
#include "platform/SystemText.h"
#include "res/CommandIds.h"
#include "settings/SettingsFile.h"

#include <wx/docview.h>
#include <wx/filedlg.h>

#include <boost/filesystem/operations.hpp>

#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;
#endif

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;

// The window's words for a file that is not a settings file.
const std::string kNotKorean =
    "설정 파일이 아니어서 읽지 않았고 이 파일은 바꾸지 않습니다. 기본 설정을 사용합니다.";

// Each test closes the fixture's window, prepares the working folder and starts again.
using StartAndClose = AppWindowTest;

TEST_F(StartAndClose, ABadBooleanIsReportedRepairedAtCloseAndTheOldFileKept) {
    const std::string file = "vid_ext mkv\nis_recursive true\nroot_directory \"/videos\"\n";
    CloseWindow();
    WriteFile(SettingsFile(), file);
    std::string shown;
    wxTEST_DIALOG(ReopenWindow(), ExpectMessage("", true).Capture(&shown));
    EXPECT_EQ(shown, kBadBooleanValue + std::string("\n2번째 줄: is_recursive의 값 \"true\"은(는) "
                                                    "1도 0도 아닙니다. 다음 설정은 읽지 않았으며 "
                                                    "기본값을 씁니다: is_recursive, "
                                                    "rename_sub_file."));
    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "mkv ");
    CloseWindow();
    const std::string text = ReadFile(SettingsFile());
    EXPECT_NE(text.find("\r\nis_recursive 0 # "), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nvid_ext mkv # "), std::string::npos) << text;
    // The root folder came after the value that stopped the reading: the new file holds the
    // default, the copy the user's.
    EXPECT_EQ(ReadFile(SettingsFile() + ".bak"), file);
}

// The working folder is gone: the settings file can be written neither at start nor at close.
TEST_F(StartAndClose, AGoneWorkingFolderIsReportedAtStartAndCloseAndTheWindowStillCloses) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows does not let a process's working folder be removed";
#endif
    CloseWindow();
    fs::remove_all(WorkDir().path());
    // A removed working folder has no path any more: the file is named as the program knows it.
    const std::string shown = kCannotOpenForWriting + ("\n" + kSettingsFileName) +
                              ": 폴더에 새 파일을 만들 수 없습니다: 파일이나 폴더가 없습니다";
    wxTEST_DIALOG(ReopenWindow(), ExpectMessage(shown, true));
    EXPECT_TRUE(Frame().IsShown());
    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "avi mkv mp4 wmv ");
    wxTEST_DIALOG(CloseWindow(), ExpectMessage(shown, true));
    EXPECT_EQ(CMainFrame::Get(), nullptr);
}

#ifdef _WIN32
// The end of the Windows session: the settings are on the disk as soon as Windows asks whether
// it may end, and the window closes when it ends.
TEST_F(StartAndClose, TheEndOfTheSessionSavesTheSettingsAndClosesTheWindow) {
    Type(ids::kEditVideoExtensionList, "mkv");
    const HWND window = Frame().GetHWND();
    SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_NE(ReadFile(SettingsFile()).find("\r\nvid_ext mkv # "), std::string::npos);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    Pump();
    EXPECT_EQ(CMainFrame::Get(), nullptr);
}
#endif

TEST_F(StartAndClose, AFileThatIsNotLoadedLeavesItByteForByteAndTheSessionRunsOnTheDefaults) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string first_line;
        std::string reason;
    };
    const std::string too_large = std::string(kLargestSettingsFile, '#') + "\nvid_ext mkv\n";
    const Case cases[] = {
        {"a text of another kind", "TesslinGUI\n\nRenames subtitles.\n", kNotKorean,
         "설정 이름으로 시작하는 줄이 없습니다"},
        {"a NUL byte in a value",
         std::string("vid_ext mkv\nroot_directory \"/tree") + '\0' + "\"\n", kNotKorean,
         "NUL 바이트가 들어 있습니다"},
        {"over 1 MiB", too_large, kCannotOpenForReading,
         "크기가 " + std::to_string(too_large.size()) + "바이트로 설정 파일이 가질 수 있는 크기(" +
             std::to_string(kLargestSettingsFile) + "바이트)보다 큽니다"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CloseWindow();
        WriteFile(SettingsFile(), c.bytes);
        wxTEST_DIALOG(ReopenWindow(),
                      ExpectMessage(c.first_line + "\n" + SettingsFile() + ": " + c.reason));
        EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "avi mkv mp4 wmv ");
        Type(ids::kEditVideoExtensionList, "avi");
        CloseWindow();
        EXPECT_EQ(ReadFile(SettingsFile()), c.bytes);
    }
}

using DocumentCommands = AppWindowTest;

// The user names `path` in the file chooser (GTK's takes the name once it has shown its folder).
class ChooseFile : public wxExpectModalBase<wxFileDialog, ChooseFile> {
public:
    explicit ChooseFile(std::string path) : m_path(std::move(path)) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override {
        dialog->SetPath(PathToWx(m_path));
        PumpUntil([&] { return WxToPath(dialog->GetPath()) == m_path; }, 2.0);
        return wxID_OK;
    }

private:
    std::string m_path;
};

void SendMenu(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    CMainFrame::Get()->ProcessWindowEvent(event);
}

// The document is the settings record. New reads "TesslinGUI.ini" again, Open reads the chosen
// file as the start reads that one, and both clear the lists; Save writes the record and
// nothing else; a file that is not a settings file is refused and left alone. Only the close
// writes "TesslinGUI.ini".
TEST_F(DocumentCommands, NewOpenAndSaveCarryTheSettingsRecord) {
    const std::string ini = ReadFile(SettingsFile());
    const std::string other = WorkDir() / "other.ini", notes = WorkDir() / "notes.txt";
    WriteFile(other, "vid_ext mkv\n");
    WriteFile(notes, "TesslinGUI\n\nRenames subtitles.\n");
    WriteFile(WorkDir() / "saved.txt", "a file of the user's own\n");
    struct Case {
        int command; // Save (as the document has no file yet: Save As), a recent file, New
        std::string file, message;
        std::vector<std::string> vid_ext; // afterwards
        bool listsCleared;
    };
    const Case cases[] = {
        {ids::kFileSave, WorkDir() / "saved.txt", "", {"zzz"}, false},
        {wxID_FILE1,
         notes,
         kNotKorean + ("\n" + notes) + ": 설정 이름으로 시작하는 줄이 없습니다",
         {"zzz"},
         false},
        {wxID_FILE1, other, "", {"mkv"}, true},
        {ids::kFileNew, "", "", {"avi", "mkv", "mp4", "wmv"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + c.message);
        Type(ids::kEditVideoExtensionList, "zzz");
        PathList rows;
        rows.Add("/v/", "a.avi");
        FillFileList(std::move(rows), VideoList());
        const std::string before = c.file.empty() ? "" : ReadFile(c.file);
        const wxString title = Frame().GetTitle();
        if (c.command == wxID_FILE1) {
            wxGetApp().GetDocManager()->AddFileToHistory(wxString::FromUTF8(c.file));
        }
        if (c.command == ids::kFileSave) {
            wxTEST_DIALOG(SendMenu(c.command), ChooseFile(c.file));
            EXPECT_EQ(ReadFile(c.file), ToSystemCodePage(FormatSettingsFile(Doc().m_settings)));
        } else if (!c.message.empty()) {
            wxTEST_DIALOG(SendMenu(c.command), ExpectMessage(c.message));
            EXPECT_EQ(ReadFile(c.file), before);
            EXPECT_EQ(Frame().GetTitle(), title);
        } else {
            SendMenu(c.command);
        }
        EXPECT_EQ(Doc().m_settings.vid_ext.value, c.vid_ext);
        EXPECT_EQ(Rows(VideoList()).empty(), c.listsCleared);
        EXPECT_EQ(ReadFile(SettingsFile()), ini);
    }
}

#ifndef _WIN32 // Windows ends a program through its session (above), which Wine does not end

Settings Defaults() {
    Settings s;
    s.ResetToDefaults();
    return s;
}

// Ending the program from outside: the real program in its own process, asked to end by a
// signal or losing its display, keeps the settings it holds.
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
    // The signals, sent while the program is stopped, so that none is handled yet.
    const std::vector<int> cases[] = {{SIGTERM}, {SIGHUP}, {SIGINT, SIGTERM}};
    for (const std::vector<int>& signals : cases) {
        SCOPED_TRACE(strsignal(signals.front()) + std::to_string(signals.size()));
        WriteFile(SettingsFile(), "autostart TRUE\n"); // a message at start
        Launch();
        std::this_thread::sleep_for(1500ms);
        kill(m_program, SIGSTOP);
        for (const int signum : signals) {
            kill(m_program, signum);
        }
        kill(m_program, SIGCONT);
        const int status = WaitFor(m_program, 20s);
        if (signals.size() == 1) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            EXPECT_EQ(ReadFile(SettingsFile()), FormatSettingsFile(Defaults()));
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) &&
                        (WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGTERM))
                << status;
            const std::string text = ReadFile(SettingsFile());
            EXPECT_TRUE(text == "autostart TRUE\n" || text == FormatSettingsFile(Defaults()))
                << text;
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
        EXPECT_EQ(ReadFile(SettingsFile()),
                  before.empty() ? FormatSettingsFile(Defaults()) : before);
    }
}

#endif

} // namespace
} // namespace tesslin::test
