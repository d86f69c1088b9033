#include "rename/RenamePlan.h"

#include "platform/Error.h"

namespace tesslin {

RenamePlan BuildRenamePlan(const std::string& video_name, const std::string& subtitle_name,
                           bool rename_sub_file) {
    const std::string& mover = rename_sub_file ? subtitle_name : video_name;
    const std::string& partner = rename_sub_file ? video_name : subtitle_name;

    const auto mover_dot = mover.rfind('.');
    if (mover_dot == std::string::npos) {
        // Without a dot there is no extension to keep; renaming would strip it silently.
        throw Error("The file to rename has no extension: " + mover);
    }
    const auto partner_dot = partner.rfind('.');
    const std::string stem =
        partner_dot == std::string::npos ? partner : partner.substr(0, partner_dot);
    return RenamePlan{mover, stem + mover.substr(mover_dot)};
}

} // namespace tesslin
