# The impact-estimates and chart screens.
zelk_add_test(NAME impact_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/impact_screen_test.cpp
  LIBS screens)
zelk_add_test(NAME chart_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chart_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/chart_axis_test.cpp
  LIBS screens)
# The tests read the screens' widgets through the generated form classes.
foreach(t impact_screen_tests chart_screen_tests)
  target_include_directories(${t} PRIVATE ${CMAKE_BINARY_DIR}/screens_autogen/include)
  add_dependencies(${t} screens)
endforeach()
