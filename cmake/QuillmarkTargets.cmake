# Helpers shared by every module's CMakeLists.

# Warnings stay private to our own targets.
function(quillmark_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
endfunction()

# A program of our own from SOURCES, linked with LIBS: the common part of tests,
# fuzzers and benchmarks.
function(quillmark_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  quillmark_warnings(${name})
endfunction()

# One GoogleTest executable per module: quillmark_test(NAME SOURCES ... LIBS ...)
function(quillmark_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT QUILLMARK_TESTS)
    return()
  endif()
  quillmark_program(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# A Google Benchmark program: quillmark_bench(NAME SOURCES ... LIBS ...)
function(quillmark_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  quillmark_program(${name} SOURCES ${B_SOURCES} LIBS ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# A libFuzzer target, run for QUILLMARK_FUZZ_SECONDS as a test of the fuzz build.
# New inputs go to a scratch folder; CORPUS (kept in the tree) seeds the run.
#   quillmark_fuzzer(NAME SOURCES ... LIBS ... CORPUS dir)
set(QUILLMARK_FUZZ_SECONDS 30 CACHE STRING "How long each fuzzer runs under ctest")
function(quillmark_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT QUILLMARK_FUZZ)
    return()
  endif()
  quillmark_program(${name} SOURCES ${F_SOURCES} LIBS ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${scratch})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${QUILLMARK_FUZZ_SECONDS} -timeout=10
                   -print_final_stats=1 ${scratch} ${F_CORPUS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
