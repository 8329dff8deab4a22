// SPDX-License-Identifier: GPL-3.0-or-later
// MainFrame: routing of the menu, toolbar and edit-panel commands, and the edits.
#include <wx/msgdlg.h>
#include <wx/numdlg.h>
#include <wx/utils.h>

#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/temp_folder_text.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "voxtrelle/ui/web_links.h"

#if __has_include("voxtrelle/ui/volume_dialog.h") &&               \
                  __has_include("voxtrelle/ui/stereo_dialog.h") && \
                                __has_include("voxtrelle/ui/about_dialog.h")
#include "voxtrelle/ui/about_dialog.h"
#include "voxtrelle/ui/stereo_dialog.h"
#include "voxtrelle/ui/volume_dialog.h"
#define VX_HAVE_DIALOGS 1
#endif

namespace voxtrelle {

void MainFrame::OnMenuCommand(wxCommandEvent& event) {
  const int id = event.GetId();
  switch (id) {
    case cmd::kOpen:
      OnOpen();
      break;
    case cmd::kSave:
      Save();
      break;
    case cmd::kSaveAs:
      SaveAs();
      break;
    case cmd::kExit:
      Close();
      break;
    case cmd::kPlay:
      player_.Play();
      break;
    case cmd::kPause:
      player_.Pause();
      break;
    case cmd::kStop:
      player_.Stop();
      break;
    case cmd::kSetStart:
      player_.SetSelectionStart(player_.Position());
      edit_view_->RefreshView(false);
      break;
    case cmd::kSetEnd:
      player_.SetSelectionEnd(player_.Position());
      edit_view_->RefreshView(false);
      break;
    case cmd::kSelectAll:
      player_.SelectAll();
      edit_view_->RefreshView(false);
      break;
    case cmd::kDeselect:
      player_.Deselect();
      edit_view_->RefreshView(false);
      break;
    case cmd::kConverterSite:
      OpenUrl(web::ConverterUrl());
      break;
    case cmd::kWebsite:
      OpenUrl(web::MakerUrl());
      break;
    case cmd::kAbout:
      ShowAbout();
      break;
    default:
      if (id >= cmd::kDeleteSelected && id <= cmd::kToStereo) {
        RunCommand(id);
      } else {
        event.Skip();
      }
  }
}

void MainFrame::OnPanelButton(wxCommandEvent& event) {
  // Only the edit panel's buttons are edits; a start-page button with the same id is not.
  for (auto* w = dynamic_cast<wxWindow*>(event.GetEventObject()); w != nullptr;
       w = w->GetParent()) {
    if (w == edit_view_) {
      RunCommand(event.GetId());
      return;
    }
  }
  event.Skip();
}

void MainFrame::RunCommand(int id) {
  if (id >= cmd::kDeleteSelected && id <= cmd::kToStereo) {
    RunEdit(id);
    // Back to the waveform, so a Space or Enter meant for something else cannot repeat the edit.
    if (edit_view_->IsShown()) edit_view_->waveform()->SetFocus();
    return;
  }
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(this);
  ProcessWindowEvent(event);
}

void MainFrame::RunEdit(int id) {
  switch (id) {
    case cmd::kDeleteSelected:
      EditDelete(false);
      break;
    case cmd::kDeleteUnselected:
      EditDelete(true);
      break;
    case cmd::kChangeVolume:
      EditChangeVolume();
      break;
    case cmd::kToStereo:
      EditToStereo();
      break;
    case cmd::kMaximizeVolume:
    case cmd::kFadeIn:
    case cmd::kFadeOut:
    case cmd::kToMono:
      EditSimple(id);
      break;
    default:
      break;
  }
}

void MainFrame::EditDelete(bool keep_selection) {
  if (!Editable() || !player_.HasProperSelection()) return;
  const auto [start, end] = Range();
  int ok = 0;
  {
    wxBusyCursor wait;
    ok = document_.delete_range(start, end, keep_selection ? 0 : 1);
  }
  if (!ok) return;
  player_.Clear();
  // After removing the selection the play position is where it began.
  if (!keep_selection) player_.Seek(start);
  edit_view_->RefreshView(true);
}

void MainFrame::EditSimple(int id) {
  if (!Editable()) return;
  const auto [start, end] = Range();
  int ok = 0;
  {
    wxBusyCursor wait;
    switch (id) {
      case cmd::kMaximizeVolume:
        ok = document_.maximize(start, end);
        break;
      case cmd::kFadeIn:
        ok = document_.fade_in(start, end);
        break;
      case cmd::kFadeOut:
        ok = document_.fade_out(start, end);
        break;
      case cmd::kToMono:
        ok = document_.to_mono();
        break;
      default:
        return;
    }
  }
  if (ok) edit_view_->RefreshView(true);
}

void MainFrame::EditChangeVolume() {
  if (!Editable()) return;
  int percent = 100;
#ifdef VX_HAVE_DIALOGS
  VolumeDialog dialog(this);
  if (dialog.ShowModal() != wxID_OK) return;
  percent = dialog.Percentage();
#else
  const long value = wxGetNumberFromUser("Volume (%):", "", "Change Volume", 100, 0, 500, this);
  if (value < 0) return;
  percent = static_cast<int>(value);
#endif
  if (percent == 100) return;
  Update();
  const auto [start, end] = Range();
  int ok = 0;
  {
    wxBusyCursor wait;
    ok = document_.change_volume(start, end, percent);
  }
  if (ok) edit_view_->RefreshView(true);
}

void MainFrame::EditToStereo() {
  if (!Editable()) return;
#ifdef VX_HAVE_DIALOGS
  StereoDialog dialog(this);
  if (dialog.ShowModal() != wxID_OK) return;
#else
  if (wxMessageBox("This program converts mono to stereo by duplicating the mono track.",
                   "Convert to Stereo", wxOK | wxCANCEL, this) != wxOK) {
    return;
  }
#endif
  Update();
  int ok = 0;
  {
    wxBusyCursor wait;
    ok = document_.to_stereo();
  }
  if (ok) {
    edit_view_->RefreshView(true);
    return;
  }
  // The new channel's file is the one edit that needs room; the clip stays as it was.
  const auto frames = static_cast<uint32_t>(document_.current_clip().frames());
  if (const wxString cause = TempFolderText(uint64_t{frames} * sizeof(float)); !cause.empty()) {
    file_hooks_.message(this, "Error converting to stereo:\n\n" + cause, wxOK | wxICON_ERROR);
  }
}

void MainFrame::ShowAbout() {
#ifdef VX_HAVE_DIALOGS
  wxWindow* owner = wxGetActiveWindow();
  AboutDialog dialog(owner != nullptr ? owner : this);
  dialog.ShowModal();
#else
  wxMessageBox(kProductName, "About", wxOK, this);
#endif
}

}  // namespace voxtrelle
