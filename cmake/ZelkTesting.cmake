# zelk_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT seconds] [GUI])
# Every test gets a timeout, so that an unanswered modal box fails instead of hanging, and the
# Qt-free test support (runtime/testing); a GUI test also gets the GUI test main (platform/testing)
# and, when it links the screens, their generated form headers (ui_*.h).
# zelk_use_screen_forms(target): the target reads the screens' widgets through their generated
# form classes (ui_*.h), as the screen tests and the screenshot tool do.
function(zelk_use_screen_forms target)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/screens_autogen/include)
endfunction()

function(zelk_add_test)
  cmake_parse_arguments(T "GUI" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} zelk_test_support GTest::gtest GTest::gmock)
  if(T_GUI)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${T_NAME} PRIVATE zelk_gui_test_main Qt6::Test)
    if("screens" IN_LIST T_LIBS)
      zelk_use_screen_forms(${T_NAME})
    endif()
    # Program tests copy the program-folder files built beside them.
    add_dependencies(${T_NAME} program_files_params program_files_ltparams)
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
