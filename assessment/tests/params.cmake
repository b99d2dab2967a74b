# The parameters screen.
zelk_add_test(NAME params_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/params_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/params_file_test.cpp
  LIBS screens)
