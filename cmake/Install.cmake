# Installing and packaging.
#
# Linux (cmake --install, cpack): the two programs in games/ (Debian keeps
# games in /usr/games), the desktop integration under the application id
# org.kolvane.Kolvane (a desktop entry, AppStream metainfo and the icon in
# three sizes of the hicolor theme, drawn at build time by kolvane-icons with
# the game's own renderer), and the license and changelog in
# share/doc/kolvane. cpack -G DEB makes a Debian package for /usr.
#
# Windows: the two .exe files, which need nothing else, with a README.txt and
# the LICENSE: the Windows zip of `make dist`. Their file icon and version
# details are resources (cmake/WindowsResources.cmake).
#
# The metainfo's releases and the Debian changelog come from CHANGELOG.md.
include(GNUInstallDirs)

set(KOLVANE_APP_ID org.kolvane.Kolvane)
set(KOLVANE_ICON_SIZES 48 128 256)
set(KOLVANE_CONTACT "The Kolvane developers <kolvane@example.org>")

if(WIN32)
  include(cmake/WindowsResources.cmake)
  install(TARGETS kolvane kolvane-sim RUNTIME DESTINATION .)
  # Text files as Windows editors expect them, with CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
    ${PROJECT_BINARY_DIR}/dist-text/README.txt @ONLY NEWLINE_STYLE CRLF)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE kolvane_license)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/dist-text/LICENSE CONTENT "${kolvane_license}"
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/dist-text/README.txt ${PROJECT_BINARY_DIR}/dist-text/LICENSE
    DESTINATION .)
  return()
endif()

# The icon, drawn by the game's renderer at build time; kolvane-ico packs the
# pictures into the Windows programs' icon file (built for the build machine
# by a Windows build, which runs it).
add_library(kolvane_icon STATIC
  ${PROJECT_SOURCE_DIR}/packaging/icon/ship_icon.cpp
  ${PROJECT_SOURCE_DIR}/packaging/icon/ico_file.cpp)
target_include_directories(kolvane_icon PUBLIC ${PROJECT_SOURCE_DIR}/packaging/icon)
target_link_libraries(kolvane_icon PUBLIC kolvane_gfx)
add_executable(kolvane-icons ${PROJECT_SOURCE_DIR}/packaging/icon/make_icons.cpp)
target_link_libraries(kolvane-icons PRIVATE kolvane_icon)
add_executable(kolvane-ico ${PROJECT_SOURCE_DIR}/packaging/icon/make_ico.cpp)
target_link_libraries(kolvane-ico PRIVATE kolvane_icon)

set(kolvane_icon_dir ${PROJECT_BINARY_DIR}/icons)
set(kolvane_icon_files "")
foreach(size ${KOLVANE_ICON_SIZES})
  list(APPEND kolvane_icon_files ${kolvane_icon_dir}/${size}x${size}/apps/${KOLVANE_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${kolvane_icon_files}
  COMMAND kolvane-icons ${kolvane_icon_dir} ${KOLVANE_APP_ID} ${KOLVANE_ICON_SIZES}
  DEPENDS kolvane-icons
  COMMENT "Drawing the application icon")
add_custom_target(kolvane_icons ALL DEPENDS ${kolvane_icon_files})

# Where the programs go under the prefix.
set(KOLVANE_INSTALL_PROGRAMDIR games CACHE STRING
  "The programs' folder under the install prefix (games: /usr/games, as Debian keeps games)")
install(TARGETS kolvane-sim RUNTIME DESTINATION ${KOLVANE_INSTALL_PROGRAMDIR})
if(KOLVANE_SDL)
  install(TARGETS kolvane RUNTIME DESTINATION ${KOLVANE_INSTALL_PROGRAMDIR})
endif()
# The world leaderboard's server: a program in bin/ (it is no game) and its
# systemd unit, not enabled (docs/server.md).
if(TARGET kolvane-server)
  install(TARGETS kolvane-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/server/kolvane-server.service
    DESTINATION lib/systemd/system)
endif()

# The metainfo and the Debian changelog with CHANGELOG.md's releases, and the
# Debian copyright file with the LICENSE's text.
include(cmake/ReleaseNotes.cmake)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/LICENSE)
kolvane_release_notes(${PROJECT_SOURCE_DIR}/CHANGELOG.md "${KOLVANE_CONTACT}")
set(kolvane_doc_build ${PROJECT_BINARY_DIR}/doc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${KOLVANE_APP_ID}.metainfo.xml.in
  ${kolvane_doc_build}/${KOLVANE_APP_ID}.metainfo.xml @ONLY)
# Written through a copy that changes the file only when its text changes.
file(WRITE ${kolvane_doc_build}/changelog.new "${KOLVANE_DEBIAN_CHANGELOG}")
configure_file(${kolvane_doc_build}/changelog.new ${kolvane_doc_build}/changelog COPYONLY)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE kolvane_license)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" kolvane_license "${kolvane_license}")
string(REGEX REPLACE "\n+$" "" kolvane_license "${kolvane_license}")
string(REPLACE "\n\n" "\n.\n" kolvane_license "${kolvane_license}")
string(REPLACE "\n" "\n " KOLVANE_LICENSE_TEXT " ${kolvane_license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${kolvane_doc_build}/copyright @ONLY)
# gzip -n: no name or time in the header, so the same text gives the same bytes.
find_program(KOLVANE_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${kolvane_doc_build}/changelog.gz
  COMMAND ${KOLVANE_GZIP} -9 -n -f -k ${kolvane_doc_build}/changelog
  DEPENDS ${kolvane_doc_build}/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(kolvane_changelog ALL DEPENDS ${kolvane_doc_build}/changelog.gz)

install(DIRECTORY ${kolvane_icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${KOLVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kolvane_doc_build}/${KOLVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kolvane_doc_build}/copyright ${kolvane_doc_build}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kolvane)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KOLVANE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter with asteroids, a saucer and capsules")
set(CPACK_PACKAGE_DESCRIPTION
  "Fly an arrowhead ship with inertia over a wrapping field, shoot drifting\n\
asteroids that break into fragments, dodge a saucer and pick up capsules.\n\
Includes kolvane-sim, which replays scripts of keys without a window, and\n\
kolvane-server, a world leaderboard that replays every submitted game before\n\
it ranks it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) reads the libraries the programs link and names
# their packages with versions (SDL2, libcurl, the C and C++ runtimes), added
# to those named here; without it, SDL2's runtime is named by hand. libcurl
# (the world table's HTTP) is always named.
find_program(KOLVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KOLVANE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libcurl4")
endif()
include(CPack)
