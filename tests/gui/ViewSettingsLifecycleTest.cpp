// The settings' way through a session: what the start reads and shows, what the close
// writes, and what is never written: a settings file the program could not read.
#include "tests/gui/GuiTest.h"

#include "app/TesslinGUIApp.h"
#include "platform/SystemText.h"
#include "res/CommandIds.h"
#include "settings/SettingsFile.h"

#include <wx/docview.h>

#include <boost/filesystem/operations.hpp>

#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#endif

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;

Settings Defaults() {
    Settings s;
    s.ResetToDefaults();
    return s;
}

// Each test closes the fixture's window, prepares the working folder and starts again.
using StartAndClose = ViewTest;

TEST_F(StartAndClose, ABadBooleanIsReportedRepairedAtCloseAndTheOldFileKept) {
    const std::string file = "vid_ext mkv\nis_recursive true\nroot_directory \"/videos\"\n";
    CloseWindow();
    WriteFile(SettingsFile(), file);
    std::string shown;
    wxTEST_DIALOG(ReopenWindow(), ExpectMessage("", true).Capture(&shown));
    EXPECT_EQ(shown.substr(0, std::string(kBadBooleanValue).size() + 1),
              kBadBooleanValue + std::string("\n"));
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
    const std::string shown =
        kCannotOpenForWriting + ("\n" + kSettingsFileName) +
        ": cannot create the new file in its folder: No such file or directory";
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
        {"a text of another kind", "TesslinGUI\n\nRenames subtitles.\n", kNotASettingsFile,
         "no line starts with the name of a setting"},
        {"a NUL byte in a value",
         std::string("vid_ext mkv\nroot_directory \"/tree") + '\0' + "\"\n", kNotASettingsFile,
         "it holds a NUL byte"},
        {"over 1 MiB", too_large, kCannotOpenForReading,
         "it holds " + std::to_string(too_large.size()) +
             " bytes, more than a settings file can (" + std::to_string(kLargestSettingsFile) +
             ")"},
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

using DocumentCommands = ViewTest;

void SendMenu(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    CMainFrame::Get()->ProcessWindowEvent(event);
}

TEST_F(DocumentCommands, NewReadsTheFileAgainWithoutWritingFirst) {
    const std::string file = ReadFile(SettingsFile());
    Type(ids::kEditVideoExtensionList, "zzz");
    Click(ids::kCheckRecursive);
    SendMenu(ids::kFileNew);
    EXPECT_EQ(Doc().m_settings, Defaults());
    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "avi mkv mp4 wmv ");
    EXPECT_EQ(ReadFile(SettingsFile()), file);
    EXPECT_EQ(wxGetApp().GetDocManager()->GetDocumentsVector().size(), 1u);
}

TEST_F(DocumentCommands, RecentFileOpensTheDocumentAndLeavesTheSettingsAlone) {
    const std::string file = ReadFile(SettingsFile());
    const std::string document = WorkDir() / "library.tesslin";
    WriteFile(document, "");
    wxGetApp().GetDocManager()->AddFileToHistory(wxString::FromUTF8(document));
    Type(ids::kEditVideoExtensionList, "zzz");
    SendMenu(wxID_FILE1);
    EXPECT_EQ(Doc().GetFilename().utf8_string(), document);
    EXPECT_EQ(Frame().GetTitle(), "library.tesslin - TesslinGUI");
    EXPECT_EQ(Doc().m_settings.vid_ext.value, std::vector<std::string>{"zzz"});
    EXPECT_EQ(ReadFile(SettingsFile()), file);
}

} // namespace
} // namespace tesslin::test
