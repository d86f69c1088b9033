// The two system calls that make ReplaceFileAtomically durable, replaceable so that a test can
// see their order (the temporary file synced before it replaces the old one, the folder synced
// after where the system syncs folders) and make either fail. Program code never includes this
// header.
#pragma once

namespace tesslin {

struct AtomicWriteCalls {
#ifdef _WIN32
    // FlushFileBuffers on the temporary file's handle, and MoveFileExW of it over the target
    // (replacing, written through); false on failure, the reason in GetLastError.
    bool (*fsync)(void* file);
    bool (*rename)(const wchar_t* from, const wchar_t* to);
#else
    int (*fsync)(int fd);                            // the temporary file, then its folder
    int (*rename)(const char* from, const char* to); // the temporary file over the target
#endif
};

// Makes every later ReplaceFileAtomically go through `calls` (the real calls until then);
// returns the calls it replaced. Not synchronised: change them only while no write runs.
AtomicWriteCalls SetAtomicWriteCalls(const AtomicWriteCalls& calls);

} // namespace tesslin
