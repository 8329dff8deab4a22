// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/small_dialogs.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "zentora/core/text_table.h"
#include "zentora/ui/pictures.h"

namespace zentora {

void ShowAboutDialog(wxWindow* owner) {
  wxDialog dialog(owner, wxID_ANY, L"关于 Zentora");
  auto* text = new wxBoxSizer(wxVERTICAL);
  wxFont bold = dialog.GetFont().Bold();
  auto* name = new wxStaticText(&dialog, wxID_ANY, "Zentora 2.2.2");
  name->SetFont(bold);
  text->Add(name);
  text->Add(
      new wxStaticText(&dialog, wxID_ANY, L"对mp3进行ab剪切：按“↑”设好a点、b点，按“Tab”剪切。"),
      wxSizerFlags().Border(wxTOP, 6));
  text->Add(new wxStaticText(&dialog, wxID_ANY, L"本软件依照 GNU GPL 第3版或更新版本发布。"),
            wxSizerFlags().Border(wxTOP, 4));
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticBitmap(&dialog, wxID_ANY, LoadPicture(kIconLarge)), wxSizerFlags().Top());
  row->Add(text, wxSizerFlags().Border(wxLEFT, 12));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(row, wxSizerFlags().Border(wxALL, 16));
  sizer->Add(new wxButton(&dialog, wxID_OK, L"确定"),
             wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, 12));
  dialog.SetEscapeId(wxID_OK);
  dialog.SetSizerAndFit(sizer);
  dialog.CentreOnParent();
  dialog.ShowModal();
}

void ShowUpdateNotice(wxWindow* owner, int textId, const std::function<void()>& download) {
  wxDialog dialog(owner, 138, L"Zentora 新版发布");
  auto* heading = new wxStaticText(&dialog, wxID_ANY, L"Zentora 新版发布");
  heading->SetFont(dialog.GetFont().Bold().Scaled(1.2f));
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(new wxStaticBitmap(&dialog, wxID_ANY, LoadPicture(kIconLarge)),
           wxSizerFlags().CentreVertical());
  top->Add(heading, wxSizerFlags().CentreVertical().Border(wxLEFT, 10));
  auto* edit =
      new wxTextCtrl(&dialog, 1015, wxString::FromUTF8(LoadText(textId)), wxDefaultPosition,
                     wxSize(300, 90), wxTE_MULTILINE | wxTE_READONLY | wxVSCROLL);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* downloadButton = new wxButton(&dialog, wxID_OK, L"下载最新版");
  buttons->Add(downloadButton);
  buttons->Add(new wxButton(&dialog, wxID_CANCEL, L"取消"), wxSizerFlags().Border(wxLEFT, 8));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(top, wxSizerFlags().Border(wxALL, 12));
  sizer->Add(edit, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 12));
  sizer->Add(buttons, wxSizerFlags().Right().Border(wxALL, 12));
  dialog.SetSizerAndFit(sizer);
  dialog.CentreOnParent();
  downloadButton->SetFocus();
  if (dialog.ShowModal() == wxID_OK && download) download();
}

}  // namespace zentora
