# The location and air-quality data screens.
zelk_add_test(NAME location_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/location_screen_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/location_townfile_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/location_texts_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/record_screens_test.cpp
  LIBS screens)
zelk_add_test(NAME aq_screen_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/aq_screen_test.cpp
  LIBS screens)
