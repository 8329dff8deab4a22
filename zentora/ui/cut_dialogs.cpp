// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/cut_dialogs.h"

#include <gio/gio.h>
#include <wx/animate.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <filesystem>

#include "zentora/core/cut_job.h"
#include "zentora/core/play_state.h"
#include "zentora/core/text_table.h"
#include "zentora/core/tool_process.h"
#include "zentora/ui/dialog_title.h"
#include "zentora/ui/pictures.h"

namespace zentora {
namespace {

wxString Text(int id) {
  return wxString::FromUTF8(LoadText(id));
}

wxAnimationCtrl* MakeAnimation(wxWindow* parent, int id) {
  auto* control = new wxAnimationCtrl(parent, id, LoadAnimation(kCuttingAnimation));
  control->Play();
  return control;
}

// Dialog 129: the splitter runs while the dialog polls it every 200 ms.
class CuttingDialog : public wxDialog {
 public:
  CuttingDialog(wxWindow* owner, const CutRequest& request)
      : wxDialog(owner, 129, L"执行ab剪切"), timer_(this, 1500) {
    animation_ = MakeAnimation(this, 1026);
    status_ = new wxStaticText(this, 1023, L"正在剪切中…");
    pathEdit_ = new wxTextCtrl(this, 1022, wxString::FromUTF8(request.output), wxDefaultPosition,
                               wxSize(360, -1), wxTE_READONLY);
    auto* show = new wxButton(this, 1021, L"查看");
    auto* cancel = new wxButton(this, wxID_CANCEL, L"取消");

    auto* where = new wxBoxSizer(wxHORIZONTAL);
    where->Add(new wxStaticText(this, wxID_ANY, L"存放于："), wxSizerFlags().CentreVertical());
    where->Add(pathEdit_, wxSizerFlags(1).CentreVertical().Border(wxLEFT, 4));
    where->Add(show, wxSizerFlags().CentreVertical().Border(wxLEFT, 6));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(cancel);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(animation_, wxSizerFlags().Centre().Border(wxTOP, 12));
    sizer->Add(status_, wxSizerFlags().Centre().Border(wxTOP, 6));
    sizer->Add(where, wxSizerFlags().Expand().Border(wxALL, 12));
    sizer->Add(
        new wxStaticText(this, wxID_ANY, L"（文件名不应含特殊字符，否则可能导致剪切失败！）"),
        wxSizerFlags().Border(wxLEFT | wxRIGHT, 12));
    sizer->Add(buttons, wxSizerFlags().Expand().Border(wxALL, 12));
    SetSizerAndFit(sizer);
    CentreOnParent();

    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { Poll(); }, 1500);
    show->Bind(wxEVT_BUTTON,
               [this](wxCommandEvent&) { ShowInFileManager(pathEdit_->GetValue().utf8_string()); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Cancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Cancel(); });

    job_.start(request);
    timer_.Start(kToolPollIntervalMs);
  }

 private:
  void Poll() {
    if (!running_ || job_.poll() == CutJob::State::Running) return;
    running_ = false;
    timer_.Stop();
    animation_->Stop();
    animation_->Hide();
    status_->SetLabel(wxString::FromUTF8(job_.resultText()));
    Fit();  // the animation's room is given back
  }
  // "取消": stops waiting; a splitter still running goes on and may still write the file.
  void Cancel() {
    if (running_) {
      running_ = false;
      timer_.Stop();
      job_.abandon();
      animation_->Stop();
    }
    EndModal(wxID_CANCEL);
  }

  CutJob job_;
  wxTimer timer_;
  bool running_ = true;
  wxAnimationCtrl* animation_;
  wxStaticText* status_;
  wxTextCtrl* pathEdit_;
};

// Dialog 131: no buttons; it closes itself when the repair tool has ended.
class RepairDialog : public wxDialog {
 public:
  RepairDialog(wxWindow* owner, const std::string& path)
      : wxDialog(owner, 131, L"正在修复mp3文件…", wxDefaultPosition, wxDefaultSize, wxCAPTION),
        timer_(this, 2000) {
    animation_ = MakeAnimation(this, 1025);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(animation_, wxSizerFlags().Centre().Border(wxALL, 12));
    sizer->Add(new wxStaticText(this, wxID_ANY, L"正在修复mp3文件…"),
               wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM, 16));
    SetSizerAndFit(sizer);
    MakeRoomForTitle(*this);
    CentreOnParent();
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (!process_.finished()) return;
      timer_.Stop();
      animation_->Stop();
      EndModal(wxID_OK);
    });
    Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& e) { e.Veto(); });  // it ends with the tool
    // A tool that cannot be found or started counts as ended at the first tick.
    process_.start(RepairArguments(FindTool(kRepairName), path));
    timer_.Start(kToolPollIntervalMs);
  }

 private:
  ToolProcess process_;
  wxTimer timer_;
  wxAnimationCtrl* animation_;
};

}  // namespace

