# The tag menu for a large Tag.ini: building it, and opening it and its largest group (Windows).
if(WIN32)
  add_executable(menus_bench ${CMAKE_CURRENT_SOURCE_DIR}/menus/TagMenuBench.cpp)
  target_link_libraries(menus_bench PRIVATE menus toolkit)
  corvane_tool_target(menus_bench)
endif()
