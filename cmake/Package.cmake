# The release archive: `cmake --build --preset mingw64 --target package` makes
# Corvane-<version>-win64.zip (mingw32: -win32.zip), one folder "Corvane" holding the program
# without its symbols, the sample Tag.ini, the user's guide as readme.txt (Shift-JIS, CR LF) and
# the licence.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CORVANE_ARCHIVE_PLATFORM win64)
else()
  set(CORVANE_ARCHIVE_PLATFORM win32)
endif()
set(CORVANE_ARCHIVE_NAME Corvane-${PROJECT_VERSION}-${CORVANE_ARCHIVE_PLATFORM})

# The guide's plain-text twin, made from the Markdown at build time.
find_program(CORVANE_BASH bash REQUIRED)
set(guide_source ${CMAKE_SOURCE_DIR}/docs/ja/README.md)
set(guide_text ${CMAKE_BINARY_DIR}/package/readme.txt)
add_custom_command(OUTPUT ${guide_text}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND ${CORVANE_BASH} ${CMAKE_SOURCE_DIR}/scripts/guide-text.sh ${guide_source} ${PROJECT_VERSION} ${guide_text}
  DEPENDS ${guide_source} ${CMAKE_SOURCE_DIR}/scripts/guide-text.sh ${CMAKE_SOURCE_DIR}/LICENSE
  COMMENT "Writing the user's guide as readme.txt"
  VERBATIM)
add_custom_target(corvane_guide ALL DEPENDS ${guide_text})

# The licence with Windows line ends, so that every editor shows it as written.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${CMAKE_BINARY_DIR}/package/LICENSE.txt "${licence}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)

install(TARGETS Corvane RUNTIME DESTINATION Corvane)
install(FILES ${CMAKE_SOURCE_DIR}/resources/Tag.ini ${guide_text} ${CMAKE_BINARY_DIR}/package/LICENSE.txt
        DESTINATION Corvane)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${CORVANE_ARCHIVE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
