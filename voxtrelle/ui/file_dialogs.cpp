// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/file_dialogs.h"

#include <gtk/gtk.h>
#include <wx/filename.h>

#include <memory>

#include "voxtrelle/audio/file_kind.h"

namespace voxtrelle {

namespace {

FileKind KindOfFilter(int filterIndex) {
  return filterIndex == kSaveFilterWma ? FileKind::kWma : FileKind::kWav;
}

const char* ExtensionOfFilter(int filterIndex) {
  return filterIndex == kSaveFilterWma ? ".wma" : ".wav";
}

// GTK notifies the chooser's "filter" property when the user picks another type.
void OnFilterChanged(GObject* object, GParamSpec*, gpointer) {
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(object);
  const std::unique_ptr<GSList, decltype(&g_slist_free)> filters(
      gtk_file_chooser_list_filters(chooser), g_slist_free);
  const int index = g_slist_index(filters.get(), gtk_file_chooser_get_filter(chooser));
  if (index != kSaveFilterWma && index != kSaveFilterWav) return;
  const std::unique_ptr<gchar, decltype(&g_free)> current(
      gtk_file_chooser_get_current_name(chooser), g_free);
  if (!current) return;
  const wxString typed = wxString::FromUTF8(current.get());
  const wxString renamed = RenameForType(typed, index);
  if (renamed != typed) gtk_file_chooser_set_current_name(chooser, renamed.utf8_str());
}

}  // namespace

void RenameOnTypeSwitch(wxFileDialog& dialog) {
  GtkWidget* widget = dialog.GetHandle();
  if (widget == nullptr || !GTK_IS_FILE_CHOOSER(widget)) return;
  // The handler needs no data, so it cannot outlive anything: it goes with the widget.
  g_signal_connect(widget, "notify::filter", G_CALLBACK(OnFilterChanged), nullptr);
}

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
  RenameOnTypeSwitch(dialog);
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
