// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/stereo_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/web_links.h"

namespace voxtrelle {

StereoDialog::StereoDialog(wxWindow* owner)
    : wxDialog(owner, wxID_ANY, "Convert to Stereo", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  auto* what = new wxStaticText(
      this, wxID_ANY, "This program converts mono to stereo by duplicating the mono track.");
  auto* better = new wxStaticText(
      this, wxID_ANY,
      "To create stereo with spatial depth, try Bivandor Mono to Stereo Converter.");
  auto* more = new wxStaticText(this, wxID_ANY, "For more information, please visit:");
  link_ = new LinkLabel(this, 1337, web::kConverterSiteText);
  link_->SetTarget(web::ConverterUrl());
  link_->SetUnderline(LinkLabel::Underline::kHover);

  auto* proceed = new wxButton(this, wxID_OK, "Proceed to Convert");
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
  proceed->SetDefault();
  proceed->SetFocus();

  const int gap = FromDIP(6);
  auto* visit = new wxBoxSizer(wxHORIZONTAL);
  visit->Add(more, wxSizerFlags().CentreVertical());
  visit->AddSpacer(gap);
  visit->Add(link_, wxSizerFlags().CentreVertical());
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(proceed);
  buttons->AddSpacer(gap);
  buttons->Add(cancel);

  auto* top = new wxBoxSizer(wxVERTICAL);
  const int margin = FromDIP(14);
  top->AddSpacer(margin);
  top->Add(what, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(gap);
  top->Add(better, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(2 * margin);
  top->Add(visit, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(2 * margin);
  top->Add(buttons, wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin));
  SetSizerAndFit(top);
  CentreOnParent();
}

}  // namespace voxtrelle
