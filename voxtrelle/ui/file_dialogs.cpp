// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/file_dialogs.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "voxtrelle/audio/file_kind.h"

namespace voxtrelle {

namespace {

FileKind KindOfFilter(int filterIndex) {
  return filterIndex == kSaveFilterWma ? FileKind::kWma : FileKind::kWav;
}

const char* ExtensionOfFilter(int filterIndex) {
  return filterIndex == kSaveFilterWma ? ".wma" : ".wav";
}

}  // namespace

wxString ChooseOpenPath(wxWindow* owner) {
  wxFileDialog dialog(owner, "Open", wxEmptyString, wxEmptyString, kOpenFilter,
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_PREVIEW);
  dialog.SetFilterIndex(2);
  dialog.CentreOnParent();
  if (dialog.ShowModal() != wxID_OK) return {};
  return dialog.GetPath();
}

std::optional<SaveAsChoice> ChooseSavePath(wxWindow* owner, const wxString& suggested,
                                           int filterIndex) {
  const wxFileName name(suggested);
  wxFileDialog dialog(owner, "Save As", name.GetPath(), name.GetFullName(), kSaveFilter,
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  dialog.SetFilterIndex(filterIndex);
  dialog.CentreOnParent();
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return SaveAsChoice{dialog.GetPath(), dialog.GetFilterIndex()};
}

wxString SaveAsTarget(const wxString& chosen, int filterIndex) {
  if (file_kind(chosen.utf8_string()) == KindOfFilter(filterIndex)) return chosen;
  const wxString extension = ExtensionOfFilter(filterIndex);
  if (chosen.Lower().EndsWith(extension)) return chosen;
  return chosen + extension;
}

wxString RenameForType(const wxString& name, int filterIndex) {
  if (name.empty() || file_kind(name.utf8_string()) == KindOfFilter(filterIndex)) return name;
  wxFileName file(name);
  file.SetExt(wxString(ExtensionOfFilter(filterIndex)).Mid(1));
  return name.Contains("/") ? file.GetFullPath() : file.GetFullName();
}

}  // namespace voxtrelle
