# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles picture files into a target as byte arrays.
#
#   vx_embed_pictures(TARGET FUNCTION name FILES a.png b.png ...)
#
# generates a source file that defines `voxtrelle::PictureTable voxtrelle::name()`; each picture is
# looked up by its file name without the extension. The table is regenerated whenever a picture
# changes, so a redrawn picture needs no re-run of CMake.
set(VX_EMBED_PICTURES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_pictures_gen.cmake
    CACHE INTERNAL "generator of embedded picture tables")

function(vx_embed_pictures target)
  cmake_parse_arguments(E "" "FUNCTION" "FILES" ${ARGN})
  if(NOT E_FUNCTION)
    message(FATAL_ERROR "vx_embed_pictures: FUNCTION is required")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${E_FUNCTION}_pictures.cpp)
  set(files "")
  foreach(f IN LISTS E_FILES)
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND files ${abs})
  endforeach()
  # A list cannot travel through -D intact; the generator splits at '|'.
  string(REPLACE ";" "|" packed "${files}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${out} -DFUNCTION=${E_FUNCTION} -DFILES=${packed}
            -P ${VX_EMBED_PICTURES_SCRIPT}
    DEPENDS ${files} ${VX_EMBED_PICTURES_SCRIPT}
    COMMENT "Embedding pictures into ${E_FUNCTION}()"
    VERBATIM)
  # The table is plain data; a target's precompiled toolkit headers would only slow it down.
  set_source_files_properties(${out} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  target_sources(${target} PRIVATE ${out})
endfunction()
