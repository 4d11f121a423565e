# KOLVANE_SANITIZE builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer. Any report stops the program with a non-zero exit
# code (no recovery), so a single report fails the test that triggered it.
#
#   cmake -S . -B build-asan -DKOLVANE_SANITIZE=ON      (or simply `make check`)
#
# ctest in such a build folder runs every test with the options below, read
# from a file ctest includes before it starts any test.
option(KOLVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(KOLVANE_SANITIZE)
  # float-cast-overflow: a float converted to an integer it does not fit is
  # undefined too, and every pixel coordinate goes through such a conversion.
  set(kolvane_sanitize_flags
    -fsanitize=address,undefined,float-cast-overflow
    -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  add_compile_options(${kolvane_sanitize_flags})
  add_link_options(${kolvane_sanitize_flags})

  # Leaks inside third-party libraries (X11, SDL, Mesa, D-Bus) are suppressed
  # by this file; our own code is never listed there.
  set(KOLVANE_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
  set(KOLVANE_ASAN_OPTIONS
    "detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1")
  set(KOLVANE_UBSAN_OPTIONS "print_stacktrace=1:halt_on_error=1")
  set(KOLVANE_LSAN_OPTIONS "suppressions=${KOLVANE_LSAN_SUPPRESSIONS}:print_suppressions=0")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/sanitizer-env.cmake.in
    ${PROJECT_BINARY_DIR}/sanitizer-env.cmake @ONLY)
  # Included by the top CTestTestfile before the tests run: every test (and
  # every program a test starts) inherits the environment.
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY
    TEST_INCLUDE_FILES ${PROJECT_BINARY_DIR}/sanitizer-env.cmake)

  # The window program keeps every shared library mapped to the end, so that a
  # leak inside one is reported under its name (see keep_libraries_loaded.cpp).
  # Deferred: the program is defined after this file is read.
  function(kolvane_keep_libraries_loaded)
    if(TARGET kolvane)
      target_sources(kolvane PRIVATE ${PROJECT_SOURCE_DIR}/cmake/keep_libraries_loaded.cpp)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL kolvane_keep_libraries_loaded)
endif()
