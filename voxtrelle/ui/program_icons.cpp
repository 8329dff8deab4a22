// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/program_icons.h"

#include "voxtrelle/imaging/embedded_picture.h"
#include "voxtrelle/imaging/picture.h"

namespace voxtrelle {

// Compiled from the rendered icons (see voxtrelle/ui/CMakeLists.txt).
PictureTable ProgramIconPictures();

wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (const EmbeddedPicture& picture : ProgramIconPictures()) {
    wxIcon icon;
    icon.CopyFromBitmap(LoadPictureBitmap(ProgramIconPictures(), picture.name));
    if (icon.IsOk()) icons.AddIcon(icon);
  }
  return icons;
}

}  // namespace voxtrelle
