// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/step_dialog.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "zentora/core/settings.h"
#include "zentora/ui/dialog_title.h"

namespace zentora {
namespace {

// A title, an edit with the current value and a hint, OK and Cancel. The edit's text after OK.
std::optional<wxString> AskNumber(wxWindow* owner, const wxString& title, int editId,
                                  int32_t current, const wxString& hint) {
  wxDialog dialog(owner, wxID_ANY, title);
  auto* edit = new wxTextCtrl(&dialog, editId, wxString::Format("%d", current), wxDefaultPosition,
                              wxSize(80, -1));
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(edit, wxSizerFlags().CentreVertical());
  row->Add(new wxStaticText(&dialog, wxID_ANY, hint),
           wxSizerFlags().CentreVertical().Border(wxLEFT, 6));
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(&dialog, wxID_OK, L"确定");
  ok->SetDefault();  // Enter in the edit means OK
  buttons->Add(ok);
  buttons->Add(new wxButton(&dialog, wxID_CANCEL, L"取消"), wxSizerFlags().Border(wxLEFT, 8));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(row, wxSizerFlags().Border(wxALL, 14));
  sizer->Add(buttons, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, 12));
  dialog.SetSizerAndFit(sizer);
  MakeRoomForTitle(dialog);
  dialog.CentreOnParent();
  edit->SetFocus();
  edit->SelectAll();
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return edit->GetValue();
}

}  // namespace

std::optional<int32_t> AskJumpSeconds(wxWindow* owner, int32_t current) {
  const auto text = AskNumber(owner, L"跳跃一次大小", 1016, current, L"（1~9秒）");
  if (!text) return std::nullopt;
  return JumpFromDialog(ParseDialogNumber(text->utf8_string()));
}

std::optional<int32_t> AskFineTuneMs(wxWindow* owner, int32_t current) {
  const auto text = AskNumber(owner, L"ab点微调一次大小", 1017, current, L"（30~900毫秒）");
  if (!text) return std::nullopt;
  return FineTuneFromDialog(ParseDialogNumber(text->utf8_string()));
}

}  // namespace zentora
