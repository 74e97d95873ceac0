# Build helpers: one library per source folder, sources found by glob so adding a
# unit needs no CMake edit.

set(VANTREL_WARNINGS -Wall -Wextra -Werror)
# GCC 12 reports -Wrestrict inside libstdc++'s std::string at -O2 and above (a known
# false positive of that release); silence it there so Release builds stay clean.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND VANTREL_WARNINGS -Wno-restrict)
endif()

# Unity builds: each library and test program compiles its sources in batches of
# VANTREL_UNITY_BATCH files, one compiler run per batch (the headers, GoogleTest's above
# all, are parsed and their inline code generated once per batch instead of once per
# file). Consequences for the code: file-local names (anonymous namespaces, statics,
# file-scope aliases and macros) must differ between the files of one target, and no
# .cpp says `using namespace` at file scope. VANTREL_UNITY=OFF compiles file by file.
option(VANTREL_UNITY "Compile each target's sources in unity batches" ON)
set(VANTREL_UNITY_BATCH 16 CACHE STRING "Source files per unity batch")

# The test programs' own code can be built at an optimisation level of its own
# (VANTREL_TEST_OPTIMIZE, e.g. -O0), while the libraries under test keep the build type's.
# What a pass means to exercise is the optimised or sanitized program code; the tests'
# assertions and fixtures gain nothing from the optimiser and cost most of the build.
set(VANTREL_TEST_OPTIMIZE "" CACHE STRING "Optimisation flag for the test programs' own code (empty: the build type's)")

# Test programs precompile GoogleTest and the standard headers every test file uses, once
# per program instead of once per unity batch. On by default where the tests' code is not
# optimised beyond -O1: with the precompiled header GCC 12 inlines more of libstdc++'s
# std::string at -O2 and above and reports false -Wstringop-overflow and -Warray-bounds
# inside it.
if(CMAKE_BUILD_TYPE STREQUAL "Debug" OR VANTREL_TEST_OPTIMIZE MATCHES "^-O[01g]$")
  set(vantrel_test_pch_default ON)
else()
  set(vantrel_test_pch_default OFF)
endif()
option(VANTREL_TEST_PCH "Precompile the headers every test file includes" ${vantrel_test_pch_default})

# The test programs' compile options: warnings, and their own optimisation level.
function(vantrel_test_compile_options target)
  target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS} ${VANTREL_TEST_OPTIMIZE})
endfunction()

