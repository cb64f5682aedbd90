# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# The layering check: no pure-logic source includes a widget header, Qt's or the program's.
# Run as a test:  cmake -DCORE_SOURCES=<file listing the core libraries' sources>
#                       -DWIDGET_HEADERS=<Qt's QtWidgets include folder> -P
# It fails naming each offending include.
cmake_policy(SET CMP0057 NEW)
file(GLOB qt_widget_headers RELATIVE ${WIDGET_HEADERS} ${WIDGET_HEADERS}/Q*)
file(READ ${CORE_SOURCES} sources)
set(problems "")
foreach(source ${sources})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    get_filename_component(name ${header} NAME)
    if(header MATCHES "^QtWidgets/" OR name IN_LIST qt_widget_headers
       OR name MATCHES "^(Unit[0-9]+|RotImg|ImageControl|ColorButton|SpinEdit|ErrorBoundary|PlatformDialogs|Named)\\.h$"
       OR name MATCHES "(Widget|Dialog|Window)\\.h$")
      string(APPEND problems "\n  ${source}: #include ${header}")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Pure-logic sources include widget headers:${problems}")
endif()
