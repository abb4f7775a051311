# Creating the browser window (hidden, its control created and activated in place), against
# creating one plain hidden window, in the same run.
if(WIN32 AND TARGET scriptedbrowser_control)
  add_executable(browser_bench ${CMAKE_CURRENT_SOURCE_DIR}/browser/FormCreationBench.cpp)
  target_link_libraries(browser_bench PRIVATE browser corvane_resources scriptedbrowser_control)
  corvane_tool_target(browser_bench)
endif()
