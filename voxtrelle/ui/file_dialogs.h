// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/filedlg.h>
#include <wx/string.h>
#include <wx/window.h>

#include <optional>

namespace voxtrelle {

// The Open dialog's types; "All Supported Files" (index 2) is preselected.
inline constexpr const char* kOpenFilter =
    "WMA Files (*.wma)|*.wma|WAV Files (*.wav)|*.wav|"
    "All Supported Files (*.wma;*.wav)|*.wma;*.wav";
// The Save As dialog's types: index 0 = WMA, 1 = WAV.
inline constexpr const char* kSaveFilter = "WMA Files (*.wma)|*.wma|WAV Files (*.wav)|*.wav";
inline constexpr int kSaveFilterWma = 0;
inline constexpr int kSaveFilterWav = 1;

struct SaveAsChoice {
  wxString path;    // as typed or picked
  int filterIndex;  // kSaveFilterWma or kSaveFilterWav
};

// The Open dialog over owner: an existing file's path, or empty when the user cancelled.
wxString ChooseOpenPath(wxWindow* owner);

// The Save As dialog over owner, proposing suggested (a path or a bare name) with the type
// filterIndex preselected; nothing when the user cancelled.
std::optional<SaveAsChoice> ChooseSavePath(wxWindow* owner, const wxString& suggested,
                                           int filterIndex);

// Makes dialog (a Save As dialog with kSaveFilter's types) rename the typed name's extension
// when the user picks the other type (RenameForType). Connect after the initial type is set.
void RenameOnTypeSwitch(wxFileDialog& dialog);

// The file a Save As writes: the chosen path when its extension already names the chosen
// type, otherwise the chosen path with ".wma" or ".wav" appended ("take" as WMA gives
// "take.wma"; "take.wma" as WAV gives "take.wma.wav").
wxString SaveAsTarget(const wxString& chosen, int filterIndex);

// The name with its extension replaced by the type's when it names the other type, as when
// the user switches the type in the dialog ("take.wma" switched to WAV gives "take.wav").
wxString RenameForType(const wxString& name, int filterIndex);

}  // namespace voxtrelle
