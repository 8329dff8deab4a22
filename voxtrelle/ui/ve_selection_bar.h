// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include "voxtrelle/ui/edit_context.h"

namespace voxtrelle {

class VeWaveform;

// The 9-pixel strip under the waveform: the selection's start and end marks and a green bar
// between them, lined up with the waveform's columns. Takes no input.
class VeSelectionBar : public wxWindow {
 public:
  static const wxColour kBar;

  VeSelectionBar(wxWindow* parent, const VeWaveform* waveform, const EditContext& context);

  // Repaints at once.
  void RefreshBar();
  // Draws what a paint shows into dc.
  void Render(wxDC& dc);

 private:
  void OnPaint(wxPaintEvent& event);

  const VeWaveform* waveform_;
  EditContext context_;
  wxBitmap start_mark_;  // 7 x 7, its right edge at the start
  wxBitmap end_mark_;    // 7 x 7, its left edge at the end
};

// blend(base, overlay, weight) per colour channel: (overlay x w + base x (255 - w)) / 255.
wxColour BlendColours(const wxColour& base, const wxColour& overlay, int weight);

}  // namespace voxtrelle
