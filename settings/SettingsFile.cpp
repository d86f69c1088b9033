#include "settings/SettingsFile.h"

#include "platform/Error.h"
#include "platform/MessageSeam.h"
#include "platform/SystemText.h"
#include "platform/Translation.h"
#include "settings/AtomicWrite.h"
#include "settings/Blank.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tesslin {

const std::string kSettingsFileName = "TesslinGUI.ini";
const char* const kCannotOpenForWriting = "Cannot open setting.ini";
const char* const kCannotOpenForReading = "file not opened";
const char* const kBadBooleanValue =
    "bad lexical cast: source type value could not be interpreted as target";
const char* const kNotASettingsFile =
    "The file is not recognised as a settings file: it was not read and will not be changed; "
    "the default settings are used.";

namespace {

const char* const kCannotKeepOldFile = "Cannot keep a copy of the old settings file: the file "
                                       "was left as it was and the settings were not saved.";
constexpr char kLineEnd[] = "\r\n";
constexpr char kQuote = '"';

bool NeedsQuotes(const std::string& value) {
    for (char c : value) {
        if (IsBlank(c) || c == '#' || c == kQuote) {
            return true;
        }
    }
    return false;
}

std::string DoubleQuotes(const std::string& value) {
    std::string out;
    for (char c : value) {
        out += c;
        if (c == kQuote) {
            out += kQuote;
        }
    }
    return out;
}

// One value text as it stands in the file. Values without blanks, "#" and quotes are written
// as they are (a root folder always inside quotes); the others inside quotes with inner
// quotes doubled, which the tokenizer reads back as the same text. A line break cannot be
// kept in a line-based file, so such a value is refused before anything is written.
std::string EncodeValue(const std::string& value, bool always_quoted) {
    if (value.find('\n') != std::string::npos) {
        throw Error(Say("A setting cannot hold a line break: {0}", {value}));
    }
    // A file that holds a NUL byte is taken for some other file when it is read.
    if (value.find('\0') != std::string::npos) {
        throw Error(Say("A setting cannot hold a NUL byte"));
    }
    if (always_quoted || value.empty() || NeedsQuotes(value)) {
        return kQuote + DoubleQuotes(value) + kQuote;
    }
    return value;
}

void AppendEntry(std::string& out, const std::string& name,
                 const std::vector<std::string>& encoded_values, const std::string& description) {
    out += name;
    out += ' ';
    for (const auto& value : encoded_values) {
        out += value;
        out += ' ';
    }
    if (!description.empty()) {
        out += "# ";
        out += description;
    }
    out += kLineEnd;
}

std::vector<std::string> EncodeBool(bool value) {
    return {value ? "1" : "0"};
}

std::vector<std::string> EncodeList(const std::vector<std::string>& list) {
    std::vector<std::string> out;
    for (const auto& element : list) {
        out.push_back(EncodeValue(element, false));
    }
    return out;
}

// A filter is one value; the empty filter is one empty value, which leaves nothing between
// the key's blank and the value's blank.
std::vector<std::string> EncodeFilter(const std::string& filter) {
    return {filter.empty() ? std::string() : EncodeValue(filter, false)};
}

// Splits the rest of one line (after its key) into value texts.
std::vector<std::string> TokenizeLine(std::string_view line) {
    std::vector<std::string> values;
    std::string token;
    bool in_quotes = false;
    std::size_t i = 0;

    // A value made of an even number of quotes alone is read as a quoted text of quotes:
    // two quotes are the empty text, four one quote, and so on. This is the form the writer
    // gives those values (the empty root folder among them).
    auto quotes_alone = [&]() -> std::size_t {
        if (in_quotes || !token.empty()) {
            return 0;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] == kQuote) {
            ++end;
        }
        const bool alone = end == line.size() || IsBlank(line[end]) || line[end] == '#';
        return alone && (end - i) % 2 == 0 ? end - i : 0;
    };

    while (i < line.size()) {
        const char c = line[i];
        if (c == '#' && !in_quotes) {
            break;
        }
        if (c == kQuote) {
            if (const std::size_t run = quotes_alone()) {
                values.emplace_back((run - 2) / 2, kQuote);
                i += run;
                continue;
            }
            if (i + 1 < line.size() && line[i + 1] == kQuote) {
                token += kQuote;
                i += 2;
                continue;
            }
            in_quotes = !in_quotes;
            if (!in_quotes) {
                values.push_back(std::move(token));
                token.clear();
            }
            ++i;
            continue;
        }
        if (!IsBlank(c) || in_quotes) {
            token += c;
            ++i;
            continue;
        }
        if (!token.empty()) {
            values.push_back(std::move(token));
            token.clear();
        }
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
    }
    if (!token.empty()) {
        values.push_back(std::move(token));
    }
    return values;
}

