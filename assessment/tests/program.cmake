zelk_add_test(NAME program_startup_tests GUI TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProgramStartupTest.cpp
  LIBS screens)
