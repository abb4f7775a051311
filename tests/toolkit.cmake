# The toolkit's own controls in this process: the tool bar built from a table of items, and
# notifications handed back to the control that sent them.
corvane_windows_test(toolkit_controls_tests
  SOURCES win/toolkit/ToolBarTest.cpp
  LIBS toolkit
  DESKTOP)