std::optional<bool> ToBool(const std::string& text) {
    if (text == "1" || text == "+1") {
        return true;
    }
    if (text == "0" || text == "+0" || text == "-0") {
        return false;
    }
    return std::nullopt;
}

// Each Take sets one entry from the map; false when its value cannot be converted (the
// entry then keeps the value it had).
bool Take(const SettingsMap& map, SettingEntry<bool>& entry) {
    const auto it = map.find(entry.name);
    if (it == map.end()) {
        entry.value = false;
        return true;
    }
    const std::optional<bool> value = ToBool(it->second.front());
    if (value) {
        entry.value = *value;
    }
    return value.has_value();
}

bool Take(const SettingsMap& map, SettingEntry<std::string>& entry) {
    const auto it = map.find(entry.name);
    entry.value = it != map.end() ? it->second.front() : std::string();
    return true;
}

bool Take(const SettingsMap& map, SettingEntry<WordList>& entry) {
    const auto it = map.find(entry.name);
    entry.value = it != map.end() ? it->second : WordList();
    return true;
}

// Resets `s`, then takes the keys in record order up to the first that cannot be converted.
// Gives the keys that were not read: that one and all after it, which keep their defaults.
std::vector<std::string> TakeAll(const SettingsMap& map, Settings& s) {
    s.ResetToDefaults();
    std::vector<std::string> not_read;
    VisitEntries(s, [&](auto& entry) {
        if (!not_read.empty() || !Take(map, entry)) {
            not_read.push_back(entry.name);
        }
        return true;
    });
    return not_read;
}

bool IsSettingName(const std::string& word) {
    static const std::vector<std::string> names = [] {
        Settings s;
        s.ResetToDefaults();
        std::vector<std::string> out;
        VisitEntries(s, [&](const auto& entry) {
            out.push_back(entry.name);
            return true;
        });
        return out;
    }();
    return std::find(names.begin(), names.end(), word) != names.end();
}

// A text split into its map, with what reading needs to know beyond the map.
struct ParsedText {
    SettingsMap map;
    std::map<std::string, std::size_t> line_of; // the line (from 1) each stored key came from
    bool setting_name_seen = false;             // some line starts with a setting's name
    bool other_word_seen = false; // some line starts with a word that is neither that nor
                                  // a comment
};

ParsedText Parse(std::string_view text) {
    ParsedText parsed;
    std::size_t pos = 0;
    std::size_t line = 1;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos])) {
            line += text[pos] == '\n';
            ++pos;
        }
        if (pos == text.size()) {
            return parsed;
        }
        const std::size_t key_start = pos;
        while (pos < text.size() && !IsBlank(text[pos])) {
            ++pos;
        }
        const std::string key(text.substr(key_start, pos - key_start));
        if (IsSettingName(key)) {
            parsed.setting_name_seen = true;
        } else if (key.front() != '#') {
            parsed.other_word_seen = true;
        }

        std::size_t line_end = text.find('\n', pos);
        if (line_end == std::string_view::npos) {
            line_end = text.size();
        }
        std::string_view rest = text.substr(pos, line_end - pos);
        // A CR LF line end is one line end, as in text mode; the CR is not part of a value.
        if (!rest.empty() && rest.back() == '\r') {
            rest.remove_suffix(1);
        }
        pos = line_end;

        std::vector<std::string> values = TokenizeLine(rest);
        if (!values.empty()) {
            parsed.map[key] = std::move(values);
            parsed.line_of[key] = line;
        }
    }
}

std::string TooLarge(std::uintmax_t size) {
    return Say("it holds {0} bytes, more than a settings file can ({1})",
               {std::to_string(size), std::to_string(kLargestSettingsFile)});
}

FileBytes ReadSmallFile(const std::string& path) {
    FileBytes file = ReadWholeFile(path, kLargestSettingsFile);
    if (file.over_limit != 0) {
        file.failure = TooLarge(file.over_limit);
    }
    return file;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += text.empty() ? word : ", " + word;
    }
    return text;
}

} // namespace

