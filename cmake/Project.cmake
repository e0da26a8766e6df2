# Helpers every folder uses, so that warnings, sanitizers and test registration stay alike.

set(MMS_WARNINGS -Wall -Wextra -Werror)

if(MMS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(MMS_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(MMS_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MMS_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# mms_add_library(name SOURCES... [DEPS lib...] [PUBLIC_DEPS lib...])
# Sources default to every .cpp in the folder, so parallel work on one folder needs no edits here.
function(mms_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
  if(NOT A_SOURCES)
    file(GLOB A_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  endif()
  if(NOT A_SOURCES)
    return()  # the folder's first code has not landed yet
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${MMS_WARNINGS})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${A_PUBLIC_DEPS} PRIVATE ${A_DEPS})
endfunction()

# The tests' own code is compiled without optimisation: what they test is the libraries, which keep
# their tree's flags, and a test file costs two to three times as long to compile optimised (four
# test trees' worth of compiling is most of what tools/test spends). The sanitizers still
# instrument it.
set(MMS_TEST_CODE_FLAGS -O0)

# The headers nearly every test file includes, parsed once per test program instead of once per
# file: GoogleTest, GoogleMock and the standard library.
set(MMS_TEST_PRECOMPILED_HEADERS
  <gtest/gtest.h> <gmock/gmock.h> <algorithm> <cstdint> <cstdio> <cstdlib> <cstring> <filesystem>
  <fstream> <functional> <map> <memory> <set> <sstream> <string> <thread> <vector>)

# mms_test_precompiled_headers(target): gives a test program (or a test helper library) the
# precompiled headers above.
function(mms_test_precompiled_headers target)
  target_precompile_headers(${target} PRIVATE ${MMS_TEST_PRECOMPILED_HEADERS})
endfunction()

# The ThreadSanitizer tree runs only the suites that use threads (MMS_THREAD_TEST_SUITES, a regular
# expression of suite names such as "Threads|Queue"), so it compiles only the test files that hold
# one of them, with the helpers beside them (the files whose names do not end in Test.cpp).
set(MMS_THREAD_TEST_SUITES "" CACHE STRING "Under ThreadSanitizer, compile only the test files of these suites")

# mms_keep_thread_test_sources(list_var): drops from the list the test files without such a suite.
function(mms_keep_thread_test_sources list_var)
  set(kept)
  foreach(source IN LISTS ${list_var})
    get_filename_component(path "${source}" ABSOLUTE)
    if(path MATCHES "Test\\.cpp$")
      file(STRINGS "${path}" suites REGEX "^TEST(_F|_P)?\\((${MMS_THREAD_TEST_SUITES}),")
      if(NOT suites)
        continue()
      endif()
    endif()
    list(APPEND kept "${source}")
  endforeach()
  if(NOT kept)
    # A program without such a suite still builds (other rules name it), with no test in it.
    set(empty "${CMAKE_BINARY_DIR}/no_thread_tests.cpp")
    if(NOT EXISTS "${empty}")
      file(WRITE "${empty}" "// This program's suites do not use threads.\n")
    endif()
    set(kept "${empty}")
  endif()
  set(${list_var} ${kept} PARENT_SCOPE)
endfunction()

# mms_add_test(name SOURCES... LIBS lib... [LABELS label...] [PROPERTIES prop value...])
# One GoogleTest program per library; CTest discovers its cases.
function(mms_add_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  if(NOT A_SOURCES)
    file(GLOB A_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  endif()
  if(MMS_SANITIZE_THREAD AND MMS_THREAD_TEST_SUITES)
    mms_keep_thread_test_sources(A_SOURCES)
  endif()
  # Each test program runs with a runtime folder of its own (tests/support/RuntimeFolder.h).
  add_executable(${name} ${A_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/RuntimeFolder.cpp)
  target_compile_options(${name} PRIVATE ${MMS_WARNINGS} ${MMS_TEST_CODE_FLAGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} mms_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  mms_test_precompiled_headers(${name})
  set(props ${A_PROPERTIES})
  if(A_LABELS)
    list(APPEND props LABELS "${A_LABELS}")
  endif()
  if(props)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# mms_add_fuzzer(name SOURCE LIBS lib...): a libFuzzer target with its corpus in fuzz/corpus/<name>.
# Without MMS_FUZZ (MMS_FUZZ_REPLAY) the target is built as a replay program over stored inputs.
function(mms_add_fuzzer name)
  cmake_parse_arguments(A "" "SOURCE" "LIBS" ${ARGN})
  if(MMS_FUZZ)
    add_executable(${name} ${A_SOURCE})
    target_compile_options(${name} PRIVATE ${MMS_WARNINGS} -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${A_SOURCE} ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    target_compile_options(${name} PRIVATE ${MMS_WARNINGS})
  endif()
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_property(GLOBAL APPEND PROPERTY MMS_FUZZERS ${name})
endfunction()

# mms_add_bench(name SOURCE LIBS lib...): a Google Benchmark program; built, not run by the tests.
function(mms_add_bench name)
  cmake_parse_arguments(A "" "SOURCE" "LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCE})
  target_compile_options(${name} PRIVATE ${MMS_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# mms_add_resources(target [FUNCTION name] FILES file...): compiles resource files (form
# layouts from resources/forms, bitmaps ...) into the target, each named after its file without
# the extension: .bmp files as bitmaps, the rest as RCDATA. Without FUNCTION they are registered
# when the program loads (for programs and object libraries); with FUNCTION, by calling that
# function (void name()), which a static library's code calls before it looks them up, so the
# linker keeps them. The generated source is regenerated when a file changes.
function(mms_add_resources target)
  cmake_parse_arguments(A "" "FUNCTION" "FILES" ${ARGN})
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  string(REPLACE ";" "|" inputs "${A_FILES}")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DINPUTS=${inputs}" "-DFUNCTION=${A_FUNCTION}"
            -P "${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake"
    DEPENDS ${A_FILES} "${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake"
    COMMENT "Compiling resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
