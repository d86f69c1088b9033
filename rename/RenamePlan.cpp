#include "rename/RenamePlan.h"

#include "platform/Translation.h"

#include <boost/filesystem/operations.hpp>
#include <boost/filesystem/path.hpp>

namespace tesslin {

namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// Where the file name of `path` starts: just after its last separator.
std::string::size_type FileNameStart(const std::string& path) {
    const auto separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? 0 : separator + 1;
}

void Refuse(RenameRefusal reason, const std::string& what) {
    throw RenameRefused(reason, what);
}

// The mover's extension, from the last dot of its file name on; refuses a mover that has none.
std::string MoverExtension(const std::string& mover) {
    if (mover.empty()) {
        Refuse(RenameRefusal::kEmptyName, Say("The name of the file to rename is empty"));
    }
    const auto fileName = FileNameStart(mover);
    if (fileName == mover.size()) {
        Refuse(RenameRefusal::kNoFileName,
               Say("The name of the file to rename ends with a separator, so it names no file: {0}",
                   {mover}));
    }
    // Only the file name can hold the extension: a dot in a folder name would make the
    // "extension" a path ("dir.x/sub" -> ".x/sub") and move the file somewhere else.
    const auto dot = mover.rfind('.');
    if (dot == std::string::npos || dot < fileName) {
        // Without an extension there is none to keep; renaming would strip it silently.
        Refuse(RenameRefusal::kNoExtension,
               Say("The file to rename has no extension: {0}", {mover}));
    }
    return mover.substr(dot);
}

// Refuses a new name whose file name is `extension` alone (or nothing at all).
void CheckNewFileName(const std::string& newName, const std::string& extension,
                      const std::string& source) {
    const std::string fileName = newName.substr(FileNameStart(newName));
    if (fileName.empty() || fileName == extension) {
        // An empty partner would give the relative name ".smi": a hidden file without a
        // name in whatever folder the program runs in.
        Refuse(RenameRefusal::kOnlyExtension,
               Say("The new file name would be nothing but the extension: \"{0}\" (from the name "
                   "\"{1}\")",
                   {newName, source}));
    }
}

} // namespace

RenamePlan BuildRenamePlan(const std::string& video_name, const std::string& subtitle_name,
                           bool rename_sub_file) {
    const std::string& mover = rename_sub_file ? subtitle_name : video_name;
    const std::string& partner = rename_sub_file ? video_name : subtitle_name;

    const std::string extension = MoverExtension(mover);
    const auto partnerDot = partner.rfind('.');
    const std::string stem =
        partnerDot == std::string::npos ? partner : partner.substr(0, partnerDot);
    const std::string newName = stem + extension;
    CheckNewFileName(newName, extension, partner);
    return RenamePlan{mover, newName};
}

void CheckRenamePlan(const RenamePlan& plan) {
    namespace fs = boost::filesystem;
    CheckNewFileName(plan.newName, MoverExtension(plan.existingName), plan.newName);

    boost::system::error_code error;
    const fs::file_status entry = fs::symlink_status(plan.existingName, error);
    if (error || entry.type() == fs::file_not_found) {
        return; // the move reports a missing file with the system's reason
    }
    // The link's target decides: a link to a file is renamed (the link itself moves), a
    // link to a folder or to nothing is not a file.
    const fs::file_status target =
        entry.type() == fs::symlink_file ? fs::status(plan.existingName, error) : entry;
    if (error || target.type() != fs::regular_file) {
        Refuse(
            RenameRefusal::kNotAFile,
            Say("The name of the file to rename names no regular file: {0}", {plan.existingName}));
    }
}

RenamePlan PrepareRename(const std::string& video_name, const std::string& subtitle_name,
                         bool rename_sub_file, PartnerPaths partners) {
    RenamePlan plan = BuildRenamePlan(video_name, subtitle_name, rename_sub_file);
    const std::string& partner = rename_sub_file ? video_name : subtitle_name;
    if (partners == PartnerPaths::kAbsoluteOnly &&
        !boost::filesystem::path(partner).is_absolute()) {
        Refuse(RenameRefusal::kPartnerNotAbsolute,
               Say("The name to take is not an absolute path: {0}", {partner}));
    }
    CheckRenamePlan(plan);
    return plan;
}

} // namespace tesslin
