// The settings file "TesslinGUI.ini": its writer and its reader.
//
// Format: two comment lines and an empty line, then one line per entry in record order:
// the key, one blank, each value text followed by one blank, "# " and the description.
// Every line ends with CR LF; reading accepts CR LF and LF. Both directions pass through a
// SettingsMap, so the text layer (tokens, quotes, comments) knows nothing of value types.
#pragma once

#include "settings/Settings.h"

#include <cstddef>
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
// The first line of the message for a file that is not a settings file.
extern const char* const kNotASettingsFile;

// A settings file is a few hundred bytes; a larger one than this is refused unread, and the
// writer refuses a record that would make one.
constexpr std::size_t kLargestSettingsFile = 1024 * 1024;

// The names of the copies that keep the old bytes of the file at `path`: "<path>.bak" for
// number 0, "<path>.bak.<number>" for the others, up to kLastBackupNumber.
constexpr int kLastBackupNumber = 999;
std::string BackupFileName(const std::string& path, int number);

// The exact bytes WriteSettings puts into the file for `settings`.
// Throws Error when a value cannot be stored so that it reads back unchanged (a text that
// holds a line feed, as the format is one line per key, or a NUL byte, which no text file
// holds), or when the file would be larger than kLargestSettingsFile.
std::string FormatSettingsFile(const Settings& settings);

// Replaces the file at `path` with FormatSettingsFile(settings), atomically: the file
// afterwards is either the old one or the new one, byte for byte. Throws Error
// "Cannot open setting.ini" when the file cannot be written at all, and an Error naming
// the cause for any later failure (the old file is then left untouched).
void WriteSettings(const Settings& settings, const std::string& path = kSettingsFileName);

// Splits the text of a settings file into a map by the tokenizer rules.
SettingsMap ParseSettingsText(std::string_view text);

// Reads the file at `path` and parses it. Throws Error "file not opened", with the file's
// full path and the reason on a second line, when the file cannot be opened or read as a
// file, or is larger than kLargestSettingsFile (then before reading it).
SettingsMap ParseSettingsFile(const std::string& path = kSettingsFileName);

// Resets `settings` to the defaults, then takes the ten keys out of `map` in record order.
// Throws Error kBadBooleanValue at the first boolean that is not "1", "+1", "0", "+0" or
// "-0"; the keys before it then hold the file's values and the rest their defaults.
void ApplySettingsMap(const SettingsMap& map, Settings& settings);

enum class ReadResult {
    Read,            // every key was taken from the file
    ReadInPart,      // reading stopped at a boolean it could not convert (see below)
    NotOpened,       // the file could not be opened or read; the record is unchanged
    NotASettingsFile // the file was read but is no settings file; the record is unchanged
};

// Loads `settings` from the file at `path`; never throws. Every failure is shown through
// ShowMessage, the fixed text first and the details on lines of their own:
// - NotOpened: "file not opened", then the full path and the reason.
// - NotASettingsFile: a file that holds a NUL byte, or a non-empty one in which no line
//   starts with one of the ten keys (a file of only comments is a settings file with no
//   values). kNotASettingsFile, then the full path and what gave it away.
// - ReadInPart: "bad lexical cast: ...", then the line, the key and its value, and the keys
//   that were not read (the failing one and those after it in record order, which keep
//   their defaults).
ReadResult ReadSettings(Settings& settings, const std::string& path = kSettingsFileName);

// Keeps the present bytes of the file at `path` in a new file under the first of the
// BackupFileName(path, 0...) names that nothing holds, and returns that name; does nothing
// and returns "" when there is no file at `path`. An existing entry of a backup's name (an
// earlier copy, a symbolic link, a folder) is never written, followed or replaced. Called
// before a write replaces a file whose reading stopped early, so that the values it could
// not read are not lost. Throws Error when the copy cannot be made (every name taken among
// the reasons); the file at `path` is then to be left alone.
std::string BackUpSettingsFile(const std::string& path = kSettingsFileName);

} // namespace tesslin
