# The release in DIST: the zip, its files beside it, SHA256SUMS and the
# package managers' manifests. The zip's bytes depend on nothing but the
# programs and readme.txt: entries in a fixed order, each with the time of
# the last commit (or SOURCE_DATE_EPOCH) and a fixed mode, no extra fields.
set(files Lumbrake.exe Tarnvale.exe lumbrake-cli.exe readme.txt)
set(zip ${NAME}.zip)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
  if(NOT rc EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch 315532800)  # 1980-01-01, the earliest time a zip entry can hold
  endif()
endif()

file(REMOVE_RECURSE ${DIST})
file(MAKE_DIRECTORY ${DIST})
string(REPLACE "|" ";" sources "${SOURCES}")
foreach(file source IN ZIP_LISTS files sources)
  file(COPY_FILE ${source} ${DIST}/${file})
endforeach()
file(CHMOD ${DIST}/Lumbrake.exe ${DIST}/Tarnvale.exe ${DIST}/lumbrake-cli.exe
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD ${DIST}/readme.txt PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND touch -d @${epoch} ${files} WORKING_DIRECTORY ${DIST} COMMAND_ERROR_IS_FATAL ANY)
# -X leaves out the owner and the extra time stamps; a zip entry's own time
# is local time, hence UTC for all.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 zip -q -X -D -9 ${zip} ${files}
                WORKING_DIRECTORY ${DIST} COMMAND_ERROR_IS_FATAL ANY)

set(sums "")
foreach(file ${zip} Lumbrake.exe Tarnvale.exe lumbrake-cli.exe)
  file(SHA256 ${DIST}/${file} hash)
  string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE ${DIST}/SHA256SUMS "${sums}")

# The manifests name the zip by its address and its hash.
file(SHA256 ${DIST}/${zip} ZIP_SHA256)
string(TOUPPER ${ZIP_SHA256} ZIP_SHA256_UPPER)
set(ZIP_URL ${DOWNLOAD_BASE}/${VERSION}/${zip})
configure_file(${SOURCE_DIR}/release/manifests/scoop.json.in ${DIST}/scoop/lumbrake-tarnvale.json @ONLY)
file(GLOB templates RELATIVE ${SOURCE_DIR}/release/manifests/winget ${SOURCE_DIR}/release/manifests/winget/*.in)
foreach(template ${templates})
  string(REGEX REPLACE "\\.in$" "" manifest ${template})
  configure_file(${SOURCE_DIR}/release/manifests/winget/${template} ${DIST}/winget/${manifest} @ONLY)
endforeach()
message(STATUS "${DIST}/${zip}: sha256 ${ZIP_SHA256}")
