#include "view/ScanMessages.h"

#include "platform/Error.h"
#include "platform/SystemText.h"
#include "view/RootFolderText.h"

#include <boost/filesystem/exception.hpp>
#include <boost/regex.hpp>
#include <boost/system/error_code.hpp>

#include <algorithm>
#include <optional>

namespace tesslin {

namespace {

// How much of each skipped path the report shows: about two lines of the box each.
constexpr std::size_t kWholePathUpTo = 100;
constexpr std::size_t kPathSideBytes = 45;

// The library's complaint about `pattern`, or nothing when it compiles. Compiled exactly as
// the scan engine compiles its filters: default (Perl) syntax.
std::optional<std::string> PatternComplaint(const std::string& pattern) {
    try {
        boost::regex compiled(pattern);
        return std::nullopt;
    } catch (const boost::regex_error& e) {
        return ErrorText(e);
    }
}

std::string FilterFailureText(const CMismatchScanner& scanner, const boost::regex_error& error) {
    struct Filter {
        bool used;
        const std::string& pattern;
        const char* caption;
    };
    const Filter filters[] = {
        {scanner.use_vid_regex, scanner.vid_regex, "영상 파일 정규식 필터"},
        {scanner.use_sub_regex, scanner.sub_regex, "자막 파일 정규식 필터"},
    };
    for (const Filter& filter : filters) {
        if (!filter.used) {
            continue;
        }
        if (auto complaint = PatternComplaint(filter.pattern)) {
            return std::string(filter.caption) +
                   "가 올바른 정규식이 아니어서 스캔하지 못했습니다.\n\n필터: " + filter.pattern +
                   "\n오류: " + *complaint;
        }
    }
    // The engine rejected a pattern that compiles here; its own complaint is all we have.
    return "정규식 필터가 올바르지 않아 스캔하지 못했습니다.\n\n오류: " + ErrorText(error);
}

std::string FolderFailureText(const CMismatchScanner& scanner,
                              const boost::filesystem::filesystem_error& error) {
    namespace errc = boost::system::errc;
    const std::string& root = scanner.root_directory;
    if (root.empty()) {
        return "루트 폴더가 설정되어 있지 않아 스캔하지 못했습니다.\n\"루트 폴더 설정\"으로 스캔할 "
               "폴더를 선택하세요.";
    }
    const boost::system::error_code& code = error.code();
    if (code == errc::no_such_file_or_directory) {
        return "루트 폴더가 없어 스캔하지 못했습니다.\n\n폴더: " + root;
    }
    if (code == errc::not_a_directory) {
        return "루트 폴더가 폴더가 아니어서 스캔하지 못했습니다.\n\n폴더: " + root;
    }
    // Permission denied, I/O errors and the like: name the folder the system complained
    // about (the root, or whatever the engine was reading) with the system's reason.
    const std::string folder = error.path1().empty() ? root : error.path1().string();
    std::string text = "폴더를 읽을 수 없어 스캔하지 못했습니다.\n\n폴더: " + folder;
    if (code) {
        text += "\n이유: " + ErrorCodeText(code);
    }
    return text;
}

} // namespace

std::string ScanFailureText(const CMismatchScanner& scanner, const std::exception& error) {
    if (const auto* regex_error = dynamic_cast<const boost::regex_error*>(&error)) {
        return FilterFailureText(scanner, *regex_error);
    }
    if (const auto* fs_error = dynamic_cast<const boost::filesystem::filesystem_error*>(&error)) {
        return FolderFailureText(scanner, *fs_error);
    }
    return "스캔하지 못했습니다.\n\n오류: " + ErrorText(error);
}

std::string SkippedEntriesText(const std::vector<SkippedEntry>& skipped, std::size_t shown) {
    if (skipped.empty()) {
        return {};
    }
    std::string text = "읽을 수 없는 폴더나 파일 " + std::to_string(skipped.size()) +
                       "개를 건너뛰었습니다. 목록에는 그 안의 파일이 빠져 있습니다.\n";
    const std::size_t count = std::min(shown, skipped.size());
    for (std::size_t i = 0; i < count; ++i) {
        // A long path would wrap over many lines and push the box past the screen. (Appended
        // piece by piece: GCC 12 for Windows wrongly warns of overlapping copies in a
        // literal + a temporary string.)
        text += '\n';
        text += ShortenMiddle(skipped[i].path.string(), kPathSideBytes, kWholePathUpTo);
        if (!skipped[i].reason.empty()) {
            text += " (";
            text += skipped[i].reason;
            text += ')';
        }
    }
    if (skipped.size() > count) {
        text += "\n... 외 " + std::to_string(skipped.size() - count) + "개";
    }
    return text;
}

} // namespace tesslin
