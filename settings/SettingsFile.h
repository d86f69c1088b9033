// The settings file "TesslinGUI.ini": its writer and its reader.
//
// Format: two comment lines and an empty line, then one line per entry in record order:
// the key, one blank, each value text followed by one blank, "# " and the description.
// Every line ends with CR LF; reading accepts CR LF and LF. Both directions pass through a
// SettingsMap, so the text layer (tokens, quotes, comments) knows nothing of value types.
#pragma once

#include "settings/Settings.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// Key -> value texts. Reading stores a key only together with at least one value.
using SettingsMap = std::map<std::string, std::vector<std::string>>;

// The settings file's name, resolved against the current working directory.
extern const std::string kSettingsFileName;

// Error texts of the settings file, shown to the user as they stand.
extern const char* const kCannotOpenForWriting; // "Cannot open setting.ini"
extern const char* const kCannotOpenForReading; // "file not opened"
extern const char* const kBadBooleanValue;      // "bad lexical cast: ..."

// The exact bytes WriteSettings puts into the file for `settings`.
// Throws Error when a value cannot be stored so that it reads back unchanged
// (a text that holds a line feed: the format is one line per key).
std::string FormatSettingsFile(const Settings& settings);

// Replaces the file at `path` with FormatSettingsFile(settings), atomically: the file
// afterwards is either the old one or the new one, byte for byte. Throws Error
// "Cannot open setting.ini" when the file cannot be written at all, and an Error naming
// the cause for any later failure (the old file is then left untouched).
void WriteSettings(const Settings& settings, const std::string& path = kSettingsFileName);

// Splits the text of a settings file into a map by the tokenizer rules.
SettingsMap ParseSettingsText(std::string_view text);

// Reads the file at `path` and parses it. Throws Error "file not opened" when the file
// cannot be opened (or read) as a file.
SettingsMap ParseSettingsFile(const std::string& path = kSettingsFileName);

// Resets `settings` to the defaults, then takes the ten keys out of `map` in record order.
// Throws Error kBadBooleanValue at the first boolean that is not "1", "+1", "0", "+0" or
// "-0"; the keys before it then hold the file's values and the rest their defaults.
void ApplySettingsMap(const SettingsMap& map, Settings& settings);

// Loads `settings` from the file at `path`; never throws. Every failure is shown through
// ShowMessage. Returns true when the file was parsed (even if a value was then rejected),
// false when it could not be opened (the record is then unchanged).
bool ReadSettings(Settings& settings, const std::string& path = kSettingsFileName);

} // namespace tesslin
