# Every preset compiles through ccache when the machine has it: CI builds a
# fresh clone each time, and the cache in the home folder carries over. Paths
# are hashed relative to the source folder, so a clone elsewhere still hits.
find_program(OSTREL_CCACHE ccache)
if(OSTREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(launcher env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros ${OSTREL_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()

# Warning and sanitizer flags shared by every target of the project.
add_library(ostrel_options INTERFACE)
target_compile_options(ostrel_options INTERFACE -Wall -Wextra -Wpedantic)
if(OSTREL_WERROR)
  target_compile_options(ostrel_options INTERFACE -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false positives on std::vector/std::string growth at -O2 and up.
  target_compile_options(ostrel_options INTERFACE -Wno-stringop-overflow -Wno-array-bounds -Wno-restrict)
endif()

if(OSTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds one GoogleTest executable and registers its cases with CTest.
# Tests that paint run on Qt's offscreen platform. RESOURCE_LOCK names a
# resource that no two tests holding it use at once: the product lock is
# taken by every test that starts the product or stops it by name, since
# stopping by name reaches every process of this user with that name.
# Under the sanitizers, blocks system libraries keep for the life of the
# process are not reported as leaks (cmake/lsan.supp).
function(ostrel_add_test name)
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main ostrel_options)
  set(lock)
  if(ARG_RESOURCE_LOCK)
    set(lock RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  set(sanitizer)
  if(OSTREL_SANITIZE)
    set(sanitizer ENVIRONMENT_MODIFICATION "LSAN_OPTIONS=set:suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp")
  endif()
  # A Windows test program's listing runs under Wine, whose first start in a
  # run takes seconds.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300
               ${sanitizer}
               ${lock})
endfunction()

# The fuzz build instruments every library for coverage, so a fuzz target
# links the project's libraries like any program does.
if(OSTREL_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_custom_target(fuzzers)
endif()

# Adds one libFuzzer program; `cmake --build … --target fuzzers` builds them all.
function(ostrel_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ostrel_options)
  add_dependencies(fuzzers ${name})
endfunction()
