# What the Windows build needs around the project's own code. Qt for Windows
# cannot be had here, so this build holds the setup core, the Windows backend,
# the windowless program and their tests, which run under Wine.
include_guard(GLOBAL)
enable_language(RC)

# nlohmann/json is header-only, but its package points at the host's
# /usr/include, which must never be on a cross compiler's path: the host's C
# library headers there would shadow the target's. A folder holding nothing
# but a link to the json headers stands in for it.
find_path(OSTREL_HOST_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT OSTREL_HOST_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found; run scripts/install-deps.sh")
endif()
set(_ostrel_json_shim ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${_ostrel_json_shim})
file(CREATE_LINK ${OSTREL_HOST_JSON_INCLUDE}/nlohmann ${_ostrel_json_shim}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_ostrel_json_shim})

# GoogleTest built from Debian's sources with the cross compiler.
if(OSTREL_BUILD_TESTS)
  set(OSTREL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  if(NOT EXISTS ${OSTREL_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${OSTREL_GOOGLETEST_SOURCE}; run scripts/install-deps.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Its own build names the targets GTest::gtest, GTest::gmock and so on.
  add_subdirectory(${OSTREL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Tests and build steps run Windows programs under Wine, in a prefix of this
# build folder with a home folder of its own: Wine links the prefix's desktop
# and documents to the Unix home, and nothing here may reach the real one.
# The prefix is made once (wine_prefix below); starting Wine in a new prefix
# takes half a minute, in a made one a fraction of a second.
find_program(OSTREL_WINE NAMES wine)
set(OSTREL_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
set(OSTREL_WINE_ENV
  WINEPREFIX=${OSTREL_WINE_ROOT}/prefix
  HOME=${OSTREL_WINE_ROOT}/home
  XDG_CONFIG_HOME=${OSTREL_WINE_ROOT}/home/.config
  XDG_DATA_HOME=${OSTREL_WINE_ROOT}/home/.local/share
  XDG_CACHE_HOME=${OSTREL_WINE_ROOT}/home/.cache
  WINEDEBUG=-all
  # No menu entries in the Unix desktop for the shortcuts tests make, and
  # no offers to fetch the .NET and HTML engines.
  WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d)
if(OSTREL_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${OSTREL_WINE_ENV} ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
endif()
if(OSTREL_WINE AND OSTREL_BUILD_TESTS)
  add_custom_command(
    OUTPUT ${OSTREL_WINE_ROOT}/prefix.stamp
    COMMAND env ${OSTREL_WINE_ENV} ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${OSTREL_WINE_ROOT}
    COMMAND ${CMAKE_COMMAND} -E touch ${OSTREL_WINE_ROOT}/prefix.stamp
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh
    COMMENT "Preparing the Wine prefix the tests run in"
    VERBATIM)
  add_custom_target(wine_prefix ALL DEPENDS ${OSTREL_WINE_ROOT}/prefix.stamp)
endif()
