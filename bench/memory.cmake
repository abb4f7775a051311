# Corvane's peak working set after its start and after a large Favorites load, against the start-up
# benchmark's minimal window program.
if(WIN32 AND TARGET corvane_testbed)
  add_executable(memory_bench ${CMAKE_CURRENT_SOURCE_DIR}/memory/MemoryBench.cpp)
  target_link_libraries(memory_bench PRIVATE corvane_testbed psapi)
  target_compile_definitions(memory_bench PRIVATE MINIMAL_EXE_UNIX="$<TARGET_FILE:startup_minimal>")
  add_dependencies(memory_bench startup_minimal Corvane hostsim)
  corvane_tool_target(memory_bench)
endif()
