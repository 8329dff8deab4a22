# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where (GNUInstallDirs; prefix /usr/local unless told, DESTDIR
# honoured). Each file belongs to the package of its program: component voxtrelle or zentora.
foreach(program voxtrelle voxtrelle-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT voxtrelle)
  endif()
endforeach()
if(TARGET zentora)
  install(TARGETS zentora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zentora)
endif()

# The cutter's run-time data is installed by zentora/ui beside the rules that make it.

# `make uninstall`: removes what the last install wrote (install_manifest.txt), then the
# program folders it made that are now empty.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
  COMMENT "Removing the installed files")
