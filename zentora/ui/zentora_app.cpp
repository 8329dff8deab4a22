// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/zentora_app.h"

#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "zentora/core/settings.h"
#include "zentora/core/text_table.h"
#include "zentora/core/update_client.h"
#include "zentora/ui/cut_dialogs.h"
#include "zentora/ui/main_frame.h"
#include "zentora/ui/program_options.h"
#include "zentora/ui/quit_signals.h"
#include "zentora/ui/small_dialogs.h"
#include "zentora/ui/web_addresses.h"

namespace zentora {

FrameHooks FrameHooks::Interactive() {
  FrameHooks hooks;
  hooks.messageBox = [](wxWindow* owner, const wxString& text, long style) {
    return wxMessageBox(text, wxString::FromUTF8(LoadText(kTextCaption)), style, owner);
  };
  hooks.updateNotice = [](wxWindow* owner, int textId) {
    ShowUpdateNotice(owner, textId, [] { wxLaunchDefaultBrowser(web::kDownloadPage); });
  };
  hooks.chooseCutOutput = AskCutOutput;
  hooks.openUrl = [](const wxString& url) { wxLaunchDefaultBrowser(url); };
  return hooks;
}

MainFrame* StartUp(const FrameHooks& hooks, const std::string& serverBase) {
  std::string error;
  const Settings settings = LoadSettings(SettingsFilePath(), &error);
  if (!error.empty()) hooks.messageBox(nullptr, wxString::FromUTF8(error), wxOK | wxICON_ERROR);
  auto* frame = new MainFrame(settings, hooks, serverBase);
  if (!frame->PassesRequiredFilesCheck()) {
    frame->SaveSettings();
    frame->Destroy();
    return nullptr;
  }
  frame->StartBackgroundRequests(serverBase);
  return frame;
}

ZentoraApp::ZentoraApp() = default;
ZentoraApp::~ZentoraApp() = default;

bool ZentoraApp::OnInit() {
  std::setlocale(LC_ALL, "");
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  instanceLock_ = std::make_unique<InstanceLock>();
  MainFrame* frame = StartUp(FrameHooks::Interactive(), UpdateServerBase());
  if (frame == nullptr) return false;
  // A logout or a kill closes the cutter like its Exit command, settings saved.
  quitSignals_ = std::make_unique<QuitSignals>(frame);
  OpenFromCommandLine(frame);
  return true;
}

int ZentoraApp::OnExit() {
  quitSignals_.reset();
  return wxApp::OnExit();
}

void ZentoraApp::OpenFromCommandLine(MainFrame* frame) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
  wxFileName file(wxString::FromUTF8(ParseProgramOptions(args).file));
  if (!file.IsOk()) return;
  file.MakeAbsolute();
  // Once the window is up, as the open command would after its dialog.
  frame->CallAfter([frame, path = file.GetFullPath()] { frame->OpenPath(path); });
}

}  // namespace zentora
