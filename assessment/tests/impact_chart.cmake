# The impact-estimates and chart screens.
zelk_add_test(NAME impact_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/impact_screen_test.cpp
  LIBS screens)
zelk_add_test(NAME chart_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chart_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/chart_axis_test.cpp
  LIBS screens)
