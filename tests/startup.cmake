# Start-up and instance control: the command line natively, the program's start end to end.
corvane_native_test(startup_native_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/startup/CommandLineTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/native/startup/InstanceNameTest.cpp
  LIBS startup_core)

corvane_windows_test(startup_e2e_tests DESKTOP TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/win/startup/StartupTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/win/startup/MutexRace.cpp)

# The argument splitter and FindParamValue under libFuzzer.
corvane_fuzz_target(startup_commandline_fuzz
  SOURCES native/startup/CommandLineFuzz.cpp
  LIBS startup_core)

# What Corvane.exe loads before its first line runs: only what planting its toolbar needs.
if(WIN32 AND CORVANE_DELAY_LOADS)
  add_test(NAME startup_import_table
           COMMAND ${CORVANE_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/win/startup/check-imports.sh ${CMAKE_OBJDUMP}
                   $<TARGET_FILE:Corvane>)
  set_tests_properties(startup_import_table PROPERTIES TIMEOUT 30)
endif()
