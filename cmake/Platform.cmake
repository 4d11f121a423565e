# What each platform builds with. Linux and macOS: the SDL2 window and libpng.
# Windows (cross-compiled with MinGW-w64, see cmake/mingw-w64-x86_64.cmake):
# the Win32 window needs only user32 and gdi32, and PNG files are written and
# read by the project's own small codec, so the .exe files need no library
# that Windows does not ship.
if(WIN32)
  set(kolvane_portable_default OFF)
else()
  set(kolvane_portable_default ON)
endif()
option(KOLVANE_SDL "Build the SDL2 window front end (kolvane)" ${kolvane_portable_default})
option(KOLVANE_LIBPNG "Read and write PNG files with libpng (else the built-in codec)"
  ${kolvane_portable_default})

if(KOLVANE_SDL)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
endif()
if(KOLVANE_LIBPNG)
  find_package(PNG REQUIRED)
endif()

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
