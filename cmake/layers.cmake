# The layers of src/ and the one rule that puts a file in a layer.  Used by
# the main build (one library per layer), the fuzz build (charset and cores
# again, instrumented) and cmake/checklayers.cmake.
#
#   platform   src/platform/
#   charset    src/charset/
#   cores      src/tagtree/ src/optioner/ src/builders/ src/custom/,
#              except the files named in QN4_FEATURE_FILES
#   app        src/app/
#   features   the files named in QN4_FEATURE_FILES, and src/preview/
#   root       the files at src/ top level (main.cpp, composition.*)
#
# The folders tagtree, optioner, builders and custom hold both the logic
# (cores: no widgets) and the windows and units that show it (features).
# Which file is which is said here by name, not guessed from the file name;
# a new window or unit is added to the list, and the check refuses a core
# that includes Qt Widgets, app/ or platform/ headers, so a file left out of
# the list by mistake is found at the next build.

set(QN4_LAYERS platform charset cores app features root)

# What each layer may include, itself first.  platform and charset sit side
# by side: neither includes the other.
set(QN4_USES_platform platform)
set(QN4_USES_charset charset)
set(QN4_USES_cores cores charset)
set(QN4_USES_app app platform charset cores)
set(QN4_USES_features features app platform charset cores)
set(QN4_USES_root root features app platform charset cores)

# The Qt modules of the layers that may not have all of Qt (the others may).
set(QN4_QT_charset QtCore)
set(QN4_QT_cores QtCore QtGui)

# Windows and units of the shared folders: paths from src/ without the
# extension (a header and its source share one entry).  The fixture test of
# the check sets its own list.
if(NOT DEFINED QN4_FEATURE_FILES)
  set(QN4_FEATURE_FILES
    builders/builderunit
    builders/frame/tfmframe
    builders/image/imageunit
    builders/image/tfmcg
    builders/image/tfmcgdialogs
    builders/image/tfmoption
    builders/image/tfmsize
    builders/list/listunit
    builders/list/tfmlist
    builders/newpage/pageunit
    builders/newpage/tfmnew
    builders/sound/soundunit
    builders/sound/tfmmoption
    builders/sound/tfmmusic
    builders/table/tableunit
    builders/table/tfmcell
    builders/table/tfmhead
    builders/table/tfmtablebody
    builders/table/tfmtableresult
    custom/colorunit
    custom/fontunit
    custom/keycontrolunit
    custom/tagmenuunit
    custom/tfmcolor
    custom/tfmfont
    custom/tfmkey
    custom/tfmtag
    optioner/optionerunit
    optioner/tfmto
    tagtree/tagtreepanel
    tagtree/tagtreeunit
    tagtree/tfmedit)
endif()

set(QN4_SHARED_FOLDERS_REGEX "^(tagtree|optioner|builders|custom)/")

# qn4_layer_of(<path from src/> <out var>): the layer's name.
function(qn4_layer_of path out)
  if(path MATCHES "^platform/")
    set(l platform)
  elseif(path MATCHES "^charset/")
    set(l charset)
  elseif(path MATCHES "^app/")
    set(l app)
  elseif(path MATCHES "^preview/")
    set(l features)
  elseif(path MATCHES "${QN4_SHARED_FOLDERS_REGEX}")
    string(REGEX REPLACE "\\.[^./]*$" "" stem "${path}")
    if(stem IN_LIST QN4_FEATURE_FILES)
      set(l features)
    else()
      set(l cores)
    endif()
  elseif(NOT path MATCHES "/")
    set(l root)
  else()
    set(l "")   # a folder that is in no layer
  endif()
  set(${out} "${l}" PARENT_SCOPE)
endfunction()

# qn4_layer_sources(<layer> <src dir> <out var> <absolute paths...>): those
# of the paths that belong to the layer.
function(qn4_layer_sources layer src out)
  set(result "")
  foreach(f ${ARGN})
    file(RELATIVE_PATH rel "${src}" "${f}")
    qn4_layer_of("${rel}" l)
    if(l STREQUAL layer)
      list(APPEND result "${f}")
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()
