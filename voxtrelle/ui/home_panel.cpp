// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/home_panel.h"

#include <wx/dcmemory.h>
#include <wx/stattext.h>

#include <algorithm>

#include "voxtrelle/imaging/compose.h"
#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/image_button.h"
#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/ui_pictures.h"
#include "voxtrelle/ui/web_links.h"

namespace voxtrelle {

namespace {

constexpr int kOpenId = 1000;
constexpr int kStereoId = 1002;
constexpr int kFrameEdge = 5;  // columns of a frame picture kept unscaled at each end
const wxColour kLabelColour(0x24, 0x1f, 0x31);
const wxColour kGrey(128, 128, 128);

}  // namespace

std::array<wxImage, 3> BuildHomeButtonImages(const wxImage& picture, const wxString& label,
                                             const wxFont& font) {
  std::array<wxImage, 3> images;
  if (!picture.IsOk()) return images;
  const int w = HomePanel::kImageWidth, h = HomePanel::kImageHeight;
  const int d = (h - picture.GetHeight()) / 2;

  wxImage base = SolidImage(w, h, *wxWHITE);
  DrawOver(base, d, d, picture);
  // The label beside the picture, in the panel's font made larger and bold.
  {
    wxBitmap canvas(base);
    wxMemoryDC dc(canvas);
    wxFont big = font.Bold();
    big.SetPointSize(std::max(font.GetPointSize() + 3, 11));
    dc.SetFont(big);
    dc.SetTextForeground(kLabelColour);
    const wxSize text = dc.GetTextExtent(label);
    dc.DrawText(label, d + picture.GetWidth() + 14, (h - text.y) / 2);
    dc.SelectObject(wxNullBitmap);
    base = canvas.ConvertToImage();
  }
  images[0] = base;
  images[1] = base.Copy();
  DrawThreeSlice(images[1], wxRect(0, 0, w, h),
                 LoadPicture(UiPictures(), picture::kButtonPressedFrame), kFrameEdge);
  images[2] = images[1].Copy();
  DrawThreeSlice(images[2], wxRect(0, 0, w, h),
                 LoadPicture(UiPictures(), picture::kButtonHoverFrame), kFrameEdge);
  return images;
}

HomePanel::HomePanel(wxWindow* parent)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxTAB_TRAVERSAL) {
  SetFont(wxFont(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, "Arial"));
  SetBackgroundColour(*wxWHITE);

  open_ = new ImageButton(this, kOpenId, "Open a File for Editing");
  stereo_ = new ImageButton(this, kStereoId, "Convert Mono Music to Stereo");
  const std::pair<ImageButton*, const char*> buttons[] = {{open_, picture::kHomeOpen},
                                                          {stereo_, picture::kHomeStereo}};
  for (auto [button, name] : buttons) {
    auto images =
        BuildHomeButtonImages(LoadPicture(UiPictures(), name), button->GetLabel(), GetFont());
    if (images[0].IsOk()) {
      button->SetImages(wxBitmap(images[0]), wxBitmap(images[1]), wxBitmap(images[2]));
    }
  }

  auto* more = new wxStaticText(this, 1339, "More simple and handy freewares:");
  more->SetForegroundColour(kGrey);
  link_ = new LinkLabel(this, 1338, web::kMakerSiteText);
  link_->SetTarget(web::MakerUrl());
  link_->SetUnderline(LinkLabel::Underline::kAlways);

  // The two 355 x 60 buttons one above the other, the link line under them. Spacing is kept
  // tight so that the panel fits inside the start page's frame at the window's smallest size.
  const int margin = FromDIP(16);
  const int width = kImageWidth + 2 * margin;
  open_->Move(margin, FromDIP(14));
  stereo_->Move(margin, open_->GetRect().GetBottom() + 1 + FromDIP(10));
  const int lineY = stereo_->GetRect().GetBottom() + 1 + FromDIP(18);
  const wxSize moreSize = more->GetTextExtent(more->GetLabel());
  const wxSize linkSize = link_->GetBestSize();
  const int gap = FromDIP(6);
  const int lineX = std::max(margin, (width - (moreSize.x + gap + linkSize.x)) / 2);
  more->SetSize(lineX, lineY, moreSize.x, moreSize.y);
  link_->SetSize(lineX + moreSize.x + gap, lineY + (moreSize.y - linkSize.y) / 2, linkSize.x,
                 linkSize.y);
  const int height = lineY + std::max(moreSize.y, linkSize.y) + FromDIP(14);
  SetSize(width, height);
  SetMinSize(wxSize(width, height));

  Bind(wxEVT_BUTTON, &HomePanel::OnButton, this, kOpenId);
  Bind(wxEVT_BUTTON, &HomePanel::OnButton, this, kStereoId);
}

void HomePanel::OnButton(wxCommandEvent& event) {
  const int command = event.GetId() == kOpenId ? cmd::kOpen : cmd::kConverterSite;
  wxWindow* frame = wxGetTopLevelParent(this);
  if (frame == nullptr) return;
  wxCommandEvent forwarded(wxEVT_MENU, command);
  forwarded.SetEventObject(this);
  frame->GetEventHandler()->ProcessEvent(forwarded);
}

}  // namespace voxtrelle
