# Runs cmake/checklayers.cmake on small source trees: a clean one must pass,
# and each rule broken once must fail, naming the file and what it included.
# Run as: cmake -DCHECK=<checklayers.cmake> -DWORK=<scratch folder>
#               -DQT_INCLUDE=<Qt's include folder> -P checklayers_test.cmake
cmake_minimum_required(VERSION 3.25)

set(features custom/tfmwin custom/colourunit)

# The clean tree: every layer using all it may.
function(write_tree dir)
  file(REMOVE_RECURSE ${dir})
  file(WRITE ${dir}/platform/prompt.h "#pragma once\n#include <QWidget>\n")
  file(WRITE ${dir}/platform/prompt.cpp "#include \"platform/prompt.h\"\n")
  file(WRITE ${dir}/charset/sjis.h "#pragma once\n#include <QString>\n")
  file(WRITE ${dir}/charset/table.inc "0, 1,\n")
  file(WRITE ${dir}/charset/sjis.cpp
       "#include \"charset/sjis.h\"\n#include \"charset/table.inc\"\n#include <vector>\n")
  file(WRITE ${dir}/custom/colours.h
       "#pragma once\n#include \"charset/sjis.h\"\n#include <QColor>\n#include <QtCore/QList>\n")
  file(WRITE ${dir}/custom/colours.cpp "#include \"custom/colours.h\"\n#include <algorithm>\n")
  file(WRITE ${dir}/app/host.h
       "#pragma once\n#include \"platform/prompt.h\"\n#include \"charset/sjis.h\"\n"
       "#include \"custom/colours.h\"\n#include <QMainWindow>\n")
  file(WRITE ${dir}/custom/tfmwin.h "#pragma once\n#include \"custom/colours.h\"\n#include <QDialog>\n")
  file(WRITE ${dir}/custom/tfmwin.cpp
       "#include \"custom/tfmwin.h\"\n#include \"app/host.h\"\n#include \"platform/prompt.h\"\n")
  file(WRITE ${dir}/custom/colourunit.h "#pragma once\n#include \"app/host.h\"\n")
  file(WRITE ${dir}/composition.h "#pragma once\n#include \"custom/colourunit.h\"\n")
  file(WRITE ${dir}/composition.cpp "#include \"composition.h\"\n#include \"custom/tfmwin.h\"\n")
  file(WRITE ${dir}/main.cpp "#include \"composition.h\"\n")
endfunction()

function(run_check dir result output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${dir} -DQT_INCLUDE=${QT_INCLUDE}
                          "-DQN4_FEATURE_FILES=${features}" -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} ${rc} PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

set(failures 0)

write_tree(${WORK}/clean)
run_check(${WORK}/clean rc out)
if(NOT rc EQUAL 0)
  message(SEND_ERROR "the clean tree failed the check:\n${out}")
  math(EXPR failures "${failures} + 1")
endif()

# broken(<name> <file> <line to add> <text the failure must show>)
function(broken name file line expected)
  set(dir ${WORK}/${name})
  write_tree(${dir})
  file(APPEND ${dir}/${file} "${line}\n")
  run_check(${dir} rc out)
  string(REPLACE "\n" " " flat "${out}")
  string(REGEX REPLACE "[ ]+" " " flat "${flat}")
  if(rc EQUAL 0)
    message(SEND_ERROR "${name}: the check passed")
  elseif(NOT flat MATCHES "${expected}")
    message(SEND_ERROR "${name}: the check failed without saying \"${expected}\":\n${out}")
  else()
    return()
  endif()
  math(EXPR n "${failures} + 1")
  set(failures ${n} PARENT_SCOPE)
endfunction()

broken(core_uses_platform custom/colours.h "#include \"platform/prompt.h\""
       "src/custom/colours.h \\(cores\\) includes platform/prompt.h \\(platform\\)")
broken(charset_uses_platform charset/sjis.cpp "#include \"platform/prompt.h\""
       "src/charset/sjis.cpp \\(charset\\) includes platform/prompt.h")
broken(platform_uses_charset platform/prompt.cpp "#include \"charset/sjis.h\""
       "src/platform/prompt.cpp \\(platform\\) includes charset/sjis.h")
broken(no_folder app/host.h "#include \"host.h\""
       "src/app/host.h includes \"host.h\" without its folder")
broken(no_folder_in_a_feature custom/tfmwin.cpp "#include \"tfmwin.h\""
       "src/custom/tfmwin.cpp includes \"tfmwin.h\" without its folder")
broken(root_name_from_a_folder app/host.h "#include \"composition.h\""
       "src/app/host.h includes \"composition.h\" without its folder")
broken(not_under_src app/host.h "#include \"../app/host.h\""
       "src/app/host.h includes \"../app/host.h\", which is not a path from src/")
broken(core_uses_widgets custom/colours.cpp "#include <QPushButton>"
       "src/custom/colours.cpp \\(cores\\) includes <QPushButton> of QtWidgets")
broken(core_uses_widgets_by_module custom/colours.h "#include <QtWidgets/QWidget>"
       "includes <QtWidgets/QWidget> of QtWidgets")
broken(charset_uses_gui charset/sjis.h "#include <QColor>"
       "src/charset/sjis.h \\(charset\\) includes <QColor> of QtGui")
broken(app_uses_feature app/host.h "#include \"custom/tfmwin.h\""
       "src/app/host.h \\(app\\) includes custom/tfmwin.h \\(features\\)")
broken(app_uses_feature_by_angle app/host.h "#include <custom/colourunit.h>"
       "src/app/host.h \\(app\\) includes custom/colourunit.h \\(features\\)")
broken(feature_uses_root custom/tfmwin.cpp "#include \"composition.h\""
       "without its folder")

# A file named like a unit is not a feature unless the list says so.
set(dir ${WORK}/named_like_a_unit)
write_tree(${dir})
file(WRITE ${dir}/custom/sneakyunit.h "#pragma once\n#include \"app/host.h\"\n")
run_check(${dir} rc out)
if(rc EQUAL 0 OR NOT out MATCHES "src/custom/sneakyunit.h \\(cores\\) includes app/host.h")
  message(SEND_ERROR "named_like_a_unit: ${rc}\n${out}")
  math(EXPR failures "${failures} + 1")
endif()

# A feature the list names that is not there.
set(dir ${WORK}/stale_list)
write_tree(${dir})
file(REMOVE ${dir}/custom/colourunit.h)
file(WRITE ${dir}/composition.h "#pragma once\n")
run_check(${dir} rc out)
if(rc EQUAL 0 OR NOT out MATCHES "lists custom/colourunit as a feature")
  message(SEND_ERROR "stale_list: ${rc}\n${out}")
  math(EXPR failures "${failures} + 1")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) of the layer check went wrong")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "layer check: clean tree passes, every broken rule fails")
