# The menu model's rules, Tag.ini, the popup menu on real windows, and the tag menu end to end.

corvane_native_test(menus_native_tests
  SOURCES native/menus/TagFileTest.cpp native/menus/TagTextTest.cpp native/menus/MenuRulesTest.cpp
  LIBS menus_core toolkit_core)

# The Tag.ini reader under libFuzzer.
corvane_fuzz_target(menus_tagfile_fuzz
  SOURCES native/menus/TagFileFuzz.cpp ${CMAKE_SOURCE_DIR}/menus/core/TagFile.cpp
          ${CMAKE_SOURCE_DIR}/menus/core/TagText.cpp ${CMAKE_SOURCE_DIR}/toolkit/core/FilePath.cpp
          ${CMAKE_SOURCE_DIR}/toolkit/core/Utf8.cpp)

# Tag.ini in any encoding under libFuzzer: its text, its groups and the host text of its entries.
corvane_fuzz_target(menus_tagtext_fuzz
  SOURCES native/menus/TagTextFuzz.cpp ${CMAKE_SOURCE_DIR}/menus/core/TagFile.cpp
          ${CMAKE_SOURCE_DIR}/menus/core/TagText.cpp ${CMAKE_SOURCE_DIR}/toolkit/core/FilePath.cpp
          ${CMAKE_SOURCE_DIR}/toolkit/core/Utf8.cpp)

# The popup menu in this process, driven from a helper thread (it shows windows: one at a time).
corvane_windows_test(menus_popup_tests
  SOURCES win/menus/PopupMenuTest.cpp win/menus/MenuDriver.cpp
  LIBS toolkit
  DESKTOP)

# The tag menu from Tag.ini on disk, shown and followed in this process (it shows windows).
corvane_windows_test(menus_tagmenu_tests
  SOURCES win/menus/TagMenuFileTest.cpp win/menus/MenuDriver.cpp
  LIBS menus
  DESKTOP)

# Tag.ini from disk and the menu model, in this process without windows; Tag.ini and the program's
# own files in hostile shapes.
corvane_windows_test(menus_win_tests
  SOURCES win/menus/TagFileReadTest.cpp win/menus/HostileFilesTest.cpp
  LIBS menus)

# The tag menu of a staged Corvane planted in the stand-in host.
corvane_windows_test(menus_e2e_tests
  SOURCES win/menus/TagMenuEndToEnd.cpp
  DESKTOP TIMEOUT 120)
if(WIN32)
  add_dependencies(menus_e2e_tests Corvane hostsim)
endif()
