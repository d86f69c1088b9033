// The view's commands and controls on real widgets and real folders: the ribbon's settings,
// the folder picker, the file lists, the scan's failures and reports, the rename's guards.
#include "tests/gui/GuiTest.h"

#include "res/CommandIds.h"
#include "view/RootFolderText.h"
#include "wxplatform/SignalClose.h"

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/dnd.h>
#include <wx/panel.h>

#include <boost/filesystem/operations.hpp>

#include <csignal>
#include <cstdio>

#ifdef __WXGTK__
#include <dlfcn.h>
#endif

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;
using S = std::vector<std::string>;

// A library folder with two unmatched videos and two unmatched subtitles, scanned.
class ViewCommands : public AppWindowTest {
protected:
    void SetUp() override {
        AppWindowTest::SetUp();
        for (const char* name : {"a.avi", "b.avi", "c.smi", "d.smi"}) {
            WriteFile(m_library / name, name);
        }
        PressPicking(ids::kButtonFolder, Root());
        Press(ids::kButtonScan);
        ASSERT_EQ(Rows(VideoList()).size(), 2u);
    }
    std::string Root() const { return m_library.path().string(); }
    std::string In(const std::string& name) const {
        return fs::path(m_library / name).make_preferred().string();
    }

    static constexpr int kPairs = 300;
    static std::string Numbered(const char* pattern, int i) {
        char text[32];
        std::snprintf(text, sizeof text, pattern, i);
        return text;
    }
    // Makes kPairs pairs that the name rule finds ("Show 000.avi", "Subs/show_000.smi"),
    // scans, and renames them all in the preview; `stop` runs as soon as the first file has
    // its new name. The files agree with the rows: so many renamed, the rest not reached.
    std::pair<std::size_t, std::size_t>
    RenamePairsStoppedBy(const std::function<void(CSuggestionsDialog&)>& stop) {
        for (int i = 0; i < kPairs; ++i) {
            WriteFile(In(Numbered("Show %03d.avi", i)), "v");
            WriteFile(In(Numbered("Subs/show_%03d.smi", i)), "s");
        }
        Doc().m_settings.is_recursive.value = true;
        Press(ids::kButtonScan);
        std::size_t done = 0, left = 0;
        wxTEST_DIALOG(Press(ids::kButtonSuggestPairs), WithPreview([&](CSuggestionsDialog& d) {
                          std::function<void()> poll = [&] {
                              if (fs::exists(In("Show 000.smi"))) {
                                  stop(d);
                              } else {
                                  wxTheApp->CallAfter(poll);
                              }
                          };
                          wxTheApp->CallAfter(poll);
                          d.RenameChecked();
                          for (long row = 0; row < kPairs; ++row) {
                              const std::string outcome = Utf8(d.List().GetItemText(row, 3));
                              EXPECT_EQ(fs::exists(In(Numbered("Show %03d.smi", int(row)))),
                                        outcome == "변경됨");
                              done += outcome == "변경됨";
                              left += outcome == "취소되어 하지 않음";
                          }
                          Select(d.List(), kPairs - 1); // the whole of a row below the list
                          EXPECT_EQ(Utf8(d.DetailText()), In("Subs/show_299.smi") + "\n→ " +
                                                              In("Show 299.smi") +
                                                              "\n취소되어 하지 않음");
                      }));
        EXPECT_GT(done, 0u);
        EXPECT_GT(left, 0u);
        EXPECT_EQ(done + left, std::size_t(kPairs));
        return {done, left};
    }

    TempDir m_library;
};

