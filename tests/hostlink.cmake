# The host editor link: the protocol's pure rules natively, the link against the stand-in host.
corvane_native_test(hostlink_native_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/native/hostlink/HostProtocolTest.cpp
  LIBS hostlink_core)

corvane_windows_test(hostlink_win_tests DESKTOP TIMEOUT 90
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/win/hostlink/HostLinkTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/win/hostlink/FakeHost.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/win/hostlink/HostSimTest.cpp
  LIBS hostlink)
