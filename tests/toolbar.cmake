# The docked toolbar: its setting rules natively; the planted toolbar, its watchdog, its buttons and
# the document preview end to end under Wine.
corvane_native_test(toolbar_settings_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/toolbar/ToolbarSettingsTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/native/toolbar/FavoritesProgressTest.cpp
  LIBS toolbar_core hostlink_core)

# The settings integer rule under libFuzzer.
corvane_fuzz_target(toolbar_settings_fuzz
  SOURCES native/toolbar/ToolbarSettingsFuzz.cpp
  LIBS hostlink_core)

# The preview's pure logic: the encoding a document declares, and live preview's decisions.
corvane_native_test(toolbar_preview_test
  SOURCES native/toolbar/DeclaredEncodingTest.cpp native/toolbar/LiveFollowTest.cpp
  LIBS toolbar_core)

# The search for a declared encoding under libFuzzer.
corvane_fuzz_target(toolbar_encoding_fuzz
  SOURCES native/toolbar/DeclaredEncodingFuzz.cpp ${CMAKE_SOURCE_DIR}/toolbar/preview/core/DeclaredEncoding.cpp)

# The comparison of the browser's address with the followed file's path under libFuzzer.
corvane_fuzz_target(toolbar_address_fuzz
  SOURCES native/toolbar/LiveAddressFuzz.cpp ${CMAKE_SOURCE_DIR}/toolbar/preview/core/LiveFollow.cpp
          ${CMAKE_SOURCE_DIR}/toolkit/core/Utf8.cpp)

# A staged Corvane planted in the stand-in host, driven from outside with real input.
corvane_windows_test(toolbar_e2e_tests DESKTOP TIMEOUT 150
  SOURCES win/toolbar/ToolbarEndToEnd.cpp win/toolbar/ToolbarDriver.cpp)
if(WIN32)
  add_dependencies(toolbar_e2e_tests Corvane hostsim)
endif()

# The preview button and live preview of a staged Corvane in the stand-in host, the browser window
# scripted; and the toolbar taking no command while a box of Corvane is open.
corvane_windows_test(toolbar_preview_e2e_tests DESKTOP TIMEOUT 150
  SOURCES win/preview/PreviewEndToEnd.cpp win/preview/LivePreviewEndToEnd.cpp win/toolbar/CommandGuardEndToEnd.cpp
          win/toolbar/ToolbarDriver.cpp)
if(WIN32)
  target_include_directories(toolbar_preview_e2e_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win/toolbar)
  add_dependencies(toolbar_preview_e2e_tests Corvane hostsim)
endif()

# Live preview while the editor is killed at random moments, trial after trial.
corvane_windows_test(toolbar_live_crash_e2e_tests DESKTOP TIMEOUT 300
  SOURCES win/preview/LiveCrashEndToEnd.cpp win/toolbar/ToolbarDriver.cpp)
if(WIN32)
  target_include_directories(toolbar_live_crash_e2e_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win/toolbar)
  add_dependencies(toolbar_live_crash_e2e_tests Corvane hostsim)
endif()

# The main form in this process: the message filter, and a preview for a host that has gone. Its
# own folder, since the form keeps Tag.ini and writes Buffer.htm beside the executable.
corvane_windows_test(toolbar_form_tests DESKTOP TIMEOUT 90
  SOURCES win/toolbar/FormInProcess.cpp win/toolbar/LivePreviewInProcess.cpp
  LIBS toolbar corvane_resources)
if(WIN32)
  set_target_properties(toolbar_form_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/toolbar-form)
  add_dependencies(toolbar_form_tests hostsim)
endif()

# The picture converter's format and output, and the program's own picture files.
corvane_native_test(toolbar_pixelart_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/toolbar/PixelArtTest.cpp
  LIBS pixelart_lib)
if(NOT WIN32)
  target_compile_definitions(toolbar_pixelart_test PRIVATE CORVANE_IMAGES_DIR="${CMAKE_SOURCE_DIR}/resources/images")
endif()

# Not a test: draws the toolbar over the planted one for the demo's screenshot (scripts/demo.sh).
if(WIN32)
  add_executable(toolbarpicture win/toolbar/ToolbarPicture.cpp $<TARGET_OBJECTS:corvane_resources>)
  target_link_libraries(toolbarpicture PRIVATE toolbar)
  corvane_tool_target(toolbarpicture)
endif()
