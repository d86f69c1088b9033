#include "platform/win/WideText.h"

#include "platform/Translation.h"

#include <windows.h>

namespace tesslin::win {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

namespace {
// The words every system gives the errors a file operation commonly meets.
const char* CommonErrorText(unsigned long code) {
    switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return "File exists";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return "No such file or directory";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Permission denied";
    case ERROR_NOT_SAME_DEVICE:
        return "Invalid cross-device link";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "No space left on device";
    case ERROR_WRITE_PROTECT:
        return "Read-only file system";
    case ERROR_DIRECTORY:
        return "Not a directory";
    case ERROR_IO_DEVICE:
        return "Input/output error";
    case ERROR_DIR_NOT_EMPTY:
        return "Directory not empty";
    default:
        return nullptr;
    }
}
} // namespace

std::string ErrorText(unsigned long code) {
    if (const char* common = CommonErrorText(code)) {
        return Say(common);
    }
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                   reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n != 0 && buffer != nullptr) {
        text = Utf8(std::wstring_view(buffer, n));
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.' ||
                             text.back() == ' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = "Windows error " + std::to_string(code);
    }
    return text;
}

} // namespace tesslin::win
