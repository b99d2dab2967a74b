# The main screen, the data-supplier screen and the data-exchange file's screen half.
zelk_add_test(NAME supplier_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/supplier_screen_test.cpp
  LIBS screens)
zelk_add_test(NAME main_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/main_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/main_exchange_test.cpp
  LIBS screens)
