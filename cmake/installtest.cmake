# Installs the build into a scratch prefix and checks what a desktop needs:
# the program and its help file, the launcher on PATH, a .desktop entry that
# desktop-file-validate accepts, the MIME definition and the icon.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${OUT}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
foreach(f bin/quillnest4 share/applications/quillnest4.desktop share/mime/packages/quillnest4.xml
          share/icons/hicolor/scalable/apps/quillnest4.svg)
  if(NOT EXISTS ${OUT}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(GLOB_RECURSE help ${OUT}/*/Qn4.hlp)
file(REAL_PATH ${OUT}/bin/quillnest4 program)
get_filename_component(programdir ${program} DIRECTORY)
if(NOT EXISTS ${programdir}/Qn4.hlp)
  message(FATAL_ERROR "Qn4.hlp is not beside the program (${programdir})")
endif()
execute_process(COMMAND desktop-file-validate ${OUT}/share/applications/quillnest4.desktop
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}${err}")
endif()
message(STATUS "installed and valid: ${OUT}")