std::optional<bool> AskCutMethod(wxWindow* owner) {
  wxDialog dialog(owner, 153, L"剪切点定位方式", wxDefaultPosition, wxDefaultSize, wxCAPTION);
  auto* frames =
      new wxRadioButton(&dialog, 1034, L"逐帧计算", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  auto* bitrate = new wxRadioButton(&dialog, 1033, L"位率估计");
  frames->SetValue(true);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(frames, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, 16));
  sizer->Add(bitrate, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, 16));
  sizer->Add(new wxStaticText(&dialog, wxID_ANY, L"逐帧计算欠佳时，\n再尝试位率估计。"),
             wxSizerFlags().Border(wxALL, 16));
  auto* ok = new wxButton(&dialog, wxID_OK, L"确定");
  ok->SetDefault();
  sizer->Add(ok, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, 12));
  // Only OK closes it: neither Esc nor the window manager's close does.
  dialog.SetEscapeId(wxID_NONE);
  dialog.Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& e) {
    if (e.CanVeto())
      e.Veto();
    else
      e.Skip();
  });
  dialog.SetSizerAndFit(sizer);
  MakeRoomForTitle(dialog);
  dialog.CentreOnParent();
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return frames->GetValue();
}

wxString AskCutOutput(wxWindow* owner) {
  wxFileDialog save(owner, wxString(), wxString(), wxString(), "MP3 files (*.mp3)|*.mp3",
                    wxFD_SAVE);
  return save.ShowModal() == wxID_OK ? save.GetPath() : wxString();
}

void RunCutFlow(wxWindow* owner, const FrameHooks& hooks, const std::string& inputPath,
                int32_t pointA, int32_t pointB) {
  const wxString chosen = hooks.chooseCutOutput(owner);
  if (chosen.empty()) return;
  CutRequest request;
  request.input = inputPath;
  request.output = WithMp3Extension(chosen.utf8_string());
  request.pointA = pointA;
  request.pointB = pointB;

  switch (CheckSaveTarget(request.output, inputPath)) {
    case SaveTarget::SelfOverwrite:
      hooks.messageBox(owner, Text(kTextSelfOverwrite), wxOK | wxICON_ERROR);
      return;
    case SaveTarget::Exists: {
      const std::string name = FileNamePart(request.output);
      if (hooks.messageBox(owner, wxString::FromUTF8(FormatText(kTextReplace, {name})),
                           wxYES_NO | wxICON_QUESTION) != wxYES)
        return;
      break;
    }
    case SaveTarget::Free:
      break;
  }
  std::string error;
  if (!WriteTest(request.output, &error)) {
    hooks.messageBox(owner, wxString::FromUTF8(error), wxOK | wxICON_ERROR);
    return;
  }
  const std::optional<bool> frameMode = AskCutMethod(owner);
  if (!frameMode) return;
  request.frameMode = *frameMode;
  CuttingDialog cutting(owner, request);
  cutting.ShowModal();
}

void RunRepairDialog(wxWindow* owner, const std::string& path) {
  RepairDialog dialog(owner, path);
  dialog.ShowModal();
}

void ShowInFileManager(const std::string& path) {
  // The desktop's file manager interface selects the file in a folder window.
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  bool shown = false;
  if (bus) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (uri) {
      const gchar* uris[] = {uri, nullptr};
      GVariant* reply = g_dbus_connection_call_sync(
          bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
          "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr,
          G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
      if (reply) {
        shown = true;
        g_variant_unref(reply);
      }
      g_free(uri);
    }
    g_object_unref(bus);
  }
  g_clear_error(&error);
  if (!shown) wxLaunchDefaultApplication(wxString::FromUTF8(OutputFolder(path)));
}

}  // namespace zentora
