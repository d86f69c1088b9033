#include "rename/RenamePlan.h"
#include "settings/SplitWords.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tesslin {
namespace {

struct PlanCase {
    const char* video;
    const char* subtitle;
    bool rename_sub_file;
    const char* existing;
    const char* renamed;
};

TEST(BuildRenamePlan, TakesPartnerStemAndMoverExtension) {
    const PlanCase cases[] = {
        // The stem ends at the last dot; the subtitle moves into the video's folder.
        {"/v/a.b.avi", "/s/x.smi", true, "/s/x.smi", "/v/a.b.smi"},
        {"/v/movie.avi", "/v/Movie.KOR.smi", false, "/v/movie.avi", "/v/Movie.KOR.avi"},
        // The mover keeps the extension after its own last dot.
        {"/v/a.avi", "/s/x.ko.smi", true, "/s/x.ko.smi", "/v/a.smi"},
        // A partner without any dot gives its whole text as the stem.
        {"/v/clip", "/v/c.smi", true, "/v/c.smi", "/v/clip.smi"},
        // A dot in a folder name counts when the file name itself has none.
        {"/my.videos/clip", "/v/c.smi", true, "/v/c.smi", "/my.smi"},
        // Bytes that are not UTF-8 pass through untouched.
        {"/v/\xb0\xff.avi", "/v/\xc0\xbd.smi", true, "/v/\xc0\xbd.smi", "/v/\xb0\xff.smi"},
        {"/v/a.avi", "/v/b.", true, "/v/b.", "/v/a."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.video) + " | " + c.subtitle);
        const RenamePlan plan = BuildRenamePlan(c.video, c.subtitle, c.rename_sub_file);
        EXPECT_EQ(plan.existingName, c.existing);
        EXPECT_EQ(plan.newName, c.renamed);
    }
}

TEST(BuildRenamePlan, RefusesWhenTheExtensionOrTheNewFileNameWouldBeLost) {
    const std::tuple<const char*, const char*, bool, RenameRefusal> cases[] = {
        {"/v/a.avi", "/v/nodot", true, RenameRefusal::kNoExtension},
        {"/v/nodot", "/v/a.smi", false, RenameRefusal::kNoExtension},
        // Only the file name holds the extension, not a folder ("/dir.x/sub" is no ".x/sub").
        {"/v/a.avi", "/dir.x/sub", true, RenameRefusal::kNoExtension},
        {"", "", true, RenameRefusal::kEmptyName},
        {"/v/a.avi", "/v/s.smi/", true, RenameRefusal::kNoFileName},
        // The new name would be ".smi" alone: relative, hidden, nameless.
        {"", "/v/s.smi", true, RenameRefusal::kOnlyExtension},
        {"/v/", "/v/s.smi", true, RenameRefusal::kOnlyExtension},
        {"/v/.hidden", "/v/s.smi", true, RenameRefusal::kOnlyExtension},
    };
    for (const auto& [video, subtitle, rename_sub_file, reason] : cases) {
        SCOPED_TRACE(std::string(video) + " | " + subtitle);
        try {
            BuildRenamePlan(video, subtitle, rename_sub_file);
            ADD_FAILURE() << "not refused";
        } catch (const RenameRefused& refused) {
            EXPECT_EQ(refused.reason(), reason) << refused.what();
        }
    }
}

TEST(SplitWords, SplitsOnWhiteSpaceOnly) {
    using Words = std::vector<std::string>;
    const std::pair<const char*, Words> cases[] = {
        {"avi mkv mp4 wmv", {"avi", "mkv", "mp4", "wmv"}},
        {"avi,mkv", {"avi,mkv"}},
        {" \t\r\n\v\f ", {}},
        {"", {}},
        {".avi AVI .avi", {".avi", "AVI", ".avi"}},
        {"\xeb\x8f\x99 \xff", {"\xeb\x8f\x99", "\xff"}},
    };
    for (const auto& [text, words] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(SplitWords(text), words);
        EXPECT_EQ(SplitWords(JoinWords(words)), words);
    }
    EXPECT_EQ(JoinWords({"avi", "mkv"}), "avi mkv ");
}

} // namespace
} // namespace tesslin
