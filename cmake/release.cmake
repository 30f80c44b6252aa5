# The release: `cmake --build --preset windows --target package` makes
# corvant-<version>-win32.zip (corvant.exe and a read-me for Windows users)
# and its SHA-256 file beside it, both the same for the same sources.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(corvant_release_system win64)
else()
  set(corvant_release_system win32)
endif()

# A read-me that Notepad shows on every Windows: CRLF line ends.
set(CORVANT_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/docs/windows-readme.txt.in ${CMAKE_BINARY_DIR}/release/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS corvant RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/release/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME corvant)
set(CPACK_PACKAGE_VENDOR "Fernhollow Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME corvant-${PROJECT_VERSION}-${corvant_release_system})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
# The archive's dates are those of the commit, not of the build: CPack takes
# them from SOURCE_DATE_EPOCH, which this file sets when cpack runs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/release/source_date.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C \"${CMAKE_SOURCE_DIR}\" log -1 --format=%ct
                  OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT commit_time MATCHES \"^[0-9]+$\")
    set(commit_time 315532800)  # 1980-01-01, the oldest date a zip can hold
  endif()
  set(ENV{SOURCE_DATE_EPOCH} \${commit_time})
endif()
")
include(CPack)
