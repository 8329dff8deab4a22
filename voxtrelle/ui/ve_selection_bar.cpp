// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/ve_selection_bar.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/playback/wave_player.h"
#include "voxtrelle/ui/ui_pictures.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "voxtrelle/ui/waveform_geometry.h"

namespace voxtrelle {

const wxColour VeSelectionBar::kBar(87, 191, 101);

wxColour BlendColours(const wxColour& base, const wxColour& overlay, int weight) {
  const auto mix = [weight](int b, int o) { return (o * weight + b * (255 - weight)) / 255; };
  return wxColour(mix(base.Red(), overlay.Red()), mix(base.Green(), overlay.Green()),
                  mix(base.Blue(), overlay.Blue()));
}

VeSelectionBar::VeSelectionBar(wxWindow* parent, const VeWaveform* waveform,
                               const EditContext& context)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      waveform_(waveform),
      context_(context),
      start_mark_(LoadPictureBitmap(UiPictures(), "mark_start")),
      end_mark_(LoadPictureBitmap(UiPictures(), "mark_end")) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &VeSelectionBar::OnPaint, this);
}

void VeSelectionBar::RefreshBar() {
  Refresh(false);
  Update();
}

void VeSelectionBar::Render(wxDC& dc) {
  const wxSize size = GetClientSize();
  if (size.x <= 0 || size.y <= 0) return;
  const int inset = geometry::kWaveformInset;
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(face));
  dc.DrawRectangle(0, 0, size.x, size.y);
  const wxRect inner(inset, 0, size.x - 2 * inset, size.y);
  if (inner.width > 0) {
    dc.SetBrush(wxBrush(BlendColours(face, *wxWHITE, 128)));
    dc.DrawRectangle(inner);
    dc.SetBrush(wxBrush(BlendColours(face, *wxBLACK, 32)));
    dc.DrawRectangle(inner.x, size.y - 1, inner.width, 1);
  }
  WavePlayer* player = context_.player;
  if (waveform_ == nullptr || player == nullptr) return;
  if (context_.document_busy && context_.document_busy()) return;
  if (player->Length() <= 0) return;
  const int s = waveform_->StartX();
  const int e = waveform_->EndX();
  const int limit = size.x - 2 * inset;
  if (s >= 0 && s <= limit && start_mark_.IsOk()) {
    dc.DrawBitmap(start_mark_, geometry::MarkX(s, size.x) - inset, 0, true);
  }
  if (e >= 0 && e <= limit && end_mark_.IsOk()) {
    dc.DrawBitmap(end_mark_, geometry::MarkX(e, size.x), 0, true);
  }
  if (player->HasValidSelection()) {
    const int left = geometry::MarkX(s, size.x);
    const int right = geometry::MarkX(e, size.x);
    dc.SetBrush(wxBrush(kBar));
    dc.DrawRectangle(left, 1, right - left, size.y - 3);
  }
}

void VeSelectionBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  Render(dc);
}

}  // namespace voxtrelle
