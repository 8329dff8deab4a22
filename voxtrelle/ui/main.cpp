// SPDX-License-Identifier: GPL-3.0-or-later
#include <wx/wx.h>

#include "voxtrelle/ui/voxtrelle_app.h"

wxIMPLEMENT_APP(voxtrelle::VoxtrelleApp);
