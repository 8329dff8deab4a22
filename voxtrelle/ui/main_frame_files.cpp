// SPDX-License-Identifier: GPL-3.0-or-later
// MainFrame: opening, saving and closing documents, and files dropped on the window. Loads and
// saves run on the job worker behind the modal progress dialog; every question and error goes
// through file_hooks_, so window tests can answer them.
#include <wx/dnd.h>
#include <wx/filename.h>
#include <wx/stopwatch.h>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/temp_folder.h"
#include "voxtrelle/ui/file_job_dialog.h"
#include "voxtrelle/ui/load_path.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/temp_folder_text.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_view.h"

namespace voxtrelle {

namespace {

constexpr long kLoadedMessageMs = 4000;
constexpr long kQuickLoadMs = 50;  // faster loads are not worth a message

class FrameDropTarget : public wxFileDropTarget {
 public:
  explicit FrameDropTarget(MainFrame* frame) : frame_(frame) {}
  // Only the first file is taken; the others are ignored.
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    if (files.empty()) return false;
    const wxString first = files[0];
    // Open after the drop has finished, so the drag source is not kept waiting.
    frame_->CallAfter([frame = frame_, first] {
      if (!frame->IsActive()) frame->Raise();
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
  wxWindow* owner = wxGetActiveWindow();
  if (owner == nullptr || wxGetTopLevelParent(owner) != this) owner = this;
  const int result =
      RunFileJobDialog(owner, document_, mode == 1 ? JobMode::kLoad : JobMode::kSave);
  --document_busy_;
  return result;
}

void MainFrame::OnOpen() {
  if (!CloseDocument()) return;
  UpdateAll();
  const wxString path = file_hooks_.chooseOpen(this);
  if (!path.empty()) LoadFile(path);
}

bool MainFrame::LoadFile(const wxString& given) {
  // A symbolic link stays the document's path: the title, Save As and Save use it.
  const std::string path = AbsoluteLoadPath(given.utf8_string());
  const wxString shown = wxString::FromUTF8(path);
  // A missing file or a desktop shortcut is ignored without a word.
  if (!wxFileName::Exists(shown)) return false;
  if (IsShortcutPath(path)) return false;

  const wxString previous = time_display_->GetMessageText();
  time_display_->SetPaneText(0, "Loading...");
  wxStopWatch watch;
  bool cancelled = false;
  if (file_kind(path) != FileKind::kOther) {
    document_.set_loaded_path(path);
    cancelled = RunFileJob(1) == kJobCancelled;
    if (!cancelled) {
      const bool loaded = !document_.is_empty();
      player_.Clear();
      Update();
      edit_view_->PrepareNow();
      ShowEditView(true);
      UpdateAll();
      // Paints during the job showed only the last picture; draw the new document now.
      edit_view_->RefreshView(false);
      if (loaded) {
        const long ms = watch.Time();
        if (ms < kQuickLoadMs) {
          time_display_->SetPaneText(0, previous);
        } else {
          time_display_->ShowMessage(wxString::Format("Loaded in %.2f seconds", ms * 0.001),
                                     kLoadedMessageMs);
        }
        return true;
      }
    }
  }
  time_display_->SetPaneText(0, previous);
  // Without a document there is nothing to edit: back to the start page.
  if (document_.is_empty()) ShowEditView(false);
  if (!cancelled) {
    wxString text = wxString::Format("Error opening file:\n%s", shown);
    // When the temporary folder is the cause, the message says so rather than blame the file.
    const FileKind kind = file_kind(path);
    if (kind != FileKind::kOther) {
      const wxString cause = TempFolderText(kind == FileKind::kWav ? wav_sample_bytes(path) : 0);
      if (!cause.empty()) text += "\n\n" + cause;
    }
    file_hooks_.message(this, text, wxOK | wxICON_ERROR);
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
  const int filter = document_.kind() == FileKind::kWma ? kSaveFilterWma : kSaveFilterWav;
  const auto choice =
      file_hooks_.chooseSave(this, wxString::FromUTF8(document_.suggested_save_name()), filter);
  if (!choice) return false;
  const wxString target = SaveAsTarget(choice->path, choice->filterIndex);
  document_.set_saved_path(AbsoluteLoadPath(target.utf8_string()));
  return SaveDocument();
}

bool MainFrame::SaveDocument() {
  if (document_.is_empty()) return false;
  // The save reads the clip on the job's thread: playback must not refill from it meanwhile.
  // The cursor stays where playback had got to.
  if (player_.is_open()) player_.StopKeepingPosition();
  const int result = RunFileJob(0);
  // Paints during the job showed the waveform without its selection and cursor.
  edit_view_->RefreshView(false);
  if (result == kJobCancelled) return false;
  if (result == kJobDone) {
    UpdateAll();
    return true;
  }
  wxString text =
      wxString::Format("Error saving file \"%s\"!", wxString::FromUTF8(document_.saved_path()));
  // A WMA save passes through a WAV file in the temporary folder.
  if (file_kind(document_.saved_path()) == FileKind::kWma) {
    if (const wxString cause = TempFolderText(0); !cause.empty()) text += "\n\n" + cause;
  }
  file_hooks_.message(this, text, wxOK | wxICON_ERROR);
  return false;
}

bool MainFrame::PromptSave() {
  if (player_.is_open() && !player_.stop_requested()) player_.Stop();
  if (!document_.modified()) return true;
  const int answer = file_hooks_.message(this, "Do you want to save changes?",
                                         wxYES_NO | wxCANCEL | wxICON_QUESTION);
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
