#include "settings/TemporaryFiles.h"

#include "platform/Process.h"

#include <boost/filesystem/operations.hpp>

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

constexpr std::string_view kInfix = ".tmp.";

// Reads a run of decimal digits at the front of `text` and drops it; nothing when there is
// none or it is too long to be an id.
std::optional<long> TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        ++digits;
    }
    if (digits == 0 || digits > 9) {
        return std::nullopt;
    }
    const long number = std::stol(std::string(text.substr(0, digits)));
    text.remove_prefix(digits);
    return number;
}

// The writer's process id when `name` is "<base>.tmp.<pid>.<n>", else nothing.
std::optional<long> WriterOf(std::string_view name, std::string_view base) {
    if (name.size() <= base.size() + kInfix.size() || name.substr(0, base.size()) != base ||
        name.substr(base.size(), kInfix.size()) != kInfix) {
        return std::nullopt;
    }
    name.remove_prefix(base.size() + kInfix.size());
    const std::optional<long> pid = TakeNumber(name);
    if (!pid || name.empty() || name.front() != '.') {
        return std::nullopt;
    }
    name.remove_prefix(1);
    if (!TakeNumber(name) || !name.empty()) {
        return std::nullopt;
    }
    return pid;
}

} // namespace

fs::path TemporaryFileName(const fs::path& target, int attempt) {
    return target.string() + std::string(kInfix) + std::to_string(CurrentProcessId()) + "." +
           std::to_string(attempt);
}

void RemoveLeftoverTemporaryFiles(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string base = target.filename().string();
    boost::system::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<long> pid = WriterOf(it->path().filename().string(), base);
        if (!pid || *pid == CurrentProcessId() || IsProcessRunning(*pid)) {
            continue;
        }
        boost::system::error_code ignored;
        if (fs::symlink_status(it->path(), ignored).type() == fs::regular_file) {
            fs::remove(it->path(), ignored);
        }
    }
}

} // namespace tesslin
