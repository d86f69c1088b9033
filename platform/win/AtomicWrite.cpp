// The settings file's bytes on Windows.
#include "settings/AtomicWrite.h"
#include "settings/AtomicWriteSeam.h"

#include "platform/Error.h"
#include "platform/win/WideText.h"
#include "settings/TemporaryFiles.h"

#include <windows.h>

#include <utility>

namespace tesslin {

namespace {

// Closes a handle on every path out of a function.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    // Closes now and reports the result.
    bool Close() {
        return h_ == INVALID_HANDLE_VALUE || CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE h_;
};

AtomicWriteCalls& Calls() {
    static AtomicWriteCalls calls{
        [](void* file) { return FlushFileBuffers(file) != 0; },
        [](const wchar_t* from, const wchar_t* to) {
            return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }};
    return calls;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The file a path finally names, links followed, so that a link survives the replacement.
std::wstring FinalPath(HANDLE file, const std::wstring& fallback) {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetFinalPathNameByHandleW(file, buffer, MAX_PATH, FILE_NAME_NORMALIZED);
    if (n == 0) {
        return fallback;
    }
    if (n < MAX_PATH) {
        return std::wstring(buffer, n);
    }
    std::wstring path(n, L'\0');
    n = GetFinalPathNameByHandleW(file, path.data(), n, FILE_NAME_NORMALIZED);
    path.resize(n);
    return n == 0 ? fallback : path;
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr)) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

// A virus scanner or the search indexer may hold the old file open for a moment; the move
// over it is tried again for about a second before it counts as failed.
bool MoveOver(const std::wstring& temp, const std::wstring& target, DWORD& err) {
    for (int attempt = 0;; ++attempt) {
        if (Calls().rename(temp.c_str(), target.c_str())) {
            return true;
        }
        err = GetLastError();
        if ((err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION) || attempt == 20) {
            return false;
        }
        Sleep(50);
    }
}

} // namespace

AtomicWriteCalls SetAtomicWriteCalls(const AtomicWriteCalls& calls) {
    return std::exchange(Calls(), calls);
}

void ReplaceFileAtomically(const std::string& path, std::string_view contents,
                           const std::string& cannot_open_text) {
    std::wstring target = win::Widen(path);

    // The file must be writable as it stands: a settings file the user made read-only, or a
    // folder in its place, is refused, as opening it for writing would be.
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    {
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (probe.valid()) {
            BY_HANDLE_FILE_INFORMATION info{};
            if (!GetFileInformationByHandle(probe.get(), &info)) {
                throw FileError(cannot_open_text, path, win::ErrorText(GetLastError()));
            }
            const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (folder || GetFileType(probe.get()) != FILE_TYPE_DISK) {
                throw FileError(cannot_open_text, path, NotARegularFile(folder));
            }
            // The new file keeps what the user set on the old one (hidden, say).
            attributes = info.dwFileAttributes &
                         (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
            if (attributes == 0) {
                attributes = FILE_ATTRIBUTE_NORMAL;
            }
            target = FinalPath(probe.get(), target);
        } else if (const DWORD err = GetLastError(); err != ERROR_FILE_NOT_FOUND) {
            throw FileError(cannot_open_text, path, win::ErrorText(err));
        }
    }
    const std::string target_text = win::Utf8(target);

    // The temporary file sits beside the target so that the final move never crosses a
    // volume. CREATE_NEW makes a leftover or a concurrent writer's file a retry, never a
    // shared file. This is also why the folder must be writable, not only the file. Others
    // (a virus scanner) may read it while it is written, but neither write nor remove it.
    std::wstring temp_name;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD create_error = 0;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp_name = win::Widen(TemporaryFileName(target_text, attempt).string());
        h = CreateFileW(temp_name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                        attributes, nullptr);
        create_error = GetLastError();
        if (h == INVALID_HANDLE_VALUE && create_error != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        throw FileError(cannot_open_text, path,
                        "cannot create the new file in its folder: " +
                            win::ErrorText(create_error));
    }
    Handle temp(h);

    auto fail = [&](const char* what, DWORD err) {
        temp.Close();
        DeleteFileW(temp_name.c_str());
        return Error(std::string(what) + ": " + win::ErrorText(err));
    };

    // FlushFileBuffers is the fsync of Windows: the bytes are on the disk before the name is.
    if (!WriteAll(temp.get(), contents) || !Calls().fsync(temp.get())) {
        throw fail("Cannot write setting.ini", GetLastError());
    }
    if (!temp.Close()) {
        throw fail("Cannot write setting.ini", GetLastError());
    }
    DWORD err = 0;
    if (!MoveOver(temp_name, target, err)) {
        DeleteFileW(temp_name.c_str());
        throw Error("Cannot replace setting.ini: " + win::ErrorText(err));
    }
    RemoveLeftoverTemporaryFiles(target_text);
}

bool CreateNewFile(const std::string& path, std::string_view contents,
                   const std::string& cannot_open_text) {
    const std::wstring name = win::Widen(path);
    // CREATE_NEW fails on any entry of that name; FILE_FLAG_OPEN_REPARSE_POINT keeps a link
    // (a reparse point) from ever being followed.
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) {
            return false;
        }
        throw FileError(cannot_open_text, path, win::ErrorText(err));
    }
    const auto fail = [&](DWORD err) {
        file.Close();
        DeleteFileW(name.c_str()); // ours: made just now by CREATE_NEW
        return Error(cannot_open_text + ": " + win::ErrorText(err));
    };
    if (!WriteAll(file.get(), contents) || !Calls().fsync(file.get())) {
        throw fail(GetLastError());
    }
    if (!file.Close()) {
        throw fail(GetLastError());
    }
    return true;
}

FileBytes ReadWholeFile(const std::string& path, std::uintmax_t limit) {
    FileBytes file;
    // With FILE_FLAG_BACKUP_SEMANTICS a folder opens too, so that it is refused as a folder;
    // a device or a pipe opens but is no disk file.
    Handle h(CreateFileW(win::Widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) {
        const DWORD err = GetLastError();
        file.missing = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
        file.failure = win::ErrorText(err);
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.get(), &info)) {
        file.failure = win::ErrorText(GetLastError());
        return file;
    }
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folder || GetFileType(h.get()) != FILE_TYPE_DISK) {
        file.failure = NotARegularFile(folder);
        return file;
    }
    const std::uintmax_t size =
        (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > limit) {
        // Refused unread: a huge file would take long to read and all of the memory.
        file.over_limit = size;
        return file;
    }
    char buffer[16384];
    while (true) {
        DWORD n = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr)) {
            file.failure = win::ErrorText(GetLastError());
            return file;
        }
        if (n == 0) {
            return file;
        }
        file.bytes.append(buffer, n);
        if (file.bytes.size() > limit) { // it grew while being read
            file.over_limit = file.bytes.size();
            return file;
        }
    }
}

} // namespace tesslin
