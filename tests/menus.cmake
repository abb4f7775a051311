# The menu model's rules, Tag.ini, the popup menu on real windows, and the tag menu end to end.

corvane_native_test(menus_native_tests
  SOURCES native/menus/TagFileTest.cpp native/menus/MenuRulesTest.cpp
  LIBS menus_core toolkit_core)

# The Tag.ini reader under libFuzzer; ctest gives it a short run.
if(NOT WIN32 AND CORVANE_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(menus_tagfile_fuzz native/menus/TagFileFuzz.cpp ${CMAKE_SOURCE_DIR}/menus/core/TagFile.cpp
                 ${CMAKE_SOURCE_DIR}/toolkit/core/AnsiPath.cpp)
  target_include_directories(menus_tagfile_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(menus_tagfile_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(menus_tagfile_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  corvane_tool_target(menus_tagfile_fuzz)
  add_test(NAME menus_tagfile_fuzz COMMAND menus_tagfile_fuzz -runs=20000 -seed=1 -max_len=4096)
  set_tests_properties(menus_tagfile_fuzz PROPERTIES LABELS native TIMEOUT 120)
endif()

# The popup menu in this process, driven from a helper thread (it shows windows: one at a time).
corvane_windows_test(menus_popup_tests
  SOURCES win/menus/PopupMenuTest.cpp win/menus/MenuDriver.cpp
  LIBS toolkit
  DESKTOP)

# Tag.ini from disk and the menu model, in this process without windows.
corvane_windows_test(menus_win_tests
  SOURCES win/menus/TagFileReadTest.cpp
  LIBS menus)

# The tag menu of a staged Corvane planted in the stand-in host.
corvane_windows_test(menus_e2e_tests
  SOURCES win/menus/TagMenuEndToEnd.cpp
  DESKTOP TIMEOUT 120)
if(WIN32)
  add_dependencies(menus_e2e_tests Corvane hostsim)
endif()
