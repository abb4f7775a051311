# A tag's road into the host: from the menu choice to the text in the host's edit control, and
# InsertTextIntoHost alone, against a bare SendMessage round trip to the same host window.
if(WIN32 AND TARGET corvane_testbed)
  add_executable(insert_bench ${CMAKE_CURRENT_SOURCE_DIR}/insert/InsertBench.cpp)
  target_link_libraries(insert_bench PRIVATE hostlink corvane_testbed)
  add_dependencies(insert_bench Corvane hostsim)
  corvane_tool_target(insert_bench)
endif()
