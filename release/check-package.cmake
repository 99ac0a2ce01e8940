# Makes the release (the package target) and checks it as a user would:
# SHA256SUMS with sha256sum -c beside the zip, then check-dist.py on the files.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BIN} --target package RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the package target failed: ${rc}")
endif()
execute_process(COMMAND sha256sum -c SHA256SUMS WORKING_DIRECTORY ${DIST} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "sha256sum -c SHA256SUMS fails in ${DIST}")
endif()
# Debian's python3, with the modules that scripts/install-deps.sh installs.
execute_process(COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check-dist.py ${DIST} ${NAME}.zip ${VERSION} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the release in ${DIST} is not as it should be")
endif()
