# KOLVANE_REPRODUCIBLE: the same sources give the same bytes wherever and
# whenever they are built (`make dist`, `make reproducible`, docs/releases.md).
#
# The compilers write the source and build folders as "." and "build" into
# debug information, __FILE__ and everything else; the Windows linker writes
# no time of linking into the .exe header. Times that are written (the Debian
# package's members, the header of a stripped .exe) come from
# SOURCE_DATE_EPOCH. Off by default: a debugger finds the sources of an
# ordinary build by their real paths.
option(KOLVANE_REPRODUCIBLE "Build without build paths or times in the output" OFF)

if(KOLVANE_REPRODUCIBLE)
  # The build folder may sit inside the source folder: its map comes last, and
  # the compiler applies the last map that matches.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")
  if(WIN32)
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()
