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
# Tests that paint run on Qt's offscreen platform.
function(ostrel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main ostrel_options)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()
