# The Windows programs' resources: the ship as the file icon Explorer shows,
# and the version details of the file's properties, compiled by the MinGW
# resource compiler (windres, the RC language). The window keeps the
# system's standard icon, which its class asks for.
#
# The icon's pictures are drawn by kolvane-icons, the same program that draws
# the Linux icons, and packed by kolvane-ico. Both run on the build machine,
# so they come from a build of this project for it, in host-tools/ (which
# needs the build machine's own C++ compiler).
enable_language(RC)
include(ExternalProject)

set(kolvane_host_tools ${PROJECT_BINARY_DIR}/host-tools)
ExternalProject_Add(kolvane_host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${kolvane_host_tools}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKOLVANE_SDL=OFF -DKOLVANE_TESTS=OFF -DKOLVANE_BENCH=OFF
    -DKOLVANE_STB_DIR=${KOLVANE_STB_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${kolvane_host_tools} --target kolvane-icons kolvane-ico
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${kolvane_host_tools}/kolvane-icons ${kolvane_host_tools}/kolvane-ico
  INSTALL_COMMAND ""
  STEP_TARGETS build)

# 16 to 48 pixels for lists and small views, up to 256 for Explorer's largest.
set(kolvane_ico_sizes 16 24 32 48 64 128 256)
set(kolvane_ico_dir ${PROJECT_BINARY_DIR}/windows-icon)
set(kolvane_ico_pictures "")
foreach(size ${kolvane_ico_sizes})
  list(APPEND kolvane_ico_pictures ${kolvane_ico_dir}/${size}x${size}/apps/kolvane.png)
endforeach()
add_custom_command(OUTPUT ${kolvane_ico_dir}/kolvane.ico
  COMMAND ${kolvane_host_tools}/kolvane-icons ${kolvane_ico_dir} kolvane ${kolvane_ico_sizes}
  COMMAND ${kolvane_host_tools}/kolvane-ico ${kolvane_ico_dir}/kolvane.ico ${kolvane_ico_pictures}
  DEPENDS kolvane_host_tools-build ${kolvane_host_tools}/kolvane-icons ${kolvane_host_tools}/kolvane-ico
  COMMENT "Drawing the Windows programs' icon")
add_custom_target(kolvane_windows_icon DEPENDS ${kolvane_ico_dir}/kolvane.ico)

# One resource script for each program, from one template.
set(kolvane_rc_patch ${PROJECT_VERSION_PATCH})
if("${kolvane_rc_patch}" STREQUAL "")
  set(kolvane_rc_patch 0)
endif()
set(KOLVANE_RC_VERSION_COMMAS
  "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${kolvane_rc_patch},0")
set(KOLVANE_RC_ICON ${kolvane_ico_dir}/kolvane.ico)
foreach(program kolvane kolvane-sim)
  set(KOLVANE_RC_NAME ${program})
  set(KOLVANE_RC_FILE ${program}.exe)
  if(program STREQUAL "kolvane")
    set(KOLVANE_RC_DESCRIPTION "Kolvane")
  else()
    set(KOLVANE_RC_DESCRIPTION "Kolvane replay runner")
  endif()
  set(rc ${PROJECT_BINARY_DIR}/windows-resources/${program}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${kolvane_ico_dir}/kolvane.ico)
  target_sources(${program} PRIVATE ${rc})
  add_dependencies(${program} kolvane_windows_icon)
endforeach()
