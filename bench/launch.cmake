# The folder launch menu's load on generated shortcut trees, against a bare walk of the same tree.
if(WIN32)
  add_executable(launch_bench ${CMAKE_CURRENT_SOURCE_DIR}/launch/LaunchBench.cpp)
  target_link_libraries(launch_bench PRIVATE menus)
  corvane_tool_target(launch_bench)
endif()
