# The layering check: no pure-logic source includes a widget header, Qt's or the program's.
# Run as a test:  cmake -DSOURCE_DIR=... -DWIDGET_HEADERS=<Qt's QtWidgets include folder> -P
# It reads every source that tarvel_folder() puts in a core library and fails naming each
# offending include.
cmake_policy(SET CMP0057 NEW)
file(GLOB qt_widget_headers RELATIVE ${WIDGET_HEADERS} ${WIDGET_HEADERS}/Q*)
set(problems "")
foreach(folder codecs canvas text seal shapes effects about)
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source ${sources})
    get_filename_component(file ${source} NAME)
    # Forms and controls are the widget side of the folder.
    if(file MATCHES "^(Unit[0-9]|RotImg|.*Widget\\.|.*Dialog\\.|.*Window\\.)")
      continue()
    endif()
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
      get_filename_component(name ${header} NAME)
      if(header MATCHES "^QtWidgets/" OR name IN_LIST qt_widget_headers
         OR name MATCHES "^(Unit[0-9]+|RotImg|ImageControl|ColorButton|SpinEdit|ErrorBoundary|PlatformDialogs|Named)\\.h$"
         OR name MATCHES "(Widget|Dialog|Window)\\.h$")
        string(APPEND problems "\n  ${folder}/${file}: #include ${header}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Pure-logic sources include widget headers:${problems}")
endif()