TEST_F(ViewCommands, CheckBoxesFlipTheirSwitches) {
    Settings& s = Doc().m_settings;
    Frame().ActivateCategory(1); // a box's update handler runs while the box is on screen
    Click(ids::kCheckRecursive);
    EXPECT_TRUE(s.is_recursive.value);
    // One box governs both filters, and the subtitle filter follows the video filter.
    s.use_sub_regex.value = true;
    Pump();
    EXPECT_FALSE(s.use_sub_regex.value);
    Click(ids::kCheckUseRegularExpression);
    EXPECT_TRUE(s.use_vid_regex.value);
    EXPECT_TRUE(s.use_sub_regex.value);
    EXPECT_TRUE(Check(ids::kCheckUseRegularExpression).GetValue());

    // The rename boxes are a radio pair on one switch.
    Frame().ActivateCategory(2);
    Click(ids::kCheckRenameSubtitleFile);
    EXPECT_TRUE(s.rename_sub_file.value);
    EXPECT_TRUE(Check(ids::kCheckRenameSubtitleFile).GetValue());
    Click(ids::kCheckRenameVideoFile);
    EXPECT_FALSE(s.rename_sub_file.value);
    EXPECT_TRUE(Check(ids::kCheckRenameVideoFile).GetValue());
    EXPECT_FALSE(Check(ids::kCheckRenameSubtitleFile).GetValue());
}

TEST_F(ViewCommands, FolderChoiceSetsTheRootOnlyCancelAndUnstorableFoldersKeepIt) {
    const std::string status = StatusText();
    const std::pair<std::optional<std::string>, std::string> kept[] = {
        {std::nullopt, ""}, // cancelled: no message
        {"", "선택한 폴더의 경로를 알 수 없어 루트 폴더를 바꾸지 않았습니다."},
        {"/tmp/a\nb", "폴더 이름에 줄 바꿈 문자가 있어 설정 파일에 저장할 수 없으므로 루트 "
                      "폴더를 바꾸지 않았습니다.\n\n폴더: /tmp/a\nb"},
    };
    for (const auto& [choice, message] : kept) {
        ScopedFolderChoice pick(choice);
        if (message.empty()) {
            Press(ids::kMainFolder);
        } else {
            wxTEST_DIALOG(Press(ids::kMainFolder), ExpectMessage(message, true));
        }
        EXPECT_EQ(pick.asked, 1);
        EXPECT_EQ(Doc().m_settings.root_directory.value, Root());
        EXPECT_EQ(StatusText(), status);
    }

#ifdef __WXGTK__ // GTK's chooser, whose names are bytes
    // The folder dialog gives back the folder's bytes, also where they are not UTF-8.
    const std::string cp949 = WorkDir() / "\xB0\xA1\xB3\xAA";
    fs::create_directory(cp949);
    {
        wxDirDialog dialog(&Frame());
        using SetFolder = int (*)(void*, const char*);
        using Respond = void (*)(void*, int);
        const auto setFolder =
            reinterpret_cast<SetFolder>(dlsym(RTLD_DEFAULT, "gtk_file_chooser_set_current_folder"));
        const auto respond = reinterpret_cast<Respond>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
        ASSERT_TRUE(setFolder && respond);
        setFolder(dialog.GetHandle(), cp949.c_str());
        Pump();
        respond(dialog.GetHandle(), -3); // the user confirms the folder the chooser shows
        EXPECT_EQ(DirDialogPath(dialog), cp949);
    }
#endif

    const std::string other = WorkDir() / "other";
    PressPicking(ids::kButtonFolder, other);
    EXPECT_EQ(Doc().m_settings.root_directory.value, other);
    EXPECT_EQ(StatusText(), "루트 폴더: " + RootFolderText(other));
    EXPECT_EQ(Rows(VideoList()), (S{In("a.avi"), In("b.avi")})) << "no scan on a choice";
}

TEST_F(ViewCommands, ARowGoesToItsOwnNameBox) {
    Type(ids::kEditSubtitleFileName, "kept");
    Select(VideoList(), 1);
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), In("b.avi"));
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), "kept");
    Select(SubtitleList(), 0);
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), In("c.smi"));

    // A row that only loses its selection and focus leaves the box as it is.
    Type(ids::kEditVideoFileName, "typed");
    VideoList().SetItemState(1, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), "typed");
}

