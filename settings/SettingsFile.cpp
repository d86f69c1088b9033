#include "settings/SettingsFile.h"

#include "platform/Error.h"
#include "platform/MessageSeam.h"
#include "settings/AtomicWrite.h"
#include "settings/Blank.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tesslin {

const std::string kSettingsFileName = "TesslinGUI.ini";
const char* const kCannotOpenForWriting = "Cannot open setting.ini";
const char* const kCannotOpenForReading = "file not opened";
const char* const kBadBooleanValue =
    "bad lexical cast: source type value could not be interpreted as target";

namespace {

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
        throw Error("A setting cannot hold a line break: " + value);
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

bool ToBool(const std::string& text) {
    if (text == "1" || text == "+1") {
        return true;
    }
    if (text == "0" || text == "+0" || text == "-0") {
        return false;
    }
    throw Error(kBadBooleanValue);
}

void Take(const SettingsMap& map, SettingEntry<bool>& entry) {
    const auto it = map.find(entry.name);
    entry.value = it != map.end() && ToBool(it->second.front());
}

void Take(const SettingsMap& map, SettingEntry<std::string>& entry) {
    const auto it = map.find(entry.name);
    entry.value = it != map.end() ? it->second.front() : std::string();
}

void Take(const SettingsMap& map, SettingEntry<WordList>& entry) {
    const auto it = map.find(entry.name);
    entry.value = it != map.end() ? it->second : WordList();
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
    return out;
}

void WriteSettings(const Settings& settings, const std::string& path) {
    // Formatting first: a value that cannot be stored must not cost the old file.
    const std::string contents = FormatSettingsFile(settings);
    ReplaceFileAtomically(path, contents, kCannotOpenForWriting);
}

SettingsMap ParseSettingsText(std::string_view text) {
    SettingsMap map;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        if (pos == text.size()) {
            return map;
        }
        const std::size_t key_start = pos;
        while (pos < text.size() && !IsBlank(text[pos])) {
            ++pos;
        }
        const std::string key(text.substr(key_start, pos - key_start));

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
            map[key] = std::move(values);
        }
    }
}

SettingsMap ParseSettingsFile(const std::string& path) {
    // A folder opens fine for reading on this platform; it is no settings file all the same.
    // O_NONBLOCK: opening a pipe (FIFO) in the file's place would otherwise wait for a writer
    // forever and the program would never start; for a regular file the flag changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw Error(kCannotOpenForReading);
    }
    std::string text;
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    char buffer[16384];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) {
        throw Error(kCannotOpenForReading);
    }
    return ParseSettingsText(text);
}

void ApplySettingsMap(const SettingsMap& map, Settings& s) {
    s.ResetToDefaults();
    Take(map, s.autostart);
    Take(map, s.root_directory);
    Take(map, s.vid_ext);
    Take(map, s.sub_ext);
    Take(map, s.vid_regex);
    Take(map, s.sub_regex);
    Take(map, s.use_vid_regex);
    Take(map, s.use_sub_regex);
    Take(map, s.is_recursive);
    Take(map, s.rename_sub_file);
}

bool ReadSettings(Settings& settings, const std::string& path) {
    SettingsMap map;
    try {
        map = ParseSettingsFile(path);
    } catch (const std::exception& e) {
        ShowMessage(ErrorText(e));
        return false;
    }
    try {
        ApplySettingsMap(map, settings);
    } catch (const std::exception& e) {
        ShowMessage(ErrorText(e));
    }
    return true;
}

} // namespace tesslin
