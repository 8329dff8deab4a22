// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/imaging/picture.h"

#include <wx/log.h>
#include <wx/mstream.h>

namespace voxtrelle {

namespace {

// wx keeps its image handlers in one list for the process; the program's pictures need PNG,
// JPEG and BMP readers (BMP is always there).
void EnsureHandlers() {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  if (wxImage::FindHandler(wxBITMAP_TYPE_JPEG) == nullptr) wxImage::AddHandler(new wxJPEGHandler);
}

}  // namespace

wxImage DecodePicture(std::span<const unsigned char> bytes) {
  EnsureHandlers();
  if (bytes.empty()) return {};
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  wxImage image;
  // A broken picture is reported by the caller's fallback (no image), not by a log window.
  wxLogNull quiet;
  if (!image.LoadFile(stream, wxBITMAP_TYPE_ANY)) return {};
  return image;
}

wxImage LoadPicture(PictureTable table, std::string_view name) {
  const EmbeddedPicture* picture = FindPicture(table, name);
  if (picture == nullptr) return {};
  return DecodePicture(picture->bytes);
}

wxBitmap LoadPictureBitmap(PictureTable table, std::string_view name) {
  wxImage image = LoadPicture(table, name);
  if (!image.IsOk()) return {};
  return wxBitmap(image);
}

}  // namespace voxtrelle