TEST_F(ViewCommands, LayoutSplitsTheViewAtHalfItsHeight) {
    wxPanel& view = *View().GetViewWindow();
    view.SetSize(view.GetPosition().x, view.GetPosition().y, 640, 401);
    wxSizeEvent size(view.GetSize());
    view.ProcessWindowEvent(size);
    EXPECT_EQ(VideoList().GetRect(), wxRect(0, 0, 640, 200));
    EXPECT_EQ(SubtitleList().GetRect(), wxRect(0, 201, 640, 200));
    EXPECT_EQ(VideoList().GetColumnWidth(0), 640);
    EXPECT_EQ(SubtitleList().GetColumnWidth(0), 640);
}

TEST_F(ViewCommands, ScanTurnsToTheRenameCategoryOnlyWhenBothListsHoldRows) {
    EXPECT_EQ(ActiveCategory(), 2);
    const auto counts = [&] { return Utf8(Frame().GetStatusBar()->GetStatusText(1)); };
    EXPECT_EQ(counts(), "자막 없는 영상 2개, 영상 없는 자막 2개");
    Frame().ActivateCategory(1);
    fs::remove(In("c.smi"));
    fs::remove(In("d.smi"));
    Press(ids::kButtonScan);
    EXPECT_EQ(Rows(SubtitleList()), S{});
    EXPECT_EQ(ActiveCategory(), 1);
    EXPECT_EQ(counts(), "자막 없는 영상 2개, 영상 없는 자막 0개");
}

// A folder dropped on the window becomes the root folder, as one named on the command line.
TEST_F(ViewCommands, ADroppedFolderBecomesTheRoot) {
    const std::string folder = WorkDir().path().string();
    auto* target = dynamic_cast<wxFileDropTarget*>(Frame().GetDropTarget());
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->OnDropFiles(0, 0, wxArrayString(1, PathToWx(folder))));
    Pump();
    EXPECT_EQ(Doc().m_settings.root_directory.value, folder);
    EXPECT_EQ(StatusText(), "루트 폴더: " + RootFolderText(folder));
}

TEST_F(ViewCommands, FailedScanKeepsListsRibbonAndSettingsAndNamesTheCause) {
    WriteFile(In("file.avi"), "x");
    struct Case {
        std::string root;
        std::string pattern; // enabled video filter, when not empty
        std::string message;
    };
    const Case cases[] = {
        {In("gone"), "", "루트 폴더가 없어 스캔하지 못했습니다.\n\n폴더: " + In("gone")},
        {"", "",
         "루트 폴더가 설정되어 있지 않아 스캔하지 못했습니다.\n\"루트 폴더 설정\"으로 스캔할 "
         "폴더를 "
         "선택하세요."},
        {In("file.avi"), "",
         "루트 폴더가 폴더가 아니어서 스캔하지 못했습니다.\n\n폴더: " + In("file.avi")},
        {Root(), "a(b",
         "영상 파일 정규식 필터가 올바른 정규식이 아니어서 스캔하지 못했습니다.\n\n필터: a(b\n"
         "오류: 올바른 정규식이 아닙니다: 여는 괄호 ( 의 짝인 닫는 괄호 ) 가 없습니다. 정규식의 이 "
         "자리에서 오류가 났습니다: 'a(b>>>HERE>>>'."},
#ifndef _WIN32 // where links need rights a user seldom has
        {In("loop"), "",
         "폴더를 읽을 수 없어 스캔하지 못했습니다.\n\n폴더: " + In("loop") +
             "\n이유: 심볼릭 링크가 너무 많이 이어집니다"},
#endif
    };
#ifndef _WIN32
    fs::create_symlink(In("loop"), In("loop")); // a root the system refuses to open
#endif
    const S videos = Rows(VideoList());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root + " " + c.pattern);
        Frame().ActivateCategory(1);
        Settings& s = Doc().m_settings;
        s.root_directory.value = c.root;
        s.vid_regex.value = c.pattern;
        s.use_vid_regex.value = s.use_sub_regex.value = !c.pattern.empty();
        const Settings before = s;
        wxTEST_DIALOG(Press(ids::kButtonScan), ExpectMessage(c.message, true));
        EXPECT_EQ(Rows(VideoList()), videos);
        EXPECT_EQ(Rows(SubtitleList()).size(), 2u);
        EXPECT_EQ(ActiveCategory(), 1);
        EXPECT_EQ(Doc().m_settings, before);
    }
}

