// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/panel.h>

#include "voxtrelle/ui/edit_context.h"

namespace voxtrelle {

class VeSelectionBar;
class VeWaveform;

// The editing view shown while a file is open: the waveform across the top, the selection bar
// under it and the edit panel centred at the bottom.
class VeView : public wxPanel {
 public:
  VeView(wxWindow* parent, const EditContext& context);

  // Repaints the waveform and the selection bar at once; with rebuild the peaks and the cached
  // picture are dropped first, so they are made again from the changed clip.
  void RefreshView(bool rebuild);
  void DropPeaks();
  // After a load: computes the peaks and the picture now, under the wait cursor.
  void PrepareNow();

  VeWaveform* waveform() const { return waveform_; }
  VeSelectionBar* selection_bar() const { return selection_bar_; }
  wxWindow* edit_panel() const { return edit_panel_; }

 private:
  void OnSize(wxSizeEvent& event);
  void LayOut();

  VeWaveform* waveform_ = nullptr;
  VeSelectionBar* selection_bar_ = nullptr;
  wxWindow* edit_panel_ = nullptr;
};

}  // namespace voxtrelle
