// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/pictures.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include "zentora/ui/resource_data.h"

namespace zentora {

wxBitmap LoadPicture(int id) {
  const auto bytes = ResourceBytes(id);
  if (bytes.empty()) return {};
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  wxImage image(stream, wxBITMAP_TYPE_PNG);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (int id : {kIconLarge, kIconSmall}) {
    wxIcon icon;
    icon.CopyFromBitmap(LoadPicture(id));
    if (icon.IsOk()) icons.AddIcon(icon);
  }
  return icons;
}

wxAnimation LoadAnimation(int id) {
  wxAnimation animation;
  const auto bytes = ResourceBytes(id);
  if (bytes.empty()) return animation;
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  animation.Load(stream, wxANIMATION_TYPE_GIF);
  return animation;
}

}  // namespace zentora
