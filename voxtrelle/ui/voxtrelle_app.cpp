// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/voxtrelle_app.h"

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/msgdlg.h>

#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/program_options.h"
#include "voxtrelle/ui/quit_signals.h"

namespace voxtrelle {

namespace {

// Exit code when the media libraries lack a needed decoder, encoder or muxer.
constexpr int kExitNotInstalled = -2;

}  // namespace

VoxtrelleApp::VoxtrelleApp() = default;
VoxtrelleApp::~VoxtrelleApp() = default;

bool VoxtrelleApp::OnInit() {
  // No wxApp::OnInit: main() has answered --help and --version; only a FILE is left.
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
  // Unsaved audio of an editor that died is offered first; a FILE named on the command line
  // then opens unless that audio was taken.
  frame->CallAfter([frame] { frame->RecoverUnsavedAudio(); });
  OpenFromCommandLine(frame);
  return true;
}

void VoxtrelleApp::OpenFromCommandLine(MainFrame* frame) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
  wxFileName file(wxString::FromUTF8(ParseProgramOptions(args).file));
  if (!file.IsOk()) return;
  file.MakeAbsolute();
  // Once the window is up, as File > Open would after its dialog.
  frame->CallAfter([frame, path = file.GetFullPath()] {
    if (!frame->document().modified()) frame->LoadFile(path);
  });
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
