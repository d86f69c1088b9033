// tesslin's entry on Windows: the arguments as UTF-8 (the C runtime would hand them over in the
// ANSI code page, losing every character the code page lacks), UTF-8 output on the console,
// and an orderly end on Ctrl+C, Ctrl+Break and the console's close.
#include "cli/CommandLine.h"

#include "platform/win/WideText.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Runs on a thread of its own. A rename in progress is one system call that completes or
// does not happen, and the settings file is never written here, so ending at once loses
// nothing; what was printed so far is flushed, and the exit status is a shell's for an
// interrupt (128 + 2).
BOOL WINAPI OnConsoleEnd(DWORD) {
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(130);
}

} // namespace

int main() {
    SetConsoleCtrlHandler(&OnConsoleEnd, TRUE);
    SetConsoleOutputCP(CP_UTF8);
    // Records end in a bare line feed (or a NUL byte), as on the other systems: no CR added.
    _setmode(_fileno(stdout), _O_BINARY);

    int argc = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(tesslin::win::Utf8(wide[i]));
    }
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return tesslin::RunCommandLine(argc, argv.data(), std::cout, std::cerr);
}
