# SPDX-License-Identifier: GPL-3.0-or-later
# Script mode: removes every file listed in MANIFEST (one path a line, as written by
# `cmake --install`), then the programs' own folders when they are left empty. The manifest
# holds paths without DESTDIR; the same DESTDIR must be given as to the install.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing (install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
set(folders "")
foreach(listed IN LISTS installed)
  set(path "$ENV{DESTDIR}${listed}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
  get_filename_component(folder "${path}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()
# Only folders that belong to the programs alone; shared ones such as bin/ stay.
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
  if(folder MATCHES "/(zentora|voxtrelle)$" AND IS_DIRECTORY "${folder}")
    file(GLOB left "${folder}/*")
    if(NOT left)
      file(REMOVE_RECURSE "${folder}")
    endif()
  endif()
endforeach()
