// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/event.h>

namespace voxtrelle {

// A control's numeric value changed: GetInt() is the new value, GetEventObject() the control.
// VolumeSlider sends it to its parent at once; NumberEdit posts it to its notification window.
wxDECLARE_EVENT(EVT_VALUE_CHANGED, wxCommandEvent);

}  // namespace voxtrelle
