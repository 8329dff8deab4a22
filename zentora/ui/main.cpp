// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/zentora_app.h"

wxIMPLEMENT_APP(zentora::ZentoraApp);
