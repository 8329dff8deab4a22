// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The advertisement page on the right of the settings panel: an embedded web view without
// border or context menu when the desktop has a web engine, else a plain HTML window. When
// the page cannot be loaded it shows a small page of our own instead of an error page.
#include <wx/panel.h>
#include <wx/timer.h>

class wxWebView;
class wxHtmlWindow;

namespace zentora {

class HtmlPageHost : public wxPanel {
 public:
  HtmlPageHost(wxWindow* parent, const wxString& address, bool allowWebView);

  bool UsesWebView() const { return webView_ != nullptr; }
  // Paints the whole page again. The web engine does not always repaint the part that a menu
  // or a dialog covered, so the window asks for this when they close.
  void RepaintWhole();
  bool ShowsFallback() const { return showingFallback_; }
  // The page of our own shown when the address cannot be loaded.
  static wxString FallbackPage();

 private:
  void ShowFallback();

  wxWebView* webView_ = nullptr;
  wxHtmlWindow* htmlWindow_ = nullptr;
  static constexpr int kPageTimeoutMs = 4000;
  wxTimer giveUp_;
  bool pageLoaded_ = false;
  bool loadFailed_ = false;
  bool showingFallback_ = false;
};

}  // namespace zentora
