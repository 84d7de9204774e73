# Shared build settings and helpers for every module.

find_package(PkgConfig REQUIRED)
find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

option(VELMORA_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra)
if(VELMORA_WERROR)
  add_compile_options(-Werror)
endif()

if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VELMORA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# velmora_subdirectories(): add every immediate subfolder that has a CMakeLists.txt.
function(velmora_subdirectories)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# velmora_test(NAME name SOURCES ... LIBS ... [ENV k=v ...])
# A GoogleTest program whose cases ctest lists one by one. Every test runs
# without a display, with SDL's dummy drivers and a private system folder.
include(GoogleTest)
find_package(GTest REQUIRED)
function(velmora_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENV" ${ARGN})
  # The common environment is compiled in (tests/test_env.cpp): a list in
  # ENVIRONMENT would be split apart by gtest_discover_tests. ENV takes one
  # extra variable.
  set(env_property "")
  if(T_ENV)
    set(env_property ENVIRONMENT "${T_ENV}")
  endif()
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/test_env.cpp)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VELMORA_DATA_OUT="${VELMORA_DATA_OUT}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT 300
      ${env_property})
endfunction()

# velmora_fuzz(NAME name SOURCES ... LIBS ...): a libFuzzer target.
function(velmora_fuzz)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY VELMORA_FUZZ_TARGETS ${F_NAME})
endfunction()

# velmora_bench(NAME name SOURCES ... LIBS ...): a Google Benchmark program.
find_package(benchmark QUIET)
function(velmora_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_compile_definitions(${B_NAME} PRIVATE
    VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VELMORA_DATA_OUT="${VELMORA_DATA_OUT}")
  set_property(GLOBAL APPEND PROPERTY VELMORA_BENCH_TARGETS ${B_NAME})
endfunction()
