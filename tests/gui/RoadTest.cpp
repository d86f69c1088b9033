// The road of one typical use, end to end, on real widgets and real folders: first start,
// the ribbon's settings, a folder, a scan, a rename in each direction, closing, starting again.
#include "tests/gui/ViewTestSupport.h"

#include "app/MainFrame.h"
#include "app/RootFolderText.h"
#include "res/CommandIds.h"
#include "settings/SettingsFile.h"
#include "view/RenamerListCtrl.h"

#include <wx/checkbox.h>

#include <boost/filesystem/operations.hpp>

#include <iostream>
#include <sstream>

namespace tesslin::test {
namespace {

namespace fs = boost::filesystem;
using Road = ViewTest;
using S = std::vector<std::string>;

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
    EXPECT_EQ(ReadFile(SettingsFile()), FormatSettingsFile(expected));
    EXPECT_EQ(BoxText(ids::kEditVideoExtensionList), "avi mkv mp4 wmv ");
    EXPECT_EQ(BoxText(ids::kEditSubtitleExtensionList), "smi ");
    EXPECT_EQ(BoxText(ids::kEditVideoRegularExpression), "");
    EXPECT_EQ(BoxText(ids::kEditSubtitleRegularExpression), "");
    EXPECT_EQ(StatusText(), "루트 폴더: /");
    EXPECT_FALSE(Check(ids::kCheckRecursive).GetValue());
    EXPECT_FALSE(Check(ids::kCheckUseRegularExpression).GetValue());

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
    {
        ScopedFolderChoice choice(root);
        Press(ids::kButtonFolder);
    }
    EXPECT_EQ(StatusText(), "루트 폴더: " + RootFolderText(root));
    EXPECT_EQ(Rows(VideoList()), S{}) << "choosing a folder starts no scan";

    Press(ids::kButtonScan);
    EXPECT_EQ(Rows(VideoList()),
              (S{root + "/Movie One.mkv", root + "/Two.avi", root + "/sub/Three.mp4"}));
    EXPECT_EQ(Rows(SubtitleList()),
              (S{root + "/movie one.KOR.smi", root + "/sub/3.srt", root + "/two-sub.srt"}));
    EXPECT_EQ(ActiveCategory(), 2);

    // A row in each list fills its box; the subtitle takes the video's name.
    Select(VideoList(), 0);
    Select(SubtitleList(), 0);
    EXPECT_EQ(BoxText(ids::kEditVideoFileName), root + "/Movie One.mkv");
    EXPECT_EQ(BoxText(ids::kEditSubtitleFileName), root + "/movie one.KOR.smi");
    {
        CaptureStdout out;
        Press(ids::kButtonRenameFile);
        EXPECT_EQ(out.Text(),
                  "\nVideo: " + root + "/Movie One.mkv\nSub:   " + root + "/movie one.KOR.smi\n");
    }
    EXPECT_EQ(ReadFile(library / "Movie One.smi"), "movie one.KOR.smi");
    EXPECT_FALSE(fs::exists(library / "movie one.KOR.smi"));
    EXPECT_EQ(Rows(VideoList()), (S{root + "/Two.avi", root + "/sub/Three.mp4"}));
    EXPECT_EQ(Rows(SubtitleList()), (S{root + "/sub/3.srt", root + "/two-sub.srt"}));
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
    EXPECT_EQ(Rows(VideoList()), S{root + "/Two.avi"});
    EXPECT_EQ(Rows(SubtitleList()), S{root + "/two-sub.srt"});
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
    EXPECT_EQ(ReadFile(SettingsFile()), FormatSettingsFile(expected));

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
}

} // namespace
} // namespace tesslin::test
