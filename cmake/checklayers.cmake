# Fails when a file under src/ includes a header from a layer above its own.
# Run as: cmake -DSRC=<src dir> -DSTAMP=<file to touch> -P checklayers.cmake
#
# Layers, lowest first:
#   0 platform   src/platform/
#   1 charset    src/charset/
#   2 cores      src/tagtree/ src/optioner/ src/builders/ src/custom/,
#                except their windows and units (tfm*, *panel*, *unit*)
#   3 app        src/app/
#   4 features   the windows and units of the folders of layer 2
#   5 root       src/main.cpp, src/composition.*
function(layer_of path out)
  get_filename_component(name "${path}" NAME)
  if(path MATCHES "^platform/")
    set(l 0)
  elseif(path MATCHES "^charset/")
    set(l 1)
  elseif(path MATCHES "^app/")
    set(l 3)
  elseif(path MATCHES "^(tagtree|optioner|builders|custom)/")
    if(name MATCHES "^tfm" OR name MATCHES "panel\\." OR name MATCHES "unit\\.")
      set(l 4)
    else()
      set(l 2)
    endif()
  else()
    set(l 5)
  endif()
  set(${out} ${l} PARENT_SCOPE)
endfunction()

set(names platform charset cores app features root)
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp ${SRC}/*.inc)
set(bad 0)
foreach(f ${files})
  layer_of("${f}" mine)
  file(STRINGS ${SRC}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" inc "${line}")
    if(NOT inc MATCHES "/")
      continue()
    endif()
    layer_of("${inc}" theirs)
    if(theirs GREATER mine)
      list(GET names ${mine} a)
      list(GET names ${theirs} b)
      message(SEND_ERROR "src/${f} (${a}) includes ${inc} (${b}): a layer may use only itself and the layers below")
      set(bad 1)
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "layer check failed")
endif()
file(TOUCH ${STAMP})