// While a scan runs the window shows its progress and holds the other commands back; Esc
// stops it and leaves the lists, the ribbon and the status bar as they were, without a word.
TEST_F(ViewCommands, EscStopsARunningScanAndLeavesEverythingAsItWas) {
    for (int folder = 0; folder < 40; ++folder) {
        for (int file = 0; file < 50; ++file) {
            WriteFile(In("big/" + std::to_string(folder) + "/" + std::to_string(file) + ".avi"),
                      "x");
        }
    }
    Doc().m_settings.is_recursive.value = true;
    const std::string status = StatusText();
    std::string during;
    bool ribbon_enabled = true;
    std::string cancel = "no button";
    int picked = -1;
    bool dropped = true;
    // Runs in the scan command's own event loop, as the scan starts.
    wxTheApp->CallAfter([&] {
        during = StatusText();
        ribbon_enabled = Ribbon().IsEnabled();
        if (wxWindow* button = wxWindow::FindWindowById(ids::kCancelScan, &Frame())) {
            cancel = WxToPath(button->GetLabel());
        }
        ScopedFolderChoice pick(In("big"));
        Press(ids::kButtonFolder); // held back
        picked = pick.asked;
        auto* target = dynamic_cast<wxFileDropTarget*>(Frame().GetDropTarget());
        dropped = target->OnDropFiles(0, 0, wxArrayString(1, PathToWx(In("big")))); // refused
        wxKeyEvent esc(wxEVT_CHAR_HOOK);
        esc.m_keyCode = WXK_ESCAPE;
        Frame().ProcessWindowEvent(esc);
    });
    Press(ids::kButtonScan);
    EXPECT_EQ(during.rfind("스캔 중: ", 0), 0u) << during;
    EXPECT_FALSE(ribbon_enabled);
    EXPECT_EQ(cancel, "취소");
    EXPECT_EQ(Rows(VideoList()), (S{In("a.avi"), In("b.avi")}));
    EXPECT_EQ(Rows(SubtitleList()), (S{In("c.smi"), In("d.smi")}));
    EXPECT_EQ(StatusText(), status);
    EXPECT_TRUE(Ribbon().IsEnabled());
    EXPECT_EQ(wxWindow::FindWindowById(ids::kCancelScan, &Frame()), nullptr);
    EXPECT_EQ(picked, 0);
    EXPECT_FALSE(dropped);
    Pump();
    EXPECT_EQ(Doc().m_settings.root_directory.value, Root());

    // A close asked for during a scan stops it, and the window then closes in order.
    wxTheApp->CallAfter([&] { Frame().Close(); });
    Press(ids::kButtonScan);
    PumpUntil([] { return CMainFrame::Get() == nullptr; });
    EXPECT_EQ(CMainFrame::Get(), nullptr);
    EXPECT_NE(ReadFile(SettingsFile()).find("\r\nis_recursive 1 "), std::string::npos);
}

