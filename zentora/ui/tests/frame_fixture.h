// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on a virtual display with a real player whose sound goes to a fake sink;
// message boxes, the update notice, web pages and the cut's save dialog answer through hooks.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "zentora/core/tests/loopback_http_server.h"
#include "zentora/core/text_table.h"
#include "zentora/ui/command_ids.h"
#include "zentora/ui/main_frame.h"
#include "zentora/ui/main_panel.h"
#include "zentora/ui/tests/mp3_maker.h"
#include "zentora/ui/tests/wx_pump.h"
#include "zentora/ui/time_panel.h"
#include "zentora/ui/zentora_app.h"

namespace zentora::test {
namespace fs = std::filesystem;

inline wxString Text(int id) {
  return wxString::FromUTF8(LoadText(id));
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zentora_ui_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    setenv("ZENTORA_AUDIO_SINK", "fakesink sync=true", 1);
    hooks_.messageBox = [this](wxWindow*, const wxString& text, long) {
      messages_.push_back(text);
      return answer_;
    };
    hooks_.updateNotice = [this](wxWindow*, int textId) { notices_.push_back(textId); };
    hooks_.openUrl = [this](const wxString& url) { urls_.push_back(url); };
    hooks_.chooseCutOutput = [this](wxWindow*) {
      ++saveDialogs_;
      return cutOutput_;
    };
    hooks_.allowWebView = false;
  }
  void TearDown() override {
    if (frame_) frame_->Destroy();
    Pump(20);
    fs::remove_all(dir_);
  }

  void Start(const std::string& serverBase = DeadServerBase()) {
    frame_ = StartUp(hooks_, serverBase);
    ASSERT_NE(frame_, nullptr) << (messages_.empty() ? wxString() : messages_[0]);
    frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
      if (e.GetEventObject() == frame_) frame_ = nullptr;
      e.Skip();
    });
    Pump(50);
  }
  std::string MakeFile(const std::string& name, double seconds) {
    const std::string path = (dir_ / name).string();
    MakeMp3(path, seconds);
    return path;
  }
  // A key pressed while the window has the focus: it reaches the window the way GTK delivers
  // it, from the focused panel up to the frame.
  void Key(int keyCode) {
    wxWindow* target = frame_;
    if (wxWindow* focus = wxWindow::FindFocus(); focus && wxGetTopLevelParent(focus) == frame_)
      target = focus;
    else if (HasFocusInFrame(frame_->Panel()->Time()))
      target = frame_->Panel()->Time();
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = keyCode;
    event.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(event);
  }
  // Whether `window` holds the keyboard focus inside the main window. Asked of GTK, as wx
  // only knows the focus while the main window is the active one, which another test's window
  // on the same display can take from it.
  bool HasFocusInFrame(wxWindow* window) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(frame_->GetHandle()));
    return focus && (focus == window->m_wxwindow || focus == window->GetConnectWidget());
  }
  wxString Status(int part) { return frame_->GetStatusBar()->GetStatusText(part); }
  int Strip() { return frame_->Panel()->LoadedStrip(); }
  bool ToolEnabled(int id) { return frame_->Panel()->Toolbar()->GetToolEnabled(WxId(id)); }
  std::string SettingsText() {
    std::ifstream in(dir_ / "Zentora" / "options.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_;
  FrameHooks hooks_;
  std::vector<wxString> messages_;
  std::vector<int> notices_;
  std::vector<wxString> urls_;
  int answer_ = wxYES;  // every message box's answer
  wxString cutOutput_;  // what the cut's save dialog answers; empty is Cancel
  int saveDialogs_ = 0;
  MainFrame* frame_ = nullptr;
};

}  // namespace zentora::test
