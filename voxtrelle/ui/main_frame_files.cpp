// SPDX-License-Identifier: GPL-3.0-or-later
// MainFrame: opening, saving and closing documents.
//
// These are the plain first versions: Open uses the desktop's file dialog and RunFileJob runs
// the load or save on the interface thread without a progress dialog. The progress dialog, the
// full Save As rules and the centred message boxes replace them.
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_view.h"

namespace voxtrelle {

namespace {

constexpr const char* kOpenFilter =
    "WMA Files (*.wma)|*.wma|WAV Files (*.wav)|*.wav|All Supported Files (*.wma;*.wav)|*.wma;*.wav";
constexpr const char* kSaveFilter = "WMA Files (*.wma)|*.wma|WAV Files (*.wav)|*.wav";

class FrameDropTarget : public wxFileDropTarget {
 public:
  explicit FrameDropTarget(MainFrame* frame) : frame_(frame) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    if (files.empty()) return false;
    const wxString first = files[0];
    // Open after the drop has finished, so the drag source is not kept waiting.
    frame_->CallAfter([frame = frame_, first] {
      frame->Raise();
      if (frame->CloseDocument()) {
        frame->UpdateAll();
        frame->LoadFile(first);
      }
    });
    return true;
  }

 private:
  MainFrame* frame_;
};

}  // namespace

void MainFrame::InstallDropTarget() {
  SetDropTarget(new FrameDropTarget(this));
}

int MainFrame::RunFileJob(int mode) {
  ++document_busy_;
  int ok = 0;
  {
    wxBusyCursor wait;
    ok = mode == 1 ? document_.load(nullptr) : document_.save(nullptr);
  }
  --document_busy_;
  if (!ok && mode == 1) document_.reset();
  return ok ? 1 : 3;
}

void MainFrame::OnOpen() {
  if (!CloseDocument()) return;
  UpdateAll();
  wxFileDialog dialog(this, wxFileSelectorPromptStr, wxEmptyString, wxEmptyString, kOpenFilter,
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  dialog.SetFilterIndex(2);
  if (dialog.ShowModal() == wxID_OK) LoadFile(dialog.GetPath());
}

bool MainFrame::LoadFile(const wxString& path_in) {
  wxFileName name(path_in);
  name.MakeAbsolute();
  name.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
  const wxString path = name.GetFullPath();
  if (!wxFileExists(path)) return false;
  const wxString previous = time_display_->GetMessageText();
  time_display_->SetPaneText(0, "Loading...");
  wxStopWatch watch;
  bool cancelled = false;
  if (file_kind(path.utf8_string()) != FileKind::kOther) {
    document_.set_loaded_path(path.utf8_string());
    const int result = RunFileJob(1);
    cancelled = result == 2;
    if (!cancelled) {
      const bool loaded = !document_.is_empty();
      player_.Clear();
      Update();
      edit_view_->PrepareNow();
      ShowEditView(true);
      UpdateAll();
      if (loaded) {
        const long ms = watch.Time();
        if (ms < 50) {
          time_display_->SetPaneText(0, previous);
        } else {
          time_display_->ShowMessage(wxString::Format("Loaded in %.2f seconds", ms * 0.001), 4000);
        }
        return true;
      }
    }
  }
  time_display_->SetPaneText(0, previous);
  if (!cancelled) {
    wxMessageBox(wxString::Format("Error opening file:\n%s", path), kProductName,
                 wxOK | wxICON_ERROR, this);
  }
  return false;
}

bool MainFrame::Save() {
  if (document_.is_empty()) return false;
  if (!document_.saved_path().empty()) return SaveDocument();
  return SaveAs();
}

bool MainFrame::SaveAs() {
  if (document_.is_empty()) return false;
  wxFileName suggested(wxString::FromUTF8(document_.suggested_save_name()));
  wxFileDialog dialog(this, wxFileSelectorPromptStr, suggested.GetPath(), suggested.GetFullName(),
                      kSaveFilter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  dialog.SetFilterIndex(document_.kind() == FileKind::kWma ? 0 : 1);
  if (dialog.ShowModal() != wxID_OK) return false;
  const bool wma = dialog.GetFilterIndex() == 0;
  wxString path = dialog.GetPath();
  const FileKind wanted = wma ? FileKind::kWma : FileKind::kWav;
  const wxString extension = wma ? ".wma" : ".wav";
  if (file_kind(path.utf8_string()) != wanted && !path.Lower().EndsWith(extension)) {
    path += extension;
  }
  document_.set_saved_path(path.utf8_string());
  return SaveDocument();
}

bool MainFrame::SaveDocument() {
  if (document_.is_empty()) return false;
  // The save reads the clip on the job's thread: playback must not refill from it meanwhile.
  player_.Stop();
  const int result = RunFileJob(0);
  if (result == 2) return false;
  if (result == 1) {
    UpdateAll();
    return true;
  }
  wxMessageBox(
      wxString::Format("Error saving file \"%s\"!", wxString::FromUTF8(document_.saved_path())),
      kProductName, wxOK | wxICON_ERROR, this);
  return false;
}

bool MainFrame::PromptSave() {
  player_.Stop();
  if (!document_.modified()) return true;
  const int answer = wxMessageBox("Do you want to save changes?", kProductName,
                                  wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
  if (answer == wxYES) return Save();
  return answer == wxNO;
}

bool MainFrame::CloseDocument() {
  if (!PromptSave()) return false;
  edit_view_->DropPeaks();
  document_.reset();
  ShowEditView(false);
  return true;
}

}  // namespace voxtrelle
