# Builds the payload archive and the packed single-executable setup.
#
# The setup program's folder packs it like this (the archive target
# ostrel_payload is defined by product/):
#
#   include(OstrelPacking)
#   ostrel_pack_setup(OstrelSetup_packed
#     OUTPUT  ${CMAKE_BINARY_DIR}/OstrelSetup
#     PROGRAM OstrelSetup
#     VERSION "2.0"
#     PAYLOAD ostrel_payload
#     RESOURCES "GUI=$<TARGET_FILE:ostrel_setup_window>")
#   # the same program as a newer release, for update runs:
#   ostrel_pack_setup(OstrelSetup_2_1_packed
#     OUTPUT  ${CMAKE_BINARY_DIR}/setup-2.1/OstrelSetup
#     PROGRAM OstrelSetup
#     VERSION "2.1"
#     PAYLOAD ostrel_payload
#     RESOURCES "GUI=$<TARGET_FILE:ostrel_setup_window>")
#
# ostrel_pack_setup(<target> OUTPUT <file> PROGRAM <executable target> VERSION <text>
#                   PAYLOAD <archive target> [EXTRACTOR <file>] [RESOURCES NAME=FILE ...])
#   Adds <target> (built by default) that writes <file>: the program with the
#   resources VER (the version text, exactly its bytes), PAK (the archive), 7ZA
#   (the extractor, by default the system's 7-Zip console program) and any
#   further RESOURCES (the window module, pictures, the stored form), in that
#   order. PAK comes first after the program: the extractor finds it by
#   searching the file from its start (see docs/ARCHITECTURE.md). Unless
#   OSTREL_PACK_DEBUG_INFO is on (as it is for Debug builds), the program and
#   the shared-library resources are packed without their debug information,
#   which the build folder's own copies keep: a shipped setup would not carry
#   it, and the uninstaller copy and the search would pass over it on every
#   install.
#
# ostrel_add_payload_archive(<target> OUTPUT <file.7z> PROGRAM <executable target>
#                            PAYLOAD_DIR <dir> PASSWORD <text> [PROGRAMS <name> ...])
#   Adds <target> that writes a 7z archive holding the program's file at its
#   root plus the tree under <dir>. File contents are encrypted with the
#   password; names stay readable, as the install expects. The files named
#   in PROGRAMS get the target's executable suffix (".exe" on Windows).
#
# ostrel_add_windows_setup(<target> VERSION <text> PAYLOAD <archive target>
#                          SOURCES <file> ... LIBRARY <library target> [OUTPUT_DIRECTORY <dir>])
#   Windows: adds the executable OstrelSetup.exe (in <dir>) made of the
#   sources, the library and the resources compiled in from OstrelSetup.rc.in: VER, 7ZA
#   (the Windows 7-Zip console program), PAK, the version block, the
#   manifest and the icon.

include_guard(GLOBAL)

find_program(OSTREL_7ZZ NAMES 7zz REQUIRED DOC "7-Zip console program, carried inside the setup as its extractor")

