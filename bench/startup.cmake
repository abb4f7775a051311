# Corvane's start, from CreateProcess to its toolbar planted in the stand-in host and its browser
# window created, against a minimal program that creates one hidden window and against the least
# program that plants a window in the host's toolbar, in the same run.
if(WIN32 AND TARGET corvane_testbed)
  add_executable(startup_minimal WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/startup/minimal.cpp)
  target_link_libraries(startup_minimal PRIVATE user32 kernel32)
  corvane_tool_target(startup_minimal)

  add_executable(startup_planting WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/startup/planting.cpp)
  target_include_directories(startup_planting PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(startup_planting PRIVATE user32 kernel32)
  corvane_tool_target(startup_planting)

  add_executable(startup_bench ${CMAKE_CURRENT_SOURCE_DIR}/startup/StartupBench.cpp)
  target_link_libraries(startup_bench PRIVATE corvane_testbed)
  target_compile_definitions(startup_bench PRIVATE MINIMAL_EXE_UNIX="$<TARGET_FILE:startup_minimal>"
                                                   PLANTING_EXE_UNIX="$<TARGET_FILE:startup_planting>")
  add_dependencies(startup_bench startup_minimal startup_planting Corvane hostsim)
  corvane_tool_target(startup_bench)
endif()
