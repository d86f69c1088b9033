# The Debian package "tesslingui": both programs, their manual pages in English and Korean,
# the bash completion of tesslin, the AppStream metainfo, the larger and the scalable icon,
# and the copyright and changelog that every Debian package carries (the window's own icons
# and desktop entry come from Gui.cmake). scripts/package builds it with CPack and checks it
# with lintian; the dependencies are those of the shared libraries the programs link
# (dpkg-shlibdeps), never written by hand.
include(GNUInstallDirs)

set(TESSLIN_MAINTAINER "Quorvel <tesslingui@quorvel.example>")
set(TESSLIN_HOMEPAGE "https://quorvel.example/tesslingui")

install(TARGETS tesslin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Files that Debian keeps compressed (manual pages, the changelog), gzipped without a time
# stamp so that the package is the same from one build to the next. res/package/ holds the
# English pages, res/package/ko/ the Korean ones.
set(_pages tesslin.1 ko/tesslin.1)
if(TESSLIN_GUI)
    list(APPEND _pages TesslinGUI.1 ko/TesslinGUI.1)
endif()
set(_compressed "")
foreach(file IN LISTS _pages ITEMS changelog)
    set(_source ${CMAKE_SOURCE_DIR}/res/package/${file})
    set(_output ${CMAKE_BINARY_DIR}/package/${file}.gz)
    get_filename_component(_folder ${_output} DIRECTORY)
    add_custom_command(OUTPUT ${_output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${_folder}
                       COMMAND gzip -9 -n -c ${_source} > ${_output}
                       DEPENDS ${_source} VERBATIM)
    list(APPEND _compressed ${_output})
endforeach()
add_custom_target(package_files ALL DEPENDS ${_compressed})
foreach(page IN LISTS _pages)
    # ko/tesslin.1 goes to man/ko/man1, where man finds it for a Korean locale.
    get_filename_component(_language ${page} DIRECTORY)
    if(_language)
        set(_section ${_language}/man1)
    else()
        set(_section man1)
    endif()
    install(FILES ${CMAKE_BINARY_DIR}/package/${page}.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/${_section})
endforeach()
set(_docs ${CMAKE_INSTALL_DATADIR}/doc/tesslingui)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz res/package/copyright DESTINATION ${_docs})

install(FILES res/package/tesslin.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tesslin)
if(TESSLIN_GUI)
    install(FILES res/package/com.quorvel.TesslinGUI.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The sizes the window does not build in: larger ones for the desktop's menus and
    # software centres, and the drawing itself for any other size.
    foreach(size 64 128)
        install(FILES res/icons/tesslingui-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME tesslingui.png)
    endforeach()
    install(FILES res/icons/tesslingui.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
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
# Debian's lines of the long description stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "TesslinGUI lists the video files that have no subtitle file of the same name
and the subtitle files that have no video file, and renames one to the other's
name, keeping its own extension and never replacing a file. The command line
program tesslin does the same without a window.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TESSLIN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TESSLIN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Hangul needs a font that has it; the desktop's default one may not.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum | fonts-noto-cjk")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
