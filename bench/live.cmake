# What live preview costs: one check against a bare fetch of the host's text, one check of a saved
# file after a save that kept its size and time against a bare read of the file, and the share of
# a core a Corvane process spends with it on. Uses the test bed's stand-in host, scripted browser
# control and toolbar driver.
if(WIN32 AND TARGET corvane_testbed)
  add_executable(live_bench ${CMAKE_CURRENT_SOURCE_DIR}/preview/LiveBench.cpp)
  target_link_libraries(live_bench PRIVATE toolbar corvane_testbed corvane_resources)
  set_target_properties(live_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/live)
  add_dependencies(live_bench Corvane hostsim)
  corvane_tool_target(live_bench)
endif()
