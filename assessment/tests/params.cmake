# The parameters screen.
zelk_add_test(NAME params_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/params_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/params_file_test.cpp
  LIBS screens)
# The tests read the screen's widgets through the generated form class.
target_include_directories(params_screen_tests PRIVATE ${CMAKE_BINARY_DIR}/screens_autogen/include)
add_dependencies(params_screen_tests screens)
