# The Debian package "tesslingui": both programs, their manual pages, the bash completion of
# tesslin, the AppStream metainfo (the window's icons and desktop entry come from Gui.cmake).
# scripts/package builds it with CPack; the dependencies are those of the shared libraries
# the programs link (dpkg-shlibdeps), never written by hand.
include(GNUInstallDirs)

install(TARGETS tesslin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages, compressed as Debian keeps them.
set(_man_pages tesslin.1)
if(TESSLIN_GUI)
    list(APPEND _man_pages TesslinGUI.1)
endif()
set(_man_outputs "")
foreach(page IN LISTS _man_pages)
    set(_source ${CMAKE_SOURCE_DIR}/res/package/${page})
    set(_output ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${_output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND gzip -9 -n -c ${_source} > ${_output}
                       DEPENDS ${_source} VERBATIM)
    list(APPEND _man_outputs ${_output})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${_man_outputs})
install(FILES ${_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES res/package/tesslin.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tesslin)
if(TESSLIN_GUI)
    install(FILES res/package/com.quorvel.TesslinGUI.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Installing (and so packaging) takes what is built; it does not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesslingui)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename subtitle files to match their video files")
set(CPACK_PACKAGE_DESCRIPTION
    "TesslinGUI lists the video files that have no subtitle file of the same name and the \
subtitle files that have no video file, and renames one to the other's name, keeping its own \
extension and never replacing a file. The command line program tesslin does the same \
without a window.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvel")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Hangul needs a font that has it; the desktop's default one may not.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum | fonts-noto-cjk")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
