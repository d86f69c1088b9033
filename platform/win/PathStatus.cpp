// One path's status on Windows: one open of the file itself (or of the link, when links are
// not followed) gives its volume, its file id, its size and its last write.
#include "platform/PathStatus.h"

#include "platform/win/WideText.h"

#include <windows.h>

namespace tesslin {

PathStatus StatusOf(const std::string& path, bool follow_links) {
    PathStatus status;
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE h = CreateFileW(win::Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // A file that is in use so that not even its attributes may be read still exists.
        status.exists = GetLastError() == ERROR_SHARING_VIOLATION;
        return status;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    const DWORD type = GetFileType(h);
    CloseHandle(h);
    status.exists = true;
    if (!ok) {
        return status;
    }
    status.regular_file =
        type == FILE_TYPE_DISK &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    status.device = info.dwVolumeSerialNumber;
    status.file_id = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    status.size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const std::uint64_t ticks = (std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
    status.modified_ns = static_cast<std::int64_t>(ticks) * 100; // counted in 100 ns
    return status;
}

bool StandardInputIsRegularFile() {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    return in != nullptr && in != INVALID_HANDLE_VALUE && GetFileType(in) == FILE_TYPE_DISK;
}

} // namespace tesslin
