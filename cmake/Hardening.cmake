# The programs on Linux are built hardened as Debian builds its own packages: a position
# independent executable, a stack protector, a read-only relocation table resolved at start
# (relro, now) and glibc's checked string and memory functions (fortify). Windows' build
# (cmake/mingw-w64.cmake) links statically into PE files, where none of these apply in this
# form: it is left as it is.
if(NOT WIN32)
    add_compile_options(-fPIE -fstack-protector-strong)
    # Every library here is static and ends up in an executable, so PIE code suits them all.
    add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-pie> LINKER:-z,relro
                     LINKER:-z,now)
    # The checked functions need an optimised build (glibc warns otherwise), and the sanitizer
    # build checks the same calls itself.
    if(NOT TESSLIN_SANITIZE)
        add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
    endif()
endif()
