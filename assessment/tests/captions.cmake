# Every caption of the assessment screens can be read whole.
zelk_add_test(NAME captions_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/captions_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/CaptionCheck.cpp
  LIBS screens)