# The setup carries this file alone, so it has to be a real program rather
# than a script that starts one elsewhere. On Windows it is the stand-alone
# console program of the npm package 7zip-bin, which scripts/install-deps.sh
# puts under /opt/ostrel/npm (OSTREL_NPM_PREFIX there overrides it).
if(WIN32)
  find_file(_ostrel_extractor 7za.exe
    PATHS "$ENV{OSTREL_NPM_PREFIX}/node_modules/7zip-bin/win/x64" /opt/ostrel/npm/node_modules/7zip-bin/win/x64
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  set(_ostrel_magic "4d5a")
else()
  get_filename_component(_ostrel_extractor "${OSTREL_7ZZ}" REALPATH)
  set(_ostrel_magic "7f454c46")
endif()
if(NOT _ostrel_extractor)
  message(FATAL_ERROR "The Windows 7-Zip console program 7za.exe was not found; run scripts/install-deps.sh")
endif()
file(READ "${_ostrel_extractor}" _ostrel_extractor_head LIMIT 4 HEX)
if(NOT _ostrel_extractor_head MATCHES "^${_ostrel_magic}")
  message(FATAL_ERROR "${_ostrel_extractor} is not a program binary; the setup cannot carry it as its extractor")
endif()
set(OSTREL_EXTRACTOR "${_ostrel_extractor}" CACHE FILEPATH "Extractor program carried as the setup's 7ZA resource")

if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(_ostrel_pack_debug_default ON)
else()
  set(_ostrel_pack_debug_default OFF)
endif()
option(OSTREL_PACK_DEBUG_INFO "Pack the setup's program and modules with their debug information"
       ${_ostrel_pack_debug_default})

# Writes a copy of <input> without its debug information to <output>, or the
# file itself when OSTREL_PACK_DEBUG_INFO is on; the copy's path goes to
# <out_var>.
function(_ostrel_packed_copy out_var input output)
  if(OSTREL_PACK_DEBUG_INFO OR NOT CMAKE_OBJCOPY)
    set(${out_var} "${input}" PARENT_SCOPE)
    return()
  endif()
  get_filename_component(stage_dir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${stage_dir}"
    COMMAND ${CMAKE_OBJCOPY} --strip-debug "${input}" "${output}"
    DEPENDS "${input}"
    COMMENT "Dropping the debug information of ${output}"
    VERBATIM)
  set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

function(ostrel_add_payload_archive name)
  cmake_parse_arguments(ARG "" "OUTPUT;PROGRAM;PAYLOAD_DIR;PASSWORD" "PROGRAMS" ${ARGN})
  foreach(required OUTPUT PROGRAM PAYLOAD_DIR PASSWORD)
    if(NOT ARG_${required})
      message(FATAL_ERROR "ostrel_add_payload_archive(${name}): ${required} is required")
    endif()
  endforeach()
  file(GLOB_RECURSE payload_files CONFIGURE_DEPENDS "${ARG_PAYLOAD_DIR}/*")
  string(REPLACE ";" "|" suffixed "${ARG_PROGRAMS}")
  # Found beside this module whichever folder calls the function.
  set(archive_script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/OstrelMakeArchive.cmake")
  add_custom_command(
    OUTPUT "${ARG_OUTPUT}"
    COMMAND ${CMAKE_COMMAND}
            "-DSEVENZIP=${OSTREL_7ZZ}"
            "-DOUTPUT=${ARG_OUTPUT}"
            "-DPROGRAM_FILE=$<TARGET_FILE:${ARG_PROGRAM}>"
            "-DPAYLOAD_DIR=${ARG_PAYLOAD_DIR}"
            "-DPASSWORD=${ARG_PASSWORD}"
            "-DSTAGE_DIR=${CMAKE_CURRENT_BINARY_DIR}/${name}-stage"
            "-DPROGRAM_SUFFIX=${CMAKE_EXECUTABLE_SUFFIX}"
            "-DSUFFIXED=${suffixed}"
            -P "${archive_script}"
    DEPENDS ${ARG_PROGRAM} ${payload_files} "${archive_script}"
    COMMENT "Packing the payload archive ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${name} DEPENDS "${ARG_OUTPUT}")
  set_property(TARGET ${name} PROPERTY OSTREL_ARCHIVE_FILE "${ARG_OUTPUT}")
endfunction()

function(ostrel_pack_setup name)
  cmake_parse_arguments(ARG "" "OUTPUT;PROGRAM;VERSION;PAYLOAD;EXTRACTOR" "RESOURCES" ${ARGN})
  foreach(required OUTPUT PROGRAM PAYLOAD)
    if(NOT ARG_${required})
      message(FATAL_ERROR "ostrel_pack_setup(${name}): ${required} is required")
    endif()
  endforeach()
  if(NOT DEFINED ARG_VERSION)
    message(FATAL_ERROR "ostrel_pack_setup(${name}): VERSION is required")
  endif()
  if(NOT ARG_EXTRACTOR)
    set(ARG_EXTRACTOR "${OSTREL_EXTRACTOR}")
  endif()
  get_property(archive TARGET ${ARG_PAYLOAD} PROPERTY OSTREL_ARCHIVE_FILE)
  if(NOT archive)
    message(FATAL_ERROR "ostrel_pack_setup(${name}): ${ARG_PAYLOAD} is not a payload archive target")
  endif()

  set(stage "${CMAKE_CURRENT_BINARY_DIR}/${name}-pack")
  _ostrel_packed_copy(program "$<TARGET_FILE:${ARG_PROGRAM}>" "${stage}/program")
  set(extra_args "")
  set(extra_files "")
  foreach(resource ${ARG_RESOURCES})
    if(NOT resource MATCHES "^([^=]+)=(.+)$")
      message(FATAL_ERROR "ostrel_pack_setup(${name}): expected NAME=FILE, got ${resource}")
    endif()
    set(resource_name "${CMAKE_MATCH_1}")
    set(resource_file "${CMAKE_MATCH_2}")
    list(APPEND extra_files "${resource_file}")
    if(resource_file MATCHES "^\\$<TARGET_FILE:([^>]+)>$")
      get_target_property(resource_type ${CMAKE_MATCH_1} TYPE)
      if(resource_type MATCHES "^(SHARED|MODULE)_LIBRARY$")
        _ostrel_packed_copy(resource_file "${resource_file}" "${stage}/${resource_name}.so")
      endif()
    endif()
    list(APPEND extra_args --resource "${resource_name}=${resource_file}")
    list(APPEND extra_files "${resource_file}")
  endforeach()

  get_filename_component(output_dir "${ARG_OUTPUT}" DIRECTORY)
  add_custom_command(
    OUTPUT "${ARG_OUTPUT}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
    COMMAND ostrel-pack
            --program "${program}"
            --output "${ARG_OUTPUT}"
            --resource-text "VER=${ARG_VERSION}"
            --resource "PAK=${archive}"
            --resource "7ZA=${ARG_EXTRACTOR}"
            ${extra_args}
    DEPENDS ${ARG_PROGRAM} "${program}" ostrel-pack ${ARG_PAYLOAD} "${archive}" "${ARG_EXTRACTOR}" ${extra_files}
    COMMENT "Packing ${ARG_OUTPUT} (version ${ARG_VERSION})"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${ARG_OUTPUT}")
  set_property(TARGET ${name} PROPERTY OSTREL_PACKED_FILE "${ARG_OUTPUT}")
  # The program file as it went into the packed file.
  set_property(TARGET ${name} PROPERTY OSTREL_PACKED_PROGRAM "${program}")
endfunction()

function(ostrel_add_windows_setup name)
  cmake_parse_arguments(ARG "" "VERSION;PAYLOAD;LIBRARY;OUTPUT_DIRECTORY" "SOURCES" ${ARGN})
  foreach(required PAYLOAD LIBRARY)
    if(NOT ARG_${required})
      message(FATAL_ERROR "ostrel_add_windows_setup(${name}): ${required} is required")
    endif()
  endforeach()
  if(NOT DEFINED ARG_VERSION)
    message(FATAL_ERROR "ostrel_add_windows_setup(${name}): VERSION is required")
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  endif()
  get_property(archive TARGET ${ARG_PAYLOAD} PROPERTY OSTREL_ARCHIVE_FILE)
  set(resources_dir "${PROJECT_SOURCE_DIR}/setup/app/win32/resources")
  set(work "${CMAKE_CURRENT_BINARY_DIR}/${name}-resources")
  # The version resource is exactly the text's bytes, no line end.
  file(WRITE "${work}/ver.txt" "${ARG_VERSION}")
  set(OSTREL_RC_VERSION_FILE "${work}/ver.txt")
  set(OSTREL_RC_EXTRACTOR "${OSTREL_EXTRACTOR}")
  set(OSTREL_RC_ARCHIVE "${archive}")
  set(OSTREL_RC_MANIFEST "${resources_dir}/OstrelSetup.manifest")
  set(OSTREL_RC_ICON "${resources_dir}/OstrelSetup.ico")
  configure_file("${resources_dir}/OstrelSetup.rc.in" "${work}/OstrelSetup.rc" @ONLY)

  add_executable(${name} WIN32 ${ARG_SOURCES} "${work}/OstrelSetup.rc")
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARY} ostrel_options)
  target_link_options(${name} PRIVATE -municode)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME OstrelSetup RUNTIME_OUTPUT_DIRECTORY "${ARG_OUTPUT_DIRECTORY}")
  # The resource compiler reads these files; the build must know it does.
  set_source_files_properties("${work}/OstrelSetup.rc" PROPERTIES OBJECT_DEPENDS
    "${archive};${OSTREL_EXTRACTOR};${work}/ver.txt;${OSTREL_RC_MANIFEST};${OSTREL_RC_ICON}")
  add_dependencies(${name} ${ARG_PAYLOAD})
  set_property(TARGET ${name} PROPERTY OSTREL_PACKED_FILE "${ARG_OUTPUT_DIRECTORY}/OstrelSetup.exe")
endfunction()
