# Runs picgen into a scratch folder and fails when any picture it draws differs
# from the committed file, so the drawings and the files cannot drift apart.
# Called with -DPICGEN=<program> -DOUT=<scratch folder> -DSOURCE=<source root>.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${PICGEN}" "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "picgen failed: ${status}")
endif()

file(GLOB_RECURSE drawn RELATIVE "${OUT}" "${OUT}/*")
if(NOT drawn)
  message(FATAL_ERROR "picgen wrote nothing into ${OUT}")
endif()
foreach(path IN LISTS drawn)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${path}" "${SOURCE}/${path}"
                  RESULT_VARIABLE differs)
  if(differs)
    list(APPEND stale "${path}")
  endif()
endforeach()
if(stale)
  list(JOIN stale "\n  " listed)
  message(FATAL_ERROR "these committed pictures differ from picgen's drawings "
                      "(run tools/regenerate-pictures.sh and commit the result):\n  ${listed}")
endif()
list(LENGTH drawn count)
message(STATUS "${count} pictures match their drawings")
