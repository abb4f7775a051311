# What live preview costs: one check against a bare fetch of the host's text, one check of a saved
# file after a save that kept its size and time against a bare read of the file, and the share of
# a core a Corvane process spends with it on. Uses the tests' stand-in host, scripted browser control
# and toolbar driver.
if(WIN32 AND TARGET corvane_test_support)
  add_executable(live_bench ${CMAKE_CURRENT_SOURCE_DIR}/preview/LiveBench.cpp
                            ${CMAKE_SOURCE_DIR}/tests/win/toolbar/ToolbarDriver.cpp)
  target_include_directories(live_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/win/toolbar)
  target_link_libraries(live_bench PRIVATE toolbar corvane_test_support corvane_resources gtest)
  set_target_properties(live_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/live)
  add_dependencies(live_bench Corvane hostsim)
  corvane_tool_target(live_bench)
endif()
