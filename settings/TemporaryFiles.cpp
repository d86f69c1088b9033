#include "settings/TemporaryFiles.h"

#include <boost/filesystem/operations.hpp>

#include <cctype>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

constexpr std::string_view kInfix = ".tmp.";
constexpr std::time_t kOneDay = 24 * 60 * 60;

bool IsHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
}

// The host as it stands in a name: without dots, so the name splits back unambiguously.
std::string HostTag() {
    std::string tag = HostName();
    for (char& c : tag) {
        if (!IsHostCharacter(c)) {
            c = '-';
        }
    }
    return tag.empty() ? "-" : tag;
}

// Reads a run of decimal digits at the back of `text` and drops it; nothing when there is
// none or it is too long to be an id.
std::optional<long> TakeNumberAtBack(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() &&
           std::isdigit(static_cast<unsigned char>(text[text.size() - 1 - digits]))) {
        ++digits;
    }
    if (digits == 0 || digits > 9) {
        return std::nullopt;
    }
    const long number = std::stol(std::string(text.substr(text.size() - digits)));
    text.remove_suffix(digits);
    return number;
}

struct Writer {
    std::string host; // empty: the name gives none
    long pid = 0;
};

// Who wrote `name` when it is "<base>.tmp.[<host>.]<pid>.<n>", else nothing.
std::optional<Writer> WriterOf(std::string_view name, std::string_view base) {
    if (name.size() <= base.size() + kInfix.size() || name.substr(0, base.size()) != base ||
        name.substr(base.size(), kInfix.size()) != kInfix) {
        return std::nullopt;
    }
    name.remove_prefix(base.size() + kInfix.size());
    if (!TakeNumberAtBack(name) || name.empty() || name.back() != '.') {
        return std::nullopt;
    }
    name.remove_suffix(1);
    Writer writer;
    const std::optional<long> pid = TakeNumberAtBack(name);
    if (!pid) {
        return std::nullopt;
    }
    writer.pid = *pid;
    if (name.empty()) {
        return writer;
    }
    if (name.back() != '.' || name.size() == 1) {
        return std::nullopt;
    }
    name.remove_suffix(1);
    for (char c : name) {
        if (!IsHostCharacter(c)) {
            return std::nullopt;
        }
    }
    writer.host = name;
    return writer;
}

bool WriterHasEnded(const Writer& writer, const fs::path& file, const std::string& this_host) {
    if (writer.host == this_host) {
        return writer.pid != CurrentProcessId() && !IsProcessRunning(writer.pid);
    }
    boost::system::error_code ec;
    const std::time_t modified = fs::last_write_time(file, ec);
    return !ec && modified < std::time(nullptr) - kOneDay;
}

} // namespace

fs::path TemporaryFileName(const fs::path& target, int attempt, long pid) {
    return target.string() + std::string(kInfix) + HostTag() + "." + std::to_string(pid) + "." +
           std::to_string(attempt);
}

void RemoveLeftoverTemporaryFiles(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string base = target.filename().string();
    const std::string this_host = HostTag();
    boost::system::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<Writer> writer = WriterOf(it->path().filename().string(), base);
        boost::system::error_code ignored;
        if (writer && fs::symlink_status(it->path(), ignored).type() == fs::regular_file &&
            WriterHasEnded(*writer, it->path(), this_host)) {
            fs::remove(it->path(), ignored);
        }
    }
}

} // namespace tesslin
