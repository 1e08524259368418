# Run with cmake -P by ostrel_add_payload_archive: stages the payload tree
# and the product program, then archives the stage with 7-Zip.
foreach(var SEVENZIP OUTPUT PROGRAM_FILE PAYLOAD_DIR PASSWORD STAGE_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "OstrelMakeArchive: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
file(COPY "${PAYLOAD_DIR}/" DESTINATION "${STAGE_DIR}")
file(COPY "${PROGRAM_FILE}" DESTINATION "${STAGE_DIR}")
# The payload's programs carry the target platform's executable suffix.
if(PROGRAM_SUFFIX AND SUFFIXED)
  string(REPLACE "|" ";" suffixed "${SUFFIXED}")
  foreach(name ${suffixed})
    if(EXISTS "${STAGE_DIR}/${name}")
      file(RENAME "${STAGE_DIR}/${name}" "${STAGE_DIR}/${name}${PROGRAM_SUFFIX}")
    endif()
  endforeach()
endif()

# 7-Zip adds to an existing archive, so start from nothing.
file(REMOVE "${OUTPUT}")
# Names are read as UTF-8 only under a UTF-8 locale; the language packs'
# names are not ASCII.
set(ENV{LC_ALL} C.UTF-8)
execute_process(
  COMMAND "${SEVENZIP}" a -t7z "-p${PASSWORD}" -mhe=off -bd -bso0 -bsp0 -- "${OUTPUT}" .
  WORKING_DIRECTORY "${STAGE_DIR}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "7-Zip could not build ${OUTPUT} (exit ${rc})")
endif()
