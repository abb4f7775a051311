# The preview of an unsaved document in the stand-in host, against a bare copy and write of as
# many bytes. Uses the test bed's handle on the stand-in host.
if(WIN32 AND TARGET corvane_testbed)
  add_executable(preview_bench ${CMAKE_CURRENT_SOURCE_DIR}/preview/PreviewBench.cpp)
  target_link_libraries(preview_bench PRIVATE toolbar corvane_testbed corvane_resources)
  set_target_properties(preview_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/preview)
  add_dependencies(preview_bench hostsim)
  corvane_tool_target(preview_bench)
endif()
