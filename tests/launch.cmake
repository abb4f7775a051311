# The folder launch menu and the favorites menu: naming and ordering rules natively; the menu
# component on real folder trees under Wine; the favorites button of a running Corvane end to end.
corvane_native_test(launch_names_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/launch/LaunchNamesTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/native/launch/InternetShortcutTest.cpp
  LIBS menus_core)

# The file-name rules and the Internet shortcut reader, with its UTF-7 decoder, under libFuzzer.
corvane_fuzz_target(launch_names_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/launch/LaunchNamesFuzz.cpp ${CMAKE_SOURCE_DIR}/menus/core/LaunchNames.cpp)
corvane_fuzz_target(launch_shortcut_fuzz
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/launch/InternetShortcutFuzz.cpp
          ${CMAKE_SOURCE_DIR}/menus/core/InternetShortcut.cpp)

if(WIN32)
  # Stands in for the program that the shell starts for a registered file type.
  add_executable(launch_recorder WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/win/launch/LaunchRecorder.cpp)
  corvane_tool_target(launch_recorder)
endif()

corvane_windows_test(launch_popup_test DESKTOP
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/win/launch/LaunchPopupTest.cpp
  LIBS menus advapi32)
if(WIN32)
  add_dependencies(launch_popup_test launch_recorder)
  target_compile_definitions(launch_popup_test PRIVATE LAUNCH_RECORDER_EXE_UNIX="$<TARGET_FILE:launch_recorder>")
endif()

# The favorites button of a staged Corvane planted in the stand-in host. It needs the scripted
# browser control of the test support library to see where the browser window was sent.
if(WIN32)
  get_target_property(launch_support_sources corvane_test_support SOURCES)
  list(FILTER launch_support_sources INCLUDE REGEX "ScriptedBrowser\\.cpp$")
endif()
if(WIN32 AND NOT launch_support_sources)
  message(STATUS "launch: the favorites end-to-end tests wait for the scripted browser control")
else()
  corvane_windows_test(launch_favorites_e2e DESKTOP TIMEOUT 150
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/win/launch/FavoritesEndToEnd.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/win/launch/OwnFolderEndToEnd.cpp)
  if(WIN32)
    add_dependencies(launch_favorites_e2e Corvane hostsim)
  endif()
endif()
