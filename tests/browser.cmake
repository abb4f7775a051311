# The browser window: in this process around the scripted control, against the system's own
# control, and the scripted control served to other processes.

corvane_windows_test(browser_window_tests DESKTOP TIMEOUT 60
  SOURCES win/browser/BrowserWindowTest.cpp win/browser/LiveViewTest.cpp win/browser/BrowserDriver.cpp
  LIBS browser corvane_resources)

corvane_windows_test(browser_system_control_tests DESKTOP TIMEOUT 60
  SOURCES win/browser/RealControlTest.cpp win/browser/BrowserDriver.cpp
  LIBS browser corvane_resources)

# Starts Corvane and the stand-in host; registers the scripted control for the prefix's user.
corvane_windows_test(browser_scripted_server_tests DESKTOP TIMEOUT 90
  SOURCES win/browser/ScriptedServerTest.cpp)

# Starts Corvane and the stand-in host and reads the current user's registry in the prefix.
corvane_windows_test(browser_standards_mode_tests DESKTOP TIMEOUT 120
  SOURCES win/browser/StandardsModeTest.cpp
  LIBS advapi32)
if(WIN32)
  add_dependencies(browser_standards_mode_tests Corvane hostsim)
endif()
