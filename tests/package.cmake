# The release archives (cmake/Package.cmake): their contents, and the program in them refusing to
# run without the editor. Checked from the mingw64 tree, which also finds the 32-bit archive in
# the mingw32 tree; this Wine runs 64-bit programs only, so only the 64-bit program is started.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8 AND TARGET corvane_test_support)
  add_executable(archiverefusal ${CMAKE_CURRENT_SOURCE_DIR}/win/package/ArchiveRefusal.cpp)
  target_link_libraries(archiverefusal PRIVATE corvane_test_support)
  corvane_tool_target(archiverefusal)

  set(CORVANE_ARCHIVE32_DIR ${CMAKE_SOURCE_DIR}/build/mingw32 CACHE PATH "Build folder of the 32-bit release archive")
  set(check ${CMAKE_CURRENT_SOURCE_DIR}/win/package/check-archive.sh)
  add_test(NAME package_win64_archive
           COMMAND ${CORVANE_BASH} ${check} ${CMAKE_BINARY_DIR}/${CORVANE_ARCHIVE_NAME}.zip ${CMAKE_SOURCE_DIR}
                   ${PROJECT_VERSION} ${CMAKE_OBJDUMP} $<TARGET_FILE:archiverefusal>)
  add_test(NAME package_win32_archive
           COMMAND ${CORVANE_BASH} ${check} ${CORVANE_ARCHIVE32_DIR}/Corvane-${PROJECT_VERSION}-win32.zip
                   ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION} ${CMAKE_OBJDUMP})
  set_tests_properties(package_win64_archive package_win32_archive PROPERTIES
                       TIMEOUT 120 SKIP_RETURN_CODE 77 LABELS windows RESOURCE_LOCK desktop)
endif()
