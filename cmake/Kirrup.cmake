# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers shared by every folder's CMakeLists.txt.

function(kirrup_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# kirrup_core_library(NAME SOURCES ... [DEPS ...])
# A toolkit-free static library of one subsystem; it becomes part of kirrup_core.
function(kirrup_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  kirrup_warnings(${name})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
  set_property(GLOBAL APPEND PROPERTY KIRRUP_CORE_LIBS ${name})
endfunction()

# kirrup_ui_sources(SOURCES ...): Qt window classes, compiled into kirrup_ui.
function(kirrup_ui_sources)
  if(KIRRUP_WITH_QT)
    target_sources(kirrup_ui PRIVATE ${ARGN})
  endif()
endfunction()

# kirrup_gtest(NAME SOURCES ... LIBS ...): a GoogleTest binary registered with CTest.
function(kirrup_gtest name)
  if(NOT KIRRUP_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  kirrup_warnings(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KIRRUP_TEST_BIN_DIR})
  target_compile_definitions(${name} PRIVATE
    KIRRUP_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KIRRUP_BIN_DIR="${KIRRUP_BIN_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1")
endfunction()

# kirrup_qttest(NAME SOURCES ... LIBS ...): a headless QtTest binary registered with CTest.
function(kirrup_qttest name)
  if(NOT KIRRUP_TESTS OR NOT KIRRUP_WITH_QT)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${KIRRUP_TEST_BIN_DIR})
  kirrup_warnings(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} kirrup_ui Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    KIRRUP_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KIRRUP_BIN_DIR="${KIRRUP_BIN_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kirrup_fuzzer(NAME SOURCES ... LIBS ... [CORPUS DIR] [MAX_LEN BYTES] [RUNS N]): a libFuzzer target
# (only with KIRRUP_FUZZ and clang). Registered as a short smoke run so the fuzz build also
# proves the target starts and survives (RUNS inputs, default 20000: keep it to seconds);
# scripts/fuzz runs every target for longer, from the
# list build-fuzz/fuzz/targets/ (one file per target: max_len, then the shipped corpus).
function(kirrup_fuzzer name)
  if(NOT KIRRUP_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "MAX_LEN;RUNS" "SOURCES;LIBS;CORPUS" ${ARGN})
  if(NOT A_MAX_LEN)
    set(A_MAX_LEN 4096)
  endif()
  if(NOT A_RUNS)
    set(A_RUNS 20000)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz/targets/${name} "${A_MAX_LEN} ${A_CORPUS}\n")
  # libFuzzer adds new inputs to its corpus folder: give it a copy, never the source tree's.
  set(_corpus)
  if(A_CORPUS)
    set(_corpus ${CMAKE_BINARY_DIR}/fuzz/corpus/${name})
    file(COPY ${A_CORPUS}/ DESTINATION ${_corpus})
  endif()
  add_test(NAME ${name}_smoke COMMAND ${name} -runs=${A_RUNS} -max_len=${A_MAX_LEN} ${_corpus})
endfunction()
