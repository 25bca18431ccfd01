# The release of a Windows build: the setup program (NSIS) and the portable zip, from the files the build
# put beside nullora.exe. Run by the `release` target:
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DVERSION=... -DARCH=x86|amd64 -DSETUP=... -DZIP=... -P release.cmake
foreach(name BUILD_DIR SOURCE_DIR VERSION ARCH SETUP ZIP MAKENSIS)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "release.cmake: ${name} is not set")
  endif()
endforeach()

execute_process(
  COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DARCH=${ARCH} -DBUILD_DIR=${BUILD_DIR} -DOUT_FILE=${SETUP}
          ${SOURCE_DIR}/installer/nullora.nsi
  RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "makensis failed (${made})")
endif()

# The same files for a portable use, in a folder of their own.
set(stage ${BUILD_DIR}/release-stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/Nullora)
foreach(file nullora.exe nullora-cli.exe TIPOFDAY.TXT help.chm)
  if(EXISTS ${BUILD_DIR}/${file})
    file(COPY ${BUILD_DIR}/${file} DESTINATION ${stage}/Nullora)
  endif()
endforeach()
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Nullora WORKING_DIRECTORY ${stage}
                RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
  message(FATAL_ERROR "the zip could not be made (${zipped})")
endif()
file(REMOVE_RECURSE ${stage})
message(STATUS "release: ${SETUP} and ${ZIP}")
