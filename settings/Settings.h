// The settings record: the ten settings of the tool, each with its key, value and the
// one-line description that the settings file carries as a comment.
#pragma once

#include <string>
#include <vector>

namespace tesslin {

using WordList = std::vector<std::string>;

template <typename T> struct SettingEntry {
    std::string name;        // the key, exactly as written in the settings file
    T value{};               // bool, text or list of texts
    std::string description; // UTF-8 comment written behind the value

    bool operator==(const SettingEntry&) const = default;
};

// A plain value type. Default construction leaves every name, description, text and list
// empty (and every switch false); ResetToDefaults brings the record into use.
struct Settings {
    SettingEntry<bool> autostart;
    SettingEntry<std::string> root_directory;
    SettingEntry<WordList> vid_ext;
    SettingEntry<WordList> sub_ext;
    SettingEntry<std::string> vid_regex;
    SettingEntry<std::string> sub_regex;
    SettingEntry<bool> use_vid_regex;
    SettingEntry<bool> use_sub_regex;
    SettingEntry<bool> is_recursive;
    SettingEntry<bool> rename_sub_file;

    // Sets every entry's name, default value and description, in record order; lists
    // become exactly the default lists. The only operation that sets names and descriptions.
    void ResetToDefaults();

    bool operator==(const Settings&) const = default;
};

// Calls `visit` on each of the ten entries of `settings` in record order, as long as it
// returns true; gives false when it stopped early.
template <typename Record, typename Visit> bool VisitEntries(Record& s, Visit&& visit) {
    return visit(s.autostart) && visit(s.root_directory) && visit(s.vid_ext) && visit(s.sub_ext) &&
           visit(s.vid_regex) && visit(s.sub_regex) && visit(s.use_vid_regex) &&
           visit(s.use_sub_regex) && visit(s.is_recursive) && visit(s.rename_sub_file);
}

// The platform's root folder, the default scan root: "C:\" on Windows, "/" elsewhere.
const char* DefaultRootDirectory();

} // namespace tesslin