set(VANTREL_TEST_BATCH 16 CACHE STRING "Tests of one suite run per test process")
set(VANTREL_TEST_BATCH_TIMEOUT 30 CACHE STRING "Seconds a test batch gets for each test beyond its first")
set(VANTREL_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(vantrel_unity target)
  if(VANTREL_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${VANTREL_UNITY_BATCH})
    # Xlib's headers declare names (Screen, Status, ...) that our own headers use too:
    # the files that include them compile alone.
    get_target_property(unity_sources ${target} SOURCES)
    foreach(source IN LISTS unity_sources)
      get_filename_component(source_name ${source} NAME)
      if(source_name MATCHES "^X11")
        set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    endforeach()
    # GCC takes every file of a batch for a header and reports classes based on a
    # file-local type (every TEST_F of a fixture in an anonymous namespace); within one
    # batch that is no fault.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
    endif()
  endif()
endfunction()

# vantrel_library(<target> FOLDERS <dir>... [DEPS <target>...] [SYSTEM_INCLUDES <dir>...])
function(vantrel_library target)
  cmake_parse_arguments(A "" "" "FOLDERS;DEPS;SYSTEM_INCLUDES;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS A_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    vantrel_unity(${target})
    target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_include_directories(${target} SYSTEM PRIVATE ${A_SYSTEM_INCLUDES})
    target_link_libraries(${target} PUBLIC ${A_DEPS} PRIVATE ${A_LIBS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${A_DEPS})
  endif()
endfunction()

# vantrel_test_program(<target> FOLDERS <dir>... DEPS <target>... [FIXTURES ...]
#   [EXCLUDE <regex>] [LABELS ...] [WRAPPER <command>...] [ENVIRONMENT <VAR=value>...]
#   [SLOW <gtest filter> SLOW_TIMEOUT <seconds>])
# The tests run in batches (cmake/TestBatches.cmake): the tests of one suite, at most
# VANTREL_TEST_BATCH of them, share a process; each batch is one CTest entry named after
# its suite ("Suite", or "Suite/2" when a suite needs several batches).
# EXCLUDE leaves out sources whose path matches; WRAPPER runs the program (listing and
# tests) through another command, such as a virtual X server.
function(vantrel_test_program target)
  cmake_parse_arguments(A "" "TIMEOUT;EXCLUDE;SLOW;SLOW_TIMEOUT" "FOLDERS;DEPS;FIXTURES;SYSTEM_INCLUDES;LABELS;WRAPPER;ENVIRONMENT" ${ARGN})
  set(sources)
  foreach(dir IN LISTS A_FOLDERS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(A_EXCLUDE)
    # The pattern meets the path below this folder only, so the checkout's own place (a
    # folder named like an excluded one) leaves every source in.
    set(kept)
    foreach(src IN LISTS sources)
      file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${src})
      if(NOT "/${rel}" MATCHES "${A_EXCLUDE}")
        list(APPEND kept ${src})
      endif()
    endforeach()
    set(sources ${kept})
  endif()
  if(NOT sources)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  add_executable(${target} ${sources})
  vantrel_unity(${target})
  if(VANTREL_TEST_PCH)
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <algorithm> <functional> <memory> <string> <vector>)
  endif()
  vantrel_test_compile_options(${target})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_include_directories(${target} SYSTEM PRIVATE ${A_SYSTEM_INCLUDES})
  target_link_libraries(${target} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  # Every test starts its own process: a fixed-address program skips the million
  # relocations the sanitizers' check-site records need in a position-independent one.
  target_link_options(${target} PRIVATE -no-pie)
  target_compile_definitions(${target} PRIVATE
    VANTREL_FIXTURE_DIR="${CMAKE_BINARY_DIR}/fixtures"
    VANTREL_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    VANTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(environment "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=1")
  if(A_ENVIRONMENT)
    set(environment "${A_ENVIRONMENT}")
  endif()
  # The variables go on the command line of every run (discovery included) through a
  # launcher: a list handed to the tests' ENVIRONMENT property would arrive cut at its
  # first variable.
  set(launcher ${CMAKE_COMMAND} -E env ${environment})
  if(A_WRAPPER)
    list(APPEND launcher ${A_WRAPPER})
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${launcher}")
  set(properties)
  if(A_FIXTURES)
    list(APPEND properties FIXTURES_REQUIRED "${A_FIXTURES}")
  endif()
  if(A_LABELS)
    list(APPEND properties LABELS "${A_LABELS}")
  endif()
  # SLOW names whole suites ("Suite.*") whose tests keep an entry each, with a time
  # limit of their own.
  set(slow_suites)
  foreach(pattern IN LISTS A_SLOW)
    string(REGEX REPLACE "\\.\\*$" "" suite "${pattern}")
    list(APPEND slow_suites "${suite}")
  endforeach()
  set(batches_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_batches.cmake")
  set(params_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_batch_params.cmake")
  set(params "")
  foreach(variable TARGET LAUNCHER TIMEOUT TIMEOUT_PER_TEST BATCH_SIZE SLOW_SUITES SLOW_TIMEOUT PROPERTIES OUT)
    set(value_TARGET ${target})
    set(value_LAUNCHER ${launcher})
    set(value_TIMEOUT ${A_TIMEOUT})
    set(value_TIMEOUT_PER_TEST ${VANTREL_TEST_BATCH_TIMEOUT})
    set(value_BATCH_SIZE ${VANTREL_TEST_BATCH})
    set(value_SLOW_SUITES ${slow_suites})
    set(value_SLOW_TIMEOUT ${A_SLOW_TIMEOUT})
    set(value_PROPERTIES ${properties})
    set(value_OUT ${batches_file})
    set(words "")
    foreach(word IN LISTS value_${variable})
      string(APPEND words " [==[${word}]==]")
    endforeach()
    string(APPEND params "set(${variable}${words})\n")
  endforeach()
  file(WRITE "${params_file}" "${params}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D PARAMS=${params_file} -D PROGRAM=$<TARGET_FILE:${target}>
            -P ${VANTREL_CMAKE_DIR}/TestBatches.cmake
    BYPRODUCTS ${batches_file}
    VERBATIM)
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake")
  file(WRITE "${include_file}"
    "if(EXISTS [==[${batches_file}]==])\n"
    "  include([==[${batches_file}]==])\n"
    "else()\n"
    "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
