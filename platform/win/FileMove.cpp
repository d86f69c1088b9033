// MoveFileNoReplace on Windows.
#include "rename/FileMove.h"

#include "platform/Error.h"
#include "platform/Translation.h"
#include "platform/win/WideText.h"

#include <windows.h>

namespace tesslin {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string CannotRename(const std::string& from, const std::string& to) {
    return Say("Cannot rename {0} to {1}", {Quoted(from), Quoted(to)});
}

// Without MOVEFILE_REPLACE_EXISTING the system itself refuses an existing target, inside the
// one call, so no other program can slip a file in between a test and the move. Without
// MOVEFILE_COPY_ALLOWED a move to another volume fails instead of copying. Write-through:
// the call returns once the new name is on the disk.
DWORD MoveOnce(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
}

struct FileIdentity {
    DWORD volume = 0;
    DWORD high = 0;
    DWORD low = 0;
    DWORD links = 0;
};

// The identity of the entry itself (a link is not followed), or nothing when it cannot be read.
bool Identify(const std::wstring& path, FileIdentity& id) {
    const HANDLE h = CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, info.nNumberOfLinks};
    return ok;
}

// How many names the file behind both paths has; 0 when they are different files.
DWORD SharedFileLinks(const std::wstring& from, const std::wstring& to) {
    FileIdentity a;
    FileIdentity b;
    if (!Identify(from, a) || !Identify(to, b) || a.volume != b.volume || a.high != b.high ||
        a.low != b.low) {
        return 0;
    }
    return a.links;
}

[[noreturn]] void ThrowMoveFailure(const std::string& from, const std::string& to, DWORD err) {
    const std::string reason = win::ErrorText(err);
    throw MoveFailed(CannotRename(from, to) + ": " + reason, reason);
}

// The folder part of `path`, up to and including its last separator; "" for a bare name.
std::wstring FolderPrefix(const std::wstring& path) {
    const std::wstring::size_type slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A rename onto the file itself under another spelling (a case-only rename, where the volume
// refuses it as "exists"): two steps through a free temporary name beside the file, each of
// which again refuses to replace. On failure the file goes back to its old name.
void MoveThroughTemporaryName(const std::string& from, const std::string& to,
                              const std::wstring& wfrom, const std::wstring& wto) {
    const std::wstring prefix =
        FolderPrefix(wfrom) + L".tesslin-rename-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    std::wstring temp;
    for (int n = 0;; ++n) {
        temp = prefix + std::to_wstring(n);
        const DWORD err = MoveOnce(wfrom, temp);
        if (err == 0) {
            break;
        }
        if ((err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS) || n == 99) {
            ThrowMoveFailure(from, to, err);
        }
    }
    const DWORD err = MoveOnce(temp, wto);
    if (err == 0) {
        return;
    }
    if (MoveOnce(temp, wfrom) != 0) {
        const std::string reason =
            win::ErrorText(err) + "; the file was left under the name " + Quoted(win::Utf8(temp));
        throw MoveFailed(CannotRename(from, to) + ": " + reason, reason);
    }
    ThrowMoveFailure(from, to, err);
}

} // namespace

void MoveFileNoReplace(const std::string& from, const std::string& to) {
    const std::wstring wfrom = win::Widen(from);
    const std::wstring wto = win::Widen(to);
    // Another spelling of the same file (a rename that changes only the letter case): some
    // file systems, and Wine on a case-sensitive one, answer the one call with success and
    // keep the old spelling, so it goes through a temporary name.
    if (from != to && SharedFileLinks(wfrom, wto) == 1) {
        MoveThroughTemporaryName(from, to, wfrom, wto);
        return;
    }
    const DWORD err = MoveOnce(wfrom, wto);
    if (err == 0) {
        return;
    }
    if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS) {
        ThrowMoveFailure(from, to, err);
    }
    const DWORD links = SharedFileLinks(wfrom, wto);
    if (links != 0 && from == to) {
        return; // the file already has this name: nothing to do
    }
    if (links != 1) {
        // Another file, or another hard link of this one: moving onto it would delete it.
        ThrowMoveFailure(from, to, err);
    }
    MoveThroughTemporaryName(from, to, wfrom, wto);
}

} // namespace tesslin
