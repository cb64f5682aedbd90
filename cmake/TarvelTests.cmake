# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# tarvel_add_test(<folder> <name> SOURCES ... LIBS ... [NO_APPLICATION | OWN_MAIN]
#                 [TIMEOUT seconds] [DEPENDS targets ...] [DEFINITIONS ...])
# One test program, test_<folder>_<name>, run by CTest as <folder>.<name> on the offscreen
# platform. Its main (tests/TestMain.cpp) makes the one application object of the program;
# NO_APPLICATION leaves that to the test (GoogleTest's main), OWN_MAIN brings its own main.
function(tarvel_add_test folder name)
  cmake_parse_arguments(T "NO_APPLICATION;OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;DEPENDS;DEFINITIONS"
                        ${ARGN})
  set(target test_${folder}_${name})
  add_executable(${target} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${target} PRIVATE GTest::gtest)
  elseif(T_NO_APPLICATION)
    target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  else()
    # The main is compiled once for all the test programs.
    if(NOT TARGET tarvel_test_main)
      add_library(tarvel_test_main OBJECT ${CMAKE_SOURCE_DIR}/tests/TestMain.cpp)
      target_link_libraries(tarvel_test_main PUBLIC GTest::gtest Qt6::Widgets)
    endif()
    target_link_libraries(${target} PRIVATE tarvel_test_main)
  endif()
  target_link_libraries(${target} PRIVATE ${T_LIBS} Qt6::Test)
  target_compile_definitions(${target} PRIVATE
    TARVEL_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    TARVEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TARVEL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    ${T_DEFINITIONS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_DEPENDS)
    add_dependencies(${target} ${T_DEPENDS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${folder}.${name} COMMAND ${target})
  set_tests_properties(${folder}.${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT ${T_TIMEOUT})
endfunction()
