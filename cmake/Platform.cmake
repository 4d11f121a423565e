# What each platform builds with. Linux and macOS: the SDL2 window.
# Windows (cross-compiled with MinGW-w64, see cmake/mingw-w64-x86_64.cmake):
# the Win32 window needs only user32 and gdi32, so the .exe files need no
# library that Windows does not ship. PNG files go through the header-only
# stb_image and stb_image_write everywhere.
if(WIN32)
  set(kolvane_portable_default OFF)
else()
  set(kolvane_portable_default ON)
endif()
option(KOLVANE_SDL "Build the SDL2 window front end (kolvane)" ${kolvane_portable_default})

if(KOLVANE_SDL)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
endif()

# stb's folder (Debian's libstb-dev: /usr/include/stb), searched outside the
# cross compilers' roots. Only that folder goes on the include path: the
# Windows and web builds must never see the host's /usr/include.
find_path(KOLVANE_STB_DIR stb_image_write.h
  PATHS /usr/include/stb /usr/local/include/stb
  PATH_SUFFIXES stb
  NO_CMAKE_FIND_ROOT_PATH
  DOC "The folder of stb_image.h and stb_image_write.h")
if(NOT KOLVANE_STB_DIR OR NOT EXISTS ${KOLVANE_STB_DIR}/stb_image.h)
  message(FATAL_ERROR "stb_image.h and stb_image_write.h not found: install libstb-dev, "
    "or name their folder with -DKOLVANE_STB_DIR=...")
endif()
if(CMAKE_CROSSCOMPILING AND KOLVANE_STB_DIR MATCHES "^/usr(/local)?/include/?$")
  message(FATAL_ERROR "${KOLVANE_STB_DIR} is the host's include folder: a cross build needs "
    "stb's headers in a folder of their own (-DKOLVANE_STB_DIR=...)")
endif()
add_library(kolvane_stb INTERFACE)
target_include_directories(kolvane_stb SYSTEM INTERFACE ${KOLVANE_STB_DIR})

# GoogleTest: the installed package, or, when cross-compiling, a build from
# Debian's sources (package googletest) for the target.
macro(kolvane_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    set(KOLVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for the target")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${KOLVANE_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Third-party code: built without our warning flags.
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# nlohmann-json (Debian's nlohmann-json3-dev, header-only), for the
# leaderboard's answers. Its headers sit in the host's include folder, which a
# cross build must never search: there they are copied into a folder of their
# own in the build tree.
find_path(KOLVANE_JSON_DIR nlohmann/json.hpp
  PATHS /usr/include /usr/local/include
  NO_CMAKE_FIND_ROOT_PATH
  DOC "The folder holding nlohmann/json.hpp")
add_library(kolvane_json INTERFACE)
if(KOLVANE_JSON_DIR)
  if(CMAKE_CROSSCOMPILING)
    file(COPY ${KOLVANE_JSON_DIR}/nlohmann DESTINATION ${PROJECT_BINARY_DIR}/third_party/json)
    target_include_directories(kolvane_json SYSTEM INTERFACE ${PROJECT_BINARY_DIR}/third_party/json)
  else()
    target_include_directories(kolvane_json SYSTEM INTERFACE ${KOLVANE_JSON_DIR})
  endif()
elseif(NOT EMSCRIPTEN)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev, "
    "or name its folder with -DKOLVANE_JSON_DIR=...")
endif()

# HTTP for the leaderboard: libcurl on Linux (Debian's libcurl4-openssl-dev),
# WinHTTP on Windows (part of Windows; MinGW has libwinhttp.a).
if(NOT WIN32 AND NOT EMSCRIPTEN)
  find_package(CURL REQUIRED)
endif()
