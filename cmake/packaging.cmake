# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: one Debian package per program, built by CPack's DEB generator from the
# install rules (components voxtrelle and zentora). Shared-library dependencies are computed
# by dpkg-shlibdeps; the programs and data the cutter starts or loads at run time are added.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME voxtrelle-zentora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Voxtrelle and Zentora developers")
set(CPACK_PACKAGE_CONTACT "Voxtrelle and Zentora developers <maintainers@voxtrelle.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL voxtrelle zentora)

set(CPACK_DEB_COMPONENT_INSTALL ON)
# Descriptions: the first line is the synopsis; CPack indents the rest and turns an empty
# line into the paragraph separator.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://voxtrelle.example/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_VOXTRELLE_PACKAGE_NAME voxtrelle)
set(CPACK_COMPONENT_VOXTRELLE_DESCRIPTION "audio editor for WAV and WMA files
Voxtrelle is a single-document audio editor: it shows the waveform of the
whole file, plays the file or a selection, and deletes, fades, changes the
volume of, maximizes, or converts to mono or stereo the selection or the
whole file. The result is saved as WAV or WMA with the tags kept.

The package also holds voxtrelle-cli, which applies the same edits from
the command line.")

set(CPACK_DEBIAN_ZENTORA_PACKAGE_NAME zentora)
set(CPACK_COMPONENT_ZENTORA_DESCRIPTION "MP3 A-B repeater and cutter with a Chinese interface
Zentora plays an MP3 file and repeats the stretch between two points, A
and B, set with one key while the file plays. The points can be nudged,
and the stretch is cut out into a new MP3 file by mp3splt; files that do
not play are repaired by mp3val.")
# Started or loaded at run time, so dpkg-shlibdeps cannot see them: the splitter and the repair
# tool, the GStreamer elements of the player (mpegaudioparse, mpg123audiodec, id3demux,
# wavparse), and a font with Chinese characters.
set(CPACK_DEBIAN_ZENTORA_PACKAGE_DEPENDS
    "mp3splt, mp3val, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-wqy-microhei")

include(CPack)
