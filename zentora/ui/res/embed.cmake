# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a C++ source holding the picture files as byte arrays, keyed by resource number.
#   cmake -DOUT=file.cpp -DRES_DIR=dir [-DEXTRA=id=path|id=path...] -P embed.cmake
# A file of RES_DIR takes its number from the digits that end its base name (strip143.png ->
# 143); EXTRA adds files made elsewhere under the numbers given.
file(GLOB pictures ${RES_DIR}/*.png ${RES_DIR}/*.gif)
list(SORT pictures)
set(numbered "")
foreach(path IN LISTS pictures)
  get_filename_component(stem ${path} NAME_WE)
  string(REGEX MATCH "[0-9]+$" id ${stem})
  list(APPEND numbered "${id}=${path}")
endforeach()
if(EXTRA)
  string(REPLACE "|" ";" extra "${EXTRA}")
  list(APPEND numbered ${extra})
endif()
set(arrays "")
set(entries "")
foreach(pair IN LISTS numbered)
  string(REGEX REPLACE "=.*" "" id "${pair}")
  string(REGEX REPLACE "^[0-9]+=" "" path "${pair}")
  set(stem "picture${id}")
  file(READ ${path} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char k_${stem}[] = {${bytes}};\n")
  string(APPEND entries "    {${id}, k_${stem}, sizeof k_${stem}},\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from zentora/ui/res by embed.cmake; do not edit.
#include \"zentora/ui/resource_data.h\"

namespace zentora {
namespace {
${arrays}
const ResourceBlob k_blobs[] = {
${entries}};
}  // namespace

std::span<const ResourceBlob> AllResourceBlobs() { return k_blobs; }
}  // namespace zentora
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