// A batch stopped part-way (Esc once its first file is renamed): the renamed pairs leave the
// lists and undo puts them back as one batch; the rest stayed where they were. The rows show
// the names below the folder that holds them all, the subtitles' "Subs" included.
TEST_F(ViewCommands, ABatchStoppedPartWayKeepsFilesHistoryAndListsInStep) {
    std::string first, status;
    const auto [done, left] = RenamePairsStoppedBy([&](CSuggestionsDialog& dialog) {
        first = Utf8(dialog.List().GetItemText(0, 0) + " -> " + dialog.List().GetItemText(0, 1));
        status = StatusText();
        wxKeyEvent esc(wxEVT_CHAR_HOOK);
        esc.m_keyCode = WXK_ESCAPE;
        dialog.ProcessWindowEvent(esc);
    });
    EXPECT_EQ(first, fs::path("Subs/show_000.smi").make_preferred().string() + " -> Show 000.smi");
    EXPECT_EQ(status.rfind("이름 변경 중: ", 0), 0u) << status;
    EXPECT_NE(status.find(" / 300 "), std::string::npos) << status;
    EXPECT_EQ(Rows(VideoList()).size(), 2 + left);
    EXPECT_EQ(Rows(SubtitleList()).size(), 2 + left);
    wxTEST_DIALOG(Press(ids::kButtonUndoRename),
                  ExpectMessage("이름 변경 " + std::to_string(done) + "건을 되돌렸습니다."));
    for (int i = 0; i < kPairs; ++i) {
        ASSERT_TRUE(fs::exists(In(Numbered("Subs/show_%03d.smi", i)))) << i;
    }
    EXPECT_EQ(Rows(SubtitleList()).size(), 2u + kPairs);
}

#ifndef _WIN32
// A signal during a batch: the batch stops after the rename in hand, what was done stays
// done, and the window closes in order with the settings on the disk. Runs in a process of
// its own: the signal stays noted for the rest of the process.
using SignalDuringWork = ViewCommands;
TEST_F(SignalDuringWork, StopsTheBatchAndClosesInOrderWithTheSettingsSaved) {
    InstallOrderlyEnd();
    Type(ids::kEditVideoExtensionList, "avi mkv");
    RenamePairsStoppedBy([](CSuggestionsDialog&) { raise(SIGTERM); });
    EXPECT_TRUE(PumpUntil([] { return CMainFrame::Get() == nullptr; }));
    EXPECT_NE(ReadFile(SettingsFile()).find("vid_ext avi mkv"), std::string::npos);
}
#endif

TEST_F(ViewCommands, SkippedEntriesAreReportedAfterTheRowsWithCountAndFirstPaths) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need rights on Windows that a user seldom has";
#endif
    // Long names: a box that showed them whole would grow past the screen.
    for (int i = 0; i < 12; ++i) {
        const std::string loop = In("loop" + std::to_string(i) + std::string(200, 'x') + ".avi");
        fs::create_symlink(loop, loop); // its status cannot be read: a loop
    }
    std::string shown;
    wxTEST_DIALOG(Press(ids::kButtonScan), ExpectMessage("", true).Capture(&shown));
    EXPECT_EQ(Rows(VideoList()), (S{In("a.avi"), In("b.avi")}));
    EXPECT_EQ(shown.rfind("읽을 수 없는 폴더나 파일 12개를 건너뛰었습니다.", 0), 0u) << shown;
    EXPECT_NE(shown.find("(심볼릭 링크가 너무 많이 이어집니다)"), std::string::npos) << shown;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1 + 10 + 1) << shown;
    EXPECT_NE(shown.find("\n... 외 2개"), std::string::npos) << shown;
    for (std::size_t line = 0, end; line < shown.size(); line = end + 1) {
        end = std::min(shown.find('\n', line), shown.size());
        EXPECT_LE(end - line, 150u) << shown.substr(line, end - line);
    }
}

TEST_F(ViewCommands, RenameOntoAnExistingFileReplacesNothingButTheRowsLeave) {
    WriteFile(In("a.smi"), ""); // empty files are not listed, but they are files
    Select(VideoList(), 0);
    Select(SubtitleList(), 0);
    wxTEST_DIALOG(Press(ids::kButtonRenameFile),
                  ExpectMessage("Renaming error!\n\"" + In("c.smi") + "\"의 이름을 \"" +
                                    In("a.smi") +
                                    "\"(으)로 바꾸지 못했습니다: 같은 이름의 파일이 이미 있습니다",
                                false));
    EXPECT_EQ(ReadFile(In("a.smi")), "");
    EXPECT_EQ(ReadFile(In("c.smi")), "c.smi");
    EXPECT_EQ(Rows(VideoList()), S{In("b.avi")});
    EXPECT_EQ(Rows(SubtitleList()), S{In("d.smi")});
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), "");
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), "");
}

