# Fails when a file under src/ breaks the layer rules of cmake/layers.cmake.
# Run as: cmake -DSRC=<src dir> [-DQT_INCLUDE=<Qt's include folder>]
#               [-DSTAMP=<file to touch>] -P checklayers.cmake
#
# A file may include only headers of the layers its own layer uses
# (QN4_USES_<layer>): platform and charset do not include each other, cores
# use only charset, app uses platform, charset and cores, features use app
# and below, root everything.
#
# Every quoted include is a path from src/ with its folder ("app/foo.h",
# never "foo.h"), so that a header is found the same way from every file and
# its layer can be read from it.  The one exception: a file at src/ top level
# (the root) names another top-level file by its bare name, as it has no
# folder; a bare name anywhere else fails, as does a path that is not under
# src/.  An <...> include of a file under src/ counts as a quoted one.
#
# With QT_INCLUDE, charset may include only Qt Core headers and the cores only
# Qt Core and Gui ones (QN4_QT_<layer>): a core that needs Qt Widgets is a
# window or unit and belongs in QN4_FEATURE_FILES.
#
# Every entry of QN4_FEATURE_FILES must name a file in the shared folders.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

set(bad 0)
macro(fail text)
  message(SEND_ERROR "${text}")
  set(bad 1)
endmacro()

if(QT_INCLUDE)
  file(GLOB qt_modules RELATIVE ${QT_INCLUDE} LIST_DIRECTORIES true ${QT_INCLUDE}/Qt*)
endif()

# The Qt module (QtCore, QtWidgets, ...) a <...> header comes from, or "".
function(qt_module_of inc out)
  set(m "")
  if(inc MATCHES "^(Qt[A-Za-z]+)/")
    set(m ${CMAKE_MATCH_1})
  elseif(inc MATCHES "^[Qq]" AND NOT inc MATCHES "/")
    foreach(d ${qt_modules})
      if(EXISTS ${QT_INCLUDE}/${d}/${inc})
        set(m ${d})
        break()
      endif()
    endforeach()
  endif()
  set(${out} "${m}" PARENT_SCOPE)
endfunction()

foreach(entry ${QN4_FEATURE_FILES})
  file(GLOB found ${SRC}/${entry}.*)
  if(NOT entry MATCHES "${QN4_SHARED_FOLDERS_REGEX}" OR NOT found)
    fail("cmake/layers.cmake lists ${entry} as a feature, but there is no such file in tagtree/, optioner/, builders/ or custom/")
  endif()
endforeach()

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp ${SRC}/*.inc)
list(SORT files)
foreach(f ${files})
  qn4_layer_of("${f}" mine)
  if(mine STREQUAL "")
    fail("src/${f} is in a folder of no layer (see cmake/layers.cmake)")
    continue()
  endif()
  file(STRINGS ${SRC}/${f} lines ENCODING UTF-8 REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" inc "${line}")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<")
      if(NOT inc MATCHES "/" OR NOT EXISTS ${SRC}/${inc})
        if(DEFINED QN4_QT_${mine})
          qt_module_of("${inc}" module)
          if(module AND NOT module IN_LIST QN4_QT_${mine})
            list(JOIN QN4_QT_${mine} ", " allowed)
            fail("src/${f} (${mine}) includes <${inc}> of ${module}: ${mine} may use only ${allowed}")
          endif()
        endif()
        continue()
      endif()
    endif()
    if(NOT inc MATCHES "/")
      if(f MATCHES "/" OR NOT EXISTS ${SRC}/${inc})
        fail("src/${f} includes \"${inc}\" without its folder: name it by its path from src/")
        continue()
      endif()
    elseif(NOT EXISTS ${SRC}/${inc})
      fail("src/${f} includes \"${inc}\", which is not a path from src/")
      continue()
    endif()
    qn4_layer_of("${inc}" theirs)
    if(NOT theirs IN_LIST QN4_USES_${mine})
      list(JOIN QN4_USES_${mine} ", " allowed)
      fail("src/${f} (${mine}) includes ${inc} (${theirs}): ${mine} may use only ${allowed}")
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "layer check failed")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
