// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/control.h>

#include <functional>

namespace voxtrelle {

// A clickable web link: its text in blue, purple once visited, grey when disabled, drawn on the
// parent's background in the parent's font; the hand cursor over it. A click (or Enter / Space
// while focused) opens the target with the desktop's default browser and, when that worked,
// marks the link visited.
class LinkLabel : public wxControl {
 public:
  enum class Underline { kAlways, kHover, kNever };

  // Opens a URL; true when a browser took it. Tests replace it.
  using Opener = std::function<bool(const wxString& url)>;

  LinkLabel(wxWindow* parent, wxWindowID id, const wxString& text,
            const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

  // The address opened on a click; the link's own text until one is set.
  void SetTarget(const wxString& url) { target_ = url; }
  wxString GetTarget() const { return target_.empty() ? GetLabel() : target_; }

  void SetUnderline(Underline mode);
  void SetShowTooltip(bool show);
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  bool IsVisited() const { return visited_; }
  bool IsHovered() const { return hovered_; }
  // What a click does: open the target, mark visited on success. Returns the opener's result.
  bool Open();

  wxColour CurrentColour() const;
  bool DrawsUnderline() const;

  static const wxColour kNormalColour;   // (0, 0, 255)
  static const wxColour kVisitedColour;  // (128, 0, 128)

 protected:
  wxSize DoGetBestClientSize() const override;
  bool AcceptsFocusFromKeyboard() const override { return IsEnabled(); }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void SetHovered(bool hovered);

  wxString target_;
  Underline underline_ = Underline::kAlways;
  bool showTooltip_ = false;
  bool visited_ = false;
  bool hovered_ = false;
  Opener opener_;
};

}  // namespace voxtrelle
