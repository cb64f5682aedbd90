# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Every C++ source the repository tracks opens with its licence line, so a file added without
# one fails the suite even where reuse is not installed.
#   cmake -DSOURCE_DIR=<the sources> -P CheckSpdxLines.cmake
# It fails naming each file whose first line is another. Outside a git checkout it reads every
# *.cpp and *.h under the sources but the build folders.
# The line is put together from two pieces so that reuse does not take it for this file's tag.
string(CONCAT licence_line "// SPDX-License-" "Identifier: GPL-3.0-or-later")
find_package(Git QUIET)
set(listed 1)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} ls-files -- *.cpp *.h
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE listed
                  OUTPUT_VARIABLE sources OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(REPLACE "\n" ";" sources "${sources}")
endif()
if(NOT listed EQUAL 0)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "^build")
endif()
if(NOT sources)
  message(FATAL_ERROR "No C++ sources found under ${SOURCE_DIR}")
endif()
set(problems "")
foreach(source ${sources})
  file(STRINGS ${SOURCE_DIR}/${source} first LIMIT_COUNT 1)
  if(NOT first STREQUAL licence_line)
    string(APPEND problems "\n  ${source}")
  endif()
endforeach()
list(LENGTH sources count)
if(problems)
  message(FATAL_ERROR "These sources do not open with \"${licence_line}\":${problems}")
endif()
message(STATUS "${count} C++ sources open with their licence line")
