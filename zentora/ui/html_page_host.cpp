// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/html_page_host.h"

#include <wx/html/htmlwin.h>
#include <wx/sizer.h>
#include <wx/webview.h>

namespace zentora {

HtmlPageHost::HtmlPageHost(wxWindow* parent, const wxString& address, bool allowWebView)
    : wxPanel(parent, wxID_ANY, wxPoint(355, 5), wxSize(360, 88), wxBORDER_NONE) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  if (allowWebView && wxWebView::IsBackendAvailable(wxWebViewBackendDefault)) {
    webView_ = wxWebView::New(this, wxID_ANY, wxString(), wxDefaultPosition, GetClientSize(),
                              wxWebViewBackendDefault, wxBORDER_NONE);
  }
  if (webView_) {
    webView_->EnableContextMenu(false);
    // The engine follows an error with a page of its own; each page that loads after a
    // failure is replaced by ours (which loads as about:blank, so this ends there).
    webView_->Bind(wxEVT_WEBVIEW_ERROR, [this](wxWebViewEvent&) {
      loadFailed_ = true;
      ShowFallback();
    });
    webView_->Bind(wxEVT_WEBVIEW_LOADED, [this](wxWebViewEvent& event) {
      if (event.GetURL() == "about:blank") return;
      if (loadFailed_)
        ShowFallback();
      else
        pageLoaded_ = true;
    });
    // A host that never answers counts as a failure after a while.
    giveUp_.SetOwner(this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (pageLoaded_) return;
      loadFailed_ = true;
      ShowFallback();
    });
    giveUp_.StartOnce(kPageTimeoutMs);
    sizer->Add(webView_, 1, wxEXPAND);
    webView_->LoadURL(address);
  } else {
    htmlWindow_ = new wxHtmlWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxHW_SCROLLBAR_AUTO | wxBORDER_NONE);
    sizer->Add(htmlWindow_, 1, wxEXPAND);
    // The plain HTML window would fetch http pages synchronously on this thread; it shows
    // our own page instead, so start-up never waits for the network.
    ShowFallback();
  }
  SetSizer(sizer);
}

void HtmlPageHost::RepaintWhole() {
  Refresh();
  if (webView_) webView_->Refresh();
  if (htmlWindow_) htmlWindow_->Refresh();
}

wxString HtmlPageHost::FallbackPage() {
  return wxString::FromUTF8(
      "<html><body style=\"margin:6px;font-family:sans-serif;background:#ffffff\">"
      "<table width=\"100%\" cellpadding=\"0\" cellspacing=\"0\"><tr><td>"
      "<b><font color=\"#1f6fc5\">Zentora 2.2.2</font></b><br>"
      "<font size=\"2\">按“↑”设好a点、b点，按“Tab”剪切。<br>"
      "支持把mp3文件直接拖进窗口。</font>"
      "</td></tr></table></body></html>");
}

void HtmlPageHost::ShowFallback() {
  showingFallback_ = true;
  if (webView_)
    webView_->SetPage(FallbackPage(), "about:blank");
  else if (htmlWindow_)
    htmlWindow_->SetPage(FallbackPage());
}

}  // namespace zentora
