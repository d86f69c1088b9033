// The road of one typical use, end to end, on real widgets and real folders: first start,
// the ribbon's settings, a folder, a scan, a rename in each direction, closing, starting again,
// and then pair suggestions: the preview, one row unchecked, the renames and their undo.
#include "tests/gui/GuiTest.h"

#include "platform/SystemText.h"
#include "res/CommandIds.h"
#include "settings/SettingsFile.h"
#include "view/RootFolderText.h"

#include <wx/listctrl.h>

#include <boost/filesystem/operations.hpp>

#include <iostream>
#include <sstream>

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;
using Road = AppWindowTest;
using S = std::vector<std::string>;

// The entry `name` ("sub/a.avi") of `folder` as the program shows it, in the system's separators.
std::string At(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).make_preferred().string();
}

// What the two rename trace lines on standard output say.
class CaptureStdout {
public:
    CaptureStdout() : m_old(std::cout.rdbuf(m_text.rdbuf())) {}
    ~CaptureStdout() { std::cout.rdbuf(m_old); }
    std::string Text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf* m_old;
};

TEST_F(Road, FromFirstStartThroughScanAndRenamesToTheNextStart) {
    // First start in an empty folder: the settings file with the defaults, shown.
    Settings expected;
    expected.ResetToDefaults();
    EXPECT_EQ(ReadFile(SettingsFile()), ToSystemCodePage(FormatSettingsFile(expected)));
    EXPECT_TRUE(Frame().GetTitle().EndsWith(" - TesslinGUI")) << Utf8(Frame().GetTitle());
    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "avi mkv mp4 wmv ");
    EXPECT_EQ(BoxText(ids::kEditSubtitleExtensionList), "smi ");
    EXPECT_EQ(StatusText(), "루트 폴더: " + expected.root_directory.value);

    TempDir library;
    const std::string root = library.path().string();
    for (const char* name :
         {"Movie One.mkv", "movie one.KOR.smi", "Two.avi", "two-sub.srt", "sub/Three.mp4",
          "sub/3.srt", "_sample.avi", "Paired.mkv", "Paired.srt", "notes.txt"}) {
        WriteFile(library / name, name);
    }

    // The ribbon: lists, filters and switches, as the user types and clicks.
    Type(ids::kEditVideoExtensionList, "mkv  avi\tmp4");
    Type(ids::kEditSubtitleExtensionList, "smi srt");
    Type(ids::kEditVideoRegularExpression, "^[^_]");
    Type(ids::kEditSubtitleRegularExpression, ".");
    Click(ids::kCheckUseRegularExpression);
    Click(ids::kCheckRecursive);
    PressPicking(ids::kButtonFolder, root);
    EXPECT_EQ(StatusText(), "루트 폴더: " + RootFolderText(root));
    EXPECT_EQ(Rows(VideoList()), S{}) << "choosing a folder starts no scan";

    Press(ids::kButtonScan);
    EXPECT_EQ(Rows(VideoList()),
              (S{At(root, "Movie One.mkv"), At(root, "Two.avi"), At(root, "sub/Three.mp4")}));
    EXPECT_EQ(Rows(SubtitleList()),
              (S{At(root, "movie one.KOR.smi"), At(root, "sub/3.srt"), At(root, "two-sub.srt")}));
    EXPECT_EQ(ActiveCategory(), 2);

    // A row in each list fills its box; the subtitle takes the video's name.
    Select(VideoList(), 0);
    Select(SubtitleList(), 0);
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), At(root, "Movie One.mkv"));
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), At(root, "movie one.KOR.smi"));
    {
        CaptureStdout out;
        Press(ids::kButtonRenameFile);
        EXPECT_EQ(out.Text(), "\nVideo: " + At(root, "Movie One.mkv") +
                                  "\nSub:   " + At(root, "movie one.KOR.smi") + "\n");
    }
    EXPECT_EQ(ReadFile(library / "Movie One.smi"), "movie one.KOR.smi");
    EXPECT_FALSE(fs::exists(library / "movie one.KOR.smi"));
    EXPECT_EQ(Rows(VideoList()), (S{At(root, "Two.avi"), At(root, "sub/Three.mp4")}));
    EXPECT_EQ(Rows(SubtitleList()), (S{At(root, "sub/3.srt"), At(root, "two-sub.srt")}));
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), "");
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), "");

    // The other direction: the video takes the subtitle's name and keeps its extension.
    Click(ids::kCheckRenameVideoFile);
    EXPECT_FALSE(Check(ids::kCheckRenameSubtitleFile).GetValue());
    Select(VideoList(), 1);
    Select(SubtitleList(), 0);
    Press(ids::kButtonRenameFile);
    EXPECT_EQ(ReadFile(library / "sub/3.mp4"), "sub/Three.mp4");
    EXPECT_FALSE(fs::exists(library / "sub/Three.mp4"));
    EXPECT_EQ(Rows(VideoList()), S{At(root, "Two.avi")});
    EXPECT_EQ(Rows(SubtitleList()), S{At(root, "two-sub.srt")});
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), "");

    // Closing writes every change; the next start shows them and does not rewrite the file.
    ReopenWindow();
    expected.root_directory.value = root;
    expected.vid_ext.value = {"mkv", "avi", "mp4"};
    expected.sub_ext.value = {"smi", "srt"};
    expected.vid_regex.value = "^[^_]";
    expected.sub_regex.value = ".";
    expected.use_vid_regex.value = true;
    expected.use_sub_regex.value = true;
    expected.is_recursive.value = true;
    expected.rename_sub_file.value = false;
    EXPECT_EQ(ReadFile(SettingsFile()), ToSystemCodePage(FormatSettingsFile(expected)));

    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "mkv avi mp4 ");
    EXPECT_EQ(BoxText(ids::kEditSubtitleExtensionList), "smi srt ");
    EXPECT_EQ(BoxText(ids::kEditVideoRegularExpression), "^[^_]");
    EXPECT_EQ(BoxText(ids::kEditSubtitleRegularExpression), ".");
    EXPECT_EQ(StatusText(), "루트 폴더: " + RootFolderText(root));
    Frame().ActivateCategory(2);
    Pump();
    EXPECT_TRUE(Check(ids::kCheckRecursive).GetValue());
    EXPECT_TRUE(Check(ids::kCheckUseRegularExpression).GetValue());
    EXPECT_TRUE(Check(ids::kCheckRenameVideoFile).GetValue());
    EXPECT_FALSE(Check(ids::kCheckRenameSubtitleFile).GetValue());

    // Pair suggestions: names that differ but belong together.
    TempDir shows;
    const std::string at = shows.path().string();
    const S files = {"Drama.S01E02.1080p.WEB-DL.H264-GRP.mkv",
                     "Drama.S01E02.smi",
                     "[Group] Title - 07 (1080p) [A1B2C3D4].mkv",
                     "Title 07.srt",
                     "우리들의 블루스 01.mp4",
                     "우리들의 블루스 1화.smi",
                     "Lone.avi",
                     "Lone.ko.smi"};
    for (const std::string& name : files) {
        WriteFile(shows / name, name);
    }
    Click(ids::kCheckRenameSubtitleFile);
    // Keeping language tags, a preference of the profile: "Lone.ko.smi" is Lone.avi's partner.
    Click(ids::kCheckKeepLanguageTag);
    EXPECT_TRUE(Profile().ReadBool("/Workspace/KeepLanguageTag", false));
    PressPicking(ids::kMainFolder, shows.path().string()); // this time from the application menu
    const S videos = {At(at, files[0]), At(at, files[2]), At(at, files[4])};
    const S subtitles = {At(at, files[1]), At(at, files[3]), At(at, files[5])};
    // Nothing was scanned since the start: "짝 찾기" scans first.
    // All checked at first; none, then the first and the last again with Space.
    S rows;
    S outcomes;
    std::string count;
    const auto preview = [&](CSuggestionsDialog& dialog) {
        wxListCtrl& list = dialog.List();
        for (long row = 0; row < list.GetItemCount(); ++row) {
            EXPECT_TRUE(list.IsItemChecked(row));
            rows.push_back(WxToPath(list.GetItemText(row, 0)) + " -> " +
                           WxToPath(list.GetItemText(row, 1)) + " " +
                           Utf8(list.GetItemText(row, 2)));
        }
        ClickButton(dialog, "모두 해제");
        count = Utf8(dialog.CountText());
        Select(list, 0);
        list.SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        wxKeyEvent space(wxEVT_CHAR);
        space.m_keyCode = WXK_SPACE;
        list.ProcessWindowEvent(space);
        count += ", " + Utf8(dialog.CountText());
        dialog.RenameChecked();
        for (long row = 0; row < list.GetItemCount(); ++row) {
            outcomes.push_back(WxToPath(list.GetItemText(row, 3)));
        }
    };
    wxTEST_DIALOG(Press(ids::kButtonSuggestPairs), WithPreview(preview));
    EXPECT_EQ(rows, (S{files[1] + " -> Drama.S01E02.1080p.WEB-DL.H264-GRP.smi 같은 회차",
                       files[3] + " -> [Group] Title - 07 (1080p) [A1B2C3D4].srt 같은 회차",
                       files[5] + " -> 우리들의 블루스 01.smi 같은 회차"}));
    EXPECT_EQ(count, "3개 중 0개 선택, 3개 중 2개 선택");
    EXPECT_EQ(outcomes, (S{"변경됨", "선택 안 됨", "변경됨"}));
    EXPECT_EQ(ReadFile(shows / "Drama.S01E02.1080p.WEB-DL.H264-GRP.smi"), files[1]);
    EXPECT_EQ(ReadFile(shows / "우리들의 블루스 01.smi"), files[5]);
    EXPECT_EQ(ReadFile(shows / "Title 07.srt"), files[3]);
    EXPECT_EQ(Rows(VideoList()), S{At(at, files[2])});
    EXPECT_EQ(Rows(SubtitleList()), S{At(at, files[3])});

    // Undo puts both renamed files back and scans again; then there is nothing left to undo,
    // and its button shows so.
    const auto undoEnabled = [&] {
        wxUpdateUIEvent update(ids::kButtonUndoRename);
        Frame().ProcessWindowEvent(update);
        return update.GetSetEnabled() && update.GetEnabled();
    };
    EXPECT_TRUE(undoEnabled());
    wxTEST_DIALOG(Press(ids::kButtonUndoRename), ExpectMessage("이름 변경 2건을 되돌렸습니다."));
    EXPECT_FALSE(undoEnabled());
    for (const std::string& name : files) {
        EXPECT_EQ(ReadFile(shows / name), name);
    }
    EXPECT_EQ(Rows(VideoList()), videos);
    EXPECT_EQ(Rows(SubtitleList()), subtitles);
    wxTEST_DIALOG(Press(ids::kButtonUndoRename), ExpectMessage("되돌릴 이름 변경이 없습니다."));
}

} // namespace
} // namespace tesslin::test
