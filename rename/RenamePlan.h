// The pure computation of a rename: which file moves and to which new full name.
#pragma once

#include <string>

namespace tesslin {

struct RenamePlan {
    std::string existingName; // the file that is renamed
    std::string newName;      // the partner's stem followed by the mover's own extension
};

// rename_sub_file true: the subtitle takes the video's name; false: the reverse.
// The last dot is the last '.' anywhere in the whole text, folders included.
// The stem is the partner up to its last dot (the whole partner when it has none); the
// extension is the mover from its last dot on. Throws Error when the mover has no dot.
RenamePlan BuildRenamePlan(const std::string& video_name, const std::string& subtitle_name,
                           bool rename_sub_file);

} // namespace tesslin
