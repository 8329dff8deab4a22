// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/voxtrelle_app.h"

#include <wx/image.h>
#include <wx/msgdlg.h>

#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/quit_signals.h"

namespace voxtrelle {

namespace {

// Exit code when the media libraries lack a needed decoder, encoder or muxer.
constexpr int kExitNotInstalled = -2;

}  // namespace

VoxtrelleApp::VoxtrelleApp() = default;
VoxtrelleApp::~VoxtrelleApp() = default;

bool VoxtrelleApp::OnInit() {
  // No wxApp::OnInit: the command line is ignored.
  wxInitAllImageHandlers();
  SetAppName("voxtrelle");
  SetAppDisplayName(kProductName);
  if (!media_support_available()) {
    wxMessageBox(
        "This product is not installed properly.    \nPlease reinstall it and try again.\n",
        kProductName, wxOK | wxICON_ERROR);
    not_installed_ = true;
    return true;
  }
  codec_ = std::make_unique<FfmpegMediaCodec>();
  install_media_codec(codec_.get());
  auto* frame = new MainFrame();
  frame->Show();
  quit_signals_ = std::make_unique<QuitSignals>(frame);
  frame->CallAfter([frame] { frame->RecoverUnsavedAudio(); });
  return true;
}

int VoxtrelleApp::OnRun() {
  if (not_installed_) return kExitNotInstalled;
  return wxApp::OnRun();
}

int VoxtrelleApp::OnExit() {
  quit_signals_.reset();
  install_media_codec(nullptr);
  return wxApp::OnExit();
}

}  // namespace voxtrelle
