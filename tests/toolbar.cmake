# The docked toolbar: its setting rules natively; the planted toolbar, its watchdog, its buttons and
# the document preview end to end under Wine.
corvane_native_test(toolbar_settings_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/toolbar/ToolbarSettingsTest.cpp
  LIBS toolbar_core)