std::string FormatSettingsFile(const Settings& s) {
    std::string out = "# Program-generated setting file.\r\n"
                      "# Read the manual to modify.\r\n"
                      "\r\n";
    AppendEntry(out, s.autostart.name, EncodeBool(s.autostart.value), s.autostart.description);
    AppendEntry(out, s.root_directory.name, {EncodeValue(s.root_directory.value, true)},
                s.root_directory.description);
    AppendEntry(out, s.vid_ext.name, EncodeList(s.vid_ext.value), s.vid_ext.description);
    AppendEntry(out, s.sub_ext.name, EncodeList(s.sub_ext.value), s.sub_ext.description);
    AppendEntry(out, s.vid_regex.name, EncodeFilter(s.vid_regex.value), s.vid_regex.description);
    AppendEntry(out, s.sub_regex.name, EncodeFilter(s.sub_regex.value), s.sub_regex.description);
    AppendEntry(out, s.use_vid_regex.name, EncodeBool(s.use_vid_regex.value),
                s.use_vid_regex.description);
    AppendEntry(out, s.use_sub_regex.name, EncodeBool(s.use_sub_regex.value),
                s.use_sub_regex.description);
    AppendEntry(out, s.is_recursive.name, EncodeBool(s.is_recursive.value),
                s.is_recursive.description);
    AppendEntry(out, s.rename_sub_file.name, EncodeBool(s.rename_sub_file.value),
                s.rename_sub_file.description);
    if (out.size() > kLargestSettingsFile) {
        throw Error(Say("The settings are too long to be stored: {0}", {TooLarge(out.size())}));
    }
    return out;
}

void WriteSettings(const Settings& settings, const std::string& path) {
    // Formatting first: a value that cannot be stored must not cost the old file.
    const std::string contents = FormatSettingsFile(settings);
    ReplaceFileAtomically(path, ToSystemCodePage(contents), kCannotOpenForWriting);
}

std::string BackupFileName(const std::string& path, int number) {
    std::string name = path + ".bak";
    if (number != 0) {
        name += '.';
        name += std::to_string(number);
    }
    return name;
}

SettingsMap ParseSettingsText(std::string_view text) {
    return Parse(text).map;
}

SettingsMap ParseSettingsFile(const std::string& path) {
    const FileBytes file = ReadSmallFile(path);
    if (!file.failure.empty()) {
        throw FileError(kCannotOpenForReading, path, file.failure);
    }
    return ParseSettingsText(FromSystemCodePage(file.bytes));
}

void ApplySettingsMap(const SettingsMap& map, Settings& s) {
    if (!TakeAll(map, s).empty()) {
        throw Error(kBadBooleanValue);
    }
}

ReadResult ReadSettings(Settings& settings, const std::string& path) {
    const FileBytes file = ReadSmallFile(path);
    if (!file.failure.empty()) {
        ShowMessage(FileError(kCannotOpenForReading, path, file.failure).what());
        return ReadResult::NotOpened;
    }
    // Another program's file (a README behind a link, an image, another tool's settings)
    // would otherwise read as "every value empty" and be replaced at the next write.
    if (file.bytes.find('\0') != std::string::npos) {
        ShowMessage(FileError(Say(kNotASettingsFile), path, Say("it holds a NUL byte")).what());
        return ReadResult::NotASettingsFile;
    }
    const ParsedText parsed = Parse(FromSystemCodePage(file.bytes));
    if (!parsed.setting_name_seen && parsed.other_word_seen) {
        ShowMessage(FileError(Say(kNotASettingsFile), path,
                              Say("no line starts with the name of a setting"))
                        .what());
        return ReadResult::NotASettingsFile;
    }
    const std::vector<std::string> not_read = TakeAll(parsed.map, settings);
    if (not_read.empty()) {
        return ReadResult::Read;
    }
    const std::string& key = not_read.front();
    ShowMessage(std::string(kBadBooleanValue) + "\n" +
                Say("Line {0}: {1} \"{2}\" is neither 1 nor 0. These settings were not read and "
                    "keep their defaults: {3}.",
                    {std::to_string(parsed.line_of.at(key)), key, parsed.map.at(key).front(),
                     Joined(not_read)}));
    return ReadResult::ReadInPart;
}

std::string BackUpSettingsFile(const std::string& path) {
    const FileBytes file = ReadSmallFile(path);
    if (file.missing) {
        return {};
    }
    if (!file.failure.empty()) {
        throw FileError(Say(kCannotKeepOldFile), path, file.failure);
    }
    // Each copy gets a name of its own: a copy the user already has, or the one an earlier
    // close made of the very file this session read (two windows on one file), keeps its
    // bytes, and whatever else holds a name (a link, a folder) is left as it is.
    for (int number = 0; number <= kLastBackupNumber; ++number) {
        const std::string name = BackupFileName(path, number);
        if (CreateNewFile(name, file.bytes, Say(kCannotKeepOldFile))) {
            return name;
        }
    }
    throw FileError(Say(kCannotKeepOldFile), BackupFileName(path, kLastBackupNumber),
                    Say("every name for a copy up to this one is taken"));
}

} // namespace tesslin
