// The computation of a rename (which file moves and to which new full name) and the checks
// that refuse a rename before anything on disk is touched. The window, `tesslin rename` and
// any batch of renames go through PrepareRename, so all of them refuse the same cases.
#pragma once

#include "platform/Error.h"

#include <string>

namespace tesslin {

struct RenamePlan {
    std::string existingName; // the file that is renamed
    std::string newName;      // the partner's stem followed by the mover's own extension
};

// Why a rename was refused; nothing on disk has been touched.
enum class RenameRefusal {
    kEmptyName,          // the name of the file to rename is empty
    kNoFileName,         // it ends with a separator: it names a folder, not a file
    kNoExtension,        // its file name (after the last separator) holds no dot
    kOnlyExtension,      // the new file name would be the extension alone
    kPartnerNotAbsolute, // the partner is not an absolute path, where one is required
    kNotAFile,           // it names something other than a regular file or a link to one
};

// A refused rename. what() is the English text (the command line shows it); reason() lets
// the window say the same in its own words.
class RenameRefused : public Error {
public:
    RenameRefused(RenameRefusal reason, const std::string& what) : Error(what), reason_(reason) {}
    RenameRefusal reason() const { return reason_; }

private:
    RenameRefusal reason_;
};

// rename_sub_file true: the subtitle takes the video's name; false: the reverse.
// The extension is the mover's file name (the part after its last separator) from its last
// dot on; the stem is the partner up to the last dot anywhere in its text (the whole partner
// when it has none, so a dot in a folder name counts there). newName = stem + extension.
// Pure: touches neither the disk nor any window. Throws RenameRefused (kEmptyName,
// kNoFileName, kNoExtension, kOnlyExtension) when there is no extension to keep or the new
// file name would be nothing but the extension (an empty partner, or one that ends with a
// separator or in a folder's dot).
RenamePlan BuildRenamePlan(const std::string& video_name, const std::string& subtitle_name,
                           bool rename_sub_file);

// Which partner paths a rename accepts. The window's lists hold absolute paths only, so there
// a relative partner is a mistake that would move the file into the working folder; the
// command line resolves relative paths against the caller's folder on purpose.
enum class PartnerPaths { kAny, kAbsoluteOnly };

// The checks every rename passes before MoveFileNoReplace, for a plan made any way (a
// batch of renames makes its own): the refusals of BuildRenamePlan on existingName and
// newName, and, on the disk, that existingName, when it exists, is a regular file or a
// symbolic link to one (a missing file is left to the move, which reports it). Throws
// RenameRefused.
void CheckRenamePlan(const RenamePlan& plan);

// BuildRenamePlan, the partner rule, then CheckRenamePlan. Throws RenameRefused; the plan it
// returns is ready for MoveFileNoReplace.
RenamePlan PrepareRename(const std::string& video_name, const std::string& subtitle_name,
                         bool rename_sub_file, PartnerPaths partners);

} // namespace tesslin
