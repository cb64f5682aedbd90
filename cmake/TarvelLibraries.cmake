# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Each source folder builds up to two libraries from the files it lists:
#   <folder>_core     pure logic on Qt Core and Qt Gui. It never links Qt Widgets, and its
#                     sources are compiled with every <QtWidgets/...> header replaced by one
#                     that stops the compiler, so a widget include in pure logic cannot build;
#   <folder>_widgets  the forms and controls; links the core, the shared controls and Widgets.

# One stand-in for each of Qt's widget headers, made once at configure time.
set(TARVEL_NO_WIDGETS_INCLUDE ${CMAKE_BINARY_DIR}/no-widgets)
get_target_property(qt_widgets_includes Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
foreach(dir ${qt_widgets_includes})
  if(dir MATCHES "QtWidgets$")
    file(GLOB widget_headers RELATIVE ${dir} ${dir}/*)
    foreach(header ${widget_headers})
      set(stand_in ${TARVEL_NO_WIDGETS_INCLUDE}/QtWidgets/${header})
      if(NOT EXISTS ${stand_in} AND NOT IS_DIRECTORY ${dir}/${header})
        file(WRITE ${stand_in}
             "#error \"QtWidgets/${header}: a library of pure logic includes a widget header\"\n")
      endif()
    endforeach()
  endif()
endforeach()

# tarvel_core_library(<folder> SOURCES ... [LIBS ...])
function(tarvel_core_library folder)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${folder}_core STATIC ${F_SOURCES})
  target_include_directories(${folder}_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_include_directories(${folder}_core BEFORE PRIVATE ${TARVEL_NO_WIDGETS_INCLUDE})
  target_link_libraries(${folder}_core PUBLIC Qt6::Gui ${F_LIBS})
  set_property(GLOBAL APPEND PROPERTY TARVEL_CORE_LIBRARIES ${folder}_core)
endfunction()

# tarvel_widget_library(<folder> SOURCES ... [LIBS ...])
function(tarvel_widget_library folder)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${folder}_widgets STATIC ${F_SOURCES})
  target_include_directories(${folder}_widgets PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${folder}_widgets PUBLIC ${folder}_core widgets Qt6::Widgets ${F_LIBS})
endfunction()
