# Tests that drive the whole program as a user does: one assessment from the data supplier to the
# chart and its data-exchange file, and start-ups in working directories with malformed files.
foreach(t e2e_assessment e2e_robustness)
  zelk_add_test(NAME ${t}_tests GUI TIMEOUT 120
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${t}_test.cpp
    LIBS screens)
endforeach()
