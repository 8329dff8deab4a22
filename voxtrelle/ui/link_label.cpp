// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/link_label.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include "voxtrelle/ui/focus_repaint.h"
#include "voxtrelle/ui/web_links.h"

namespace voxtrelle {

const wxColour LinkLabel::kNormalColour(0, 0, 255);
const wxColour LinkLabel::kVisitedColour(128, 0, 128);

LinkLabel::LinkLabel(wxWindow* parent, wxWindowID id, const wxString& text, const wxPoint& pos,
                     const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      opener_(web::OpenWebAddress) {
  SetLabel(text);
  // Drawn on whatever the parent shows behind it (the start page is white, dialogs grey).
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetCursor(wxCursor(wxCURSOR_HAND));
  SetInitialSize(size);
  Bind(wxEVT_PAINT, &LinkLabel::OnPaint, this);
  Bind(wxEVT_LEFT_UP, &LinkLabel::OnLeftUp, this);
  Bind(wxEVT_KEY_DOWN, &LinkLabel::OnKeyDown, this);
  Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& e) {
    SetHovered(true);
    e.Skip();
  });
  Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
    SetHovered(false);
    e.Skip();
  });
  RepaintOnFocusChange(this);
}

void LinkLabel::SetUnderline(Underline mode) {
  underline_ = mode;
  Refresh();
}

void LinkLabel::SetShowTooltip(bool show) {
  showTooltip_ = show;
  if (show) {
    SetToolTip(GetTarget());
  } else {
    UnsetToolTip();
  }
}

bool LinkLabel::Open() {
  if (!opener_ || !opener_(GetTarget())) return false;
  visited_ = true;
  Refresh();
  return true;
}

wxColour LinkLabel::CurrentColour() const {
  if (!IsEnabled()) return wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
  return visited_ ? kVisitedColour : kNormalColour;
}

bool LinkLabel::DrawsUnderline() const {
  switch (underline_) {
    case Underline::kAlways:
      return true;
    case Underline::kHover:
      return hovered_;
    case Underline::kNever:
      return false;
  }
  return false;
}

wxSize LinkLabel::DoGetBestClientSize() const {
  wxSize size = GetTextExtent(GetLabel());
  return wxSize(size.x + 2, size.y + 2);  // room for the focus outline
}

void LinkLabel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxWindow* parent = GetParent();
  dc.SetBackground(wxBrush(parent->GetBackgroundColour()));
  dc.Clear();
  wxFont font = GetFont();
  font.SetUnderlined(DrawsUnderline());
  dc.SetFont(font);
  dc.SetTextForeground(CurrentColour());
  dc.DrawText(GetLabel(), 1, 1);
  if (HasFocus()) {
    dc.SetPen(wxPen(CurrentColour(), 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(GetClientRect());
  }
}

void LinkLabel::OnLeftUp(wxMouseEvent& event) {
  if (GetClientRect().Contains(event.GetPosition())) Open();
  event.Skip();
}

void LinkLabel::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_SPACE) {
    Open();
    return;
  }
  event.Skip();
}

void LinkLabel::SetHovered(bool hovered) {
  if (hovered_ == hovered) return;
  hovered_ = hovered;
  if (underline_ == Underline::kHover) Refresh();
}

}  // namespace voxtrelle