// A rename without both rows, or with a name that would lose the file's extension or put it
// into the program's working folder, is refused with a message and changes nothing.
TEST_F(ViewCommands, RenameRefusalsTouchNoFileAndKeepListsAndBoxes) {
    struct Case {
        long video; // the rows selected; -1: none
        long subtitle;
        int box; // a box typed into after the rows were chosen; 0: none
        std::string typed;
        std::string message;
    };
    const Case cases[] = {
        {-1, -1, 0, "", "영상 파일이 선택되지 않았습니다."},
        {-1, 0, 0, "", "영상 파일이 선택되지 않았습니다."},
        {0, -1, 0, "", "자막 파일이 선택되지 않았습니다."},
        {0, 1, ids::kEditSubtitleFileName, In("nodot"),
         "변경할 파일 이름에 확장자가 없어 이름을 변경하지 않았습니다.\n\n파일: " + In("nodot")},
        // A box left empty (an earlier rename emptied both) or a name typed without a folder.
        {0, 1, ids::kEditVideoFileName, "",
         "영상 파일 이름이 비어 있어 이름을 변경하지 않았습니다.\n목록에서 파일을 다시 "
         "선택하세요."},
        {0, 1, ids::kEditVideoFileName, "typed.avi",
         "영상 파일 이름이 절대 경로가 아니어서 이름을 변경하지 않았습니다.\n목록에서 파일을 "
         "다시 선택하세요.\n\n영상 파일 이름: typed.avi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        VideoList().SetItemState(-1, 0, wxLIST_STATE_SELECTED);
        SubtitleList().SetItemState(-1, 0, wxLIST_STATE_SELECTED);
        if (c.video >= 0) {
            Select(VideoList(), c.video);
        }
        if (c.subtitle >= 0) {
            Select(SubtitleList(), c.subtitle);
        }
        if (c.box != 0) {
            Type(c.box, c.typed);
        }
        const std::string videoBox = BoxText(ids::kEditVideoFileName);
        const std::string subtitleBox = BoxText(ids::kEditSubtitleFileName);
        wxTEST_DIALOG(Press(ids::kButtonRenameFile), ExpectMessage(c.message, true));
        EXPECT_EQ(Rows(VideoList()).size(), 2u);
        EXPECT_EQ(Rows(SubtitleList()).size(), 2u);
        EXPECT_EQ(BoxText(ids::kEditVideoFileName), videoBox);
        EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), subtitleBox);
        EXPECT_EQ(ReadFile(In("c.smi")), "c.smi");
        EXPECT_EQ(ReadFile(In("d.smi")), "d.smi");
        EXPECT_FALSE(fs::exists(WorkDir() / ".smi"));
        EXPECT_FALSE(fs::exists(WorkDir() / "typed.smi"));
    }
}

// Nothing serves cut, copy and paste in the view: they show disabled.
TEST_F(ViewCommands, RightClickInTheViewShowsTheEditMenuDisabled) {
    PopupCapture popups;
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, VideoList().GetId(),
                             VideoList().ClientToScreen(wxPoint(10, 30)));
    event.SetEventObject(&VideoList());
    VideoList().ProcessWindowEvent(event);
    ASSERT_EQ(popups.Menus().size(), 1u);
    for (const int id : {ids::kEditCut, ids::kEditCopy, ids::kEditPaste}) {
        const PopupCapture::Item* item = FindItem(popups.Menus()[0], id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_FALSE(item->enabled) << id;
    }
}

} // namespace
} // namespace tesslin::test
