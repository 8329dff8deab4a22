// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/ve_home.h"

#include <wx/dcbuffer.h>

#include "voxtrelle/imaging/compose.h"
#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/ui/home_panel.h"
#include "voxtrelle/ui/ui_pictures.h"

namespace voxtrelle {

VeHome::VeHome(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize,
               wxBORDER_NONE | wxCLIP_CHILDREN | wxFULL_REPAINT_ON_RESIZE | wxTAB_TRAVERSAL),
      frame_(LoadPicture(UiPictures(), picture::kHomeFrame)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(*wxWHITE);
  panel_ = new HomePanel(this);
  Bind(wxEVT_PAINT, &VeHome::OnPaint, this);
  Bind(wxEVT_SIZE, &VeHome::OnSize, this);
}

wxImage VeHome::Render() const {
  const wxSize size = GetClientSize();
  wxImage page = SolidImage(std::max(size.x, 1), std::max(size.y, 1), *wxWHITE);
  DrawEdgeFrame(page, frame_, kFrameCorner);
  return page;
}

void VeHome::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.DrawBitmap(wxBitmap(Render()), 0, 0);
}

// The panel keeps its size and stays centred; a page smaller than the panel shows its top left.
void VeHome::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  const wxSize panel = panel_->GetSize();
  panel_->Move(std::max(0, (size.x - panel.x) / 2), std::max(0, (size.y - panel.y) / 2));
  Refresh(false);
  event.Skip();
}

}  // namespace voxtrelle
