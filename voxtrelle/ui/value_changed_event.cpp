// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/value_changed_event.h"

namespace voxtrelle {

wxDEFINE_EVENT(EVT_VALUE_CHANGED, wxCommandEvent);

}  // namespace voxtrelle
