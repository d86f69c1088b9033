# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread and std::mutex need). The libraries come from one prefix folder, built by
# scripts/windows-build: pass it as -DTESSLIN_WINDOWS_PREFIX=... or in the environment.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_AR ${_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-ranlib CACHE FILEPATH "")

if(NOT TESSLIN_WINDOWS_PREFIX AND DEFINED ENV{TESSLIN_WINDOWS_PREFIX})
    set(TESSLIN_WINDOWS_PREFIX $ENV{TESSLIN_WINDOWS_PREFIX})
endif()
# try_compile projects read this file again: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSLIN_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${TESSLIN_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything static, the compiler's own runtime included: the programs run on a Windows machine
# without installing anything beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs and generators run here under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
