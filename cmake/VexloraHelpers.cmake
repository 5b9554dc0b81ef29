# SPDX-License-Identifier: GPL-3.0-or-later
# One helper adds a test, one a benchmark, one a fuzzer.

find_package(GTest REQUIRED)
include(GoogleTest)

# vexlora_test(NAME [QT_EVENT_LOOP] SOURCES... LIBS ...); QT_EVENT_LOOP gives the test a
# QCoreApplication on its main thread.
function(vexlora_test name)
  cmake_parse_arguments(T "QT_EVENT_LOOP" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT_EVENT_LOOP)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
    target_link_libraries(${name} PRIVATE vexlora_settings GTest::gtest ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE vexlora_settings GTest::gtest_main ${T_LIBS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

function(vexlora_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE vexlora_settings benchmark::benchmark_main ${B_LIBS})
endfunction()

# A fuzz target is built in every build: with libFuzzer when VEXLORA_FUZZ is on,
# otherwise with a small main that replays the corpus as a CTest test.
function(vexlora_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE vexlora_settings ${F_LIBS})
  if(VEXLORA_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    add_test(NAME ${name}_replay COMMAND ${name} ${F_CORPUS})
  endif()
endfunction()
