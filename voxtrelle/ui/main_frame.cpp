// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/main_frame.h"

#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "voxtrelle/playback/wave_out_sdl.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/program_icons.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_main_bar.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "voxtrelle/ui/web_links.h"

#if __has_include("voxtrelle/ui/ve_home.h")
#include "voxtrelle/ui/ve_home.h"
#define VX_HAVE_HOME 1
#endif

namespace voxtrelle {

namespace {

// The caption until the first idle pass puts the title rule's text there.
constexpr const char* kInitialCaption = "Pellumio";

wxWindow* MakeHomeView(wxWindow* parent) {
#ifdef VX_HAVE_HOME
  return new VeHome(parent);
#else
  // Until the start page exists: a plain white page.
  auto* page = new wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
  page->SetBackgroundColour(*wxWHITE);
  return page;
#endif
}

wxMenuItem* AddItem(wxMenu* menu, int id, const char* text) {
  return menu->Append(id, wxString::FromUTF8(text), CommandHelp(id));
}

}  // namespace

MainFrame::MainFrame(std::unique_ptr<WaveOut> device)
    : wxFrame(nullptr, wxID_ANY, kInitialCaption, wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | wxCLIP_CHILDREN),
      wave_out_(std::move(device)),
      cursor_timer_(this) {
  if (!wave_out_) {
    // Device notifications come from SDL's threads and are run on this window's event queue.
    wave_out_ = std::make_unique<WaveOutSdl>(
        [this](std::function<void()> call) { CallAfter(std::move(call)); });
  }
  player_.set_device(wave_out_.get());
  // While a job works on the document the player finds no clip, so a device notification
  // that arrives during the job's dialog cannot refill from the clip the worker is using.
  player_.set_clip_source([this]() -> const AudioClip* {
    return document_busy() ? nullptr : &document_.current_clip();
  });
  player_.set_host(this);
  url_opener_ = web::OpenWebAddress;
  SetIcons(ProgramIcons());
  // The samples of unsaved edits outlive a crash (RecoverUnsavedAudio).
  document_.keep_recovery_record();

  BuildMenuBar();
  main_bar_ = new VeMainBar(this);
  EditContext context;
  context.document = &document_;
  context.player = &player_;
  context.peaks = [this](PeakLists& lists, int32_t columns) {
    ++peak_requests_;
    return document_.peaks(lists, columns);
  };
  context.document_busy = [this] { return document_busy(); };
  context.times_changed = [this] { time_display_->UpdateTimes(player_, document_.is_empty()); };
  home_view_ = MakeHomeView(this);
  edit_view_ = new VeView(this, context);
  edit_view_->Hide();
  active_view_ = home_view_;
  time_display_ = new TimeDisplay(this);
  SetStatusBar(time_display_);

  FitContent();
  Centre();
  LayOutChildren();

  Bind(wxEVT_IDLE, &MainFrame::OnIdle, this);
  Bind(wxEVT_SIZE, &MainFrame::OnSize, this);
  Bind(wxEVT_SET_FOCUS, &MainFrame::OnSetFocus, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
  Bind(wxEVT_TIMER, &MainFrame::OnCursorTimer, this, cursor_timer_.GetId());
  Bind(wxEVT_MENU, &MainFrame::OnMenuCommand, this);
  Bind(wxEVT_BUTTON, &MainFrame::OnPanelButton, this, cmd::kDeleteSelected, cmd::kToStereo);
  Bind(wxEVT_MENU_OPEN, &MainFrame::OnMenuOpen, this);
  Bind(wxEVT_MENU_CLOSE, &MainFrame::OnMenuClose, this);
  InstallDropTarget();
}

MainFrame::~MainFrame() {
  cursor_timer_.Stop();
  player_.set_host(nullptr);
  // The device goes first, so no notification can be posted to a window being destroyed.
  player_.set_device(nullptr);
  wave_out_.reset();
}

void MainFrame::FitContent() {
  // The whole inside of the window, menu bar and status bar included, is 600 x 355 at start
  // and never less. The desktop tells the menu bar's real height only once it is on screen, so
  // the first idle pass measures again.
  const int menu = std::max(GetMenuBar()->GetSize().y, GetMenuBar()->GetBestSize().y);
  const int bars = menu + time_display_->GetSize().y;
  const wxSize client(kContentWidth, kContentHeight - bars);
  if (GetClientSize() == client) return;
  SetMinSize(wxDefaultSize);
  SetClientSize(client);
  SetMinSize(GetSize());
}

void MainFrame::BuildMenuBar() {
  auto* file = new wxMenu;
  AddItem(file, cmd::kOpen, "&Open...\tCtrl+O");
  AddItem(file, cmd::kSave, "&Save\tCtrl+S");
  AddItem(file, cmd::kSaveAs, "Save &As...");
  file->AppendSeparator();
  AddItem(file, cmd::kExit, "E&xit");
  auto* play = new wxMenu;
  AddItem(play, cmd::kPlay, "&Play");
  AddItem(play, cmd::kPause, "P&ause");
  AddItem(play, cmd::kStop, "&Stop");
  auto* selection = new wxMenu;
  AddItem(selection, cmd::kSetStart, "Set &Start");
  AddItem(selection, cmd::kSetEnd, "Set &End");
  AddItem(selection, cmd::kSelectAll, "Select &All");
  AddItem(selection, cmd::kDeselect, "&Deselect");
  auto* tools = new wxMenu;
  AddItem(tools, cmd::kConverterSite, "&Bivandor");
  auto* help = new wxMenu;
  AddItem(help, cmd::kWebsite, "&Website");
  AddItem(help, cmd::kAbout, "&About");
  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(play, "&Play");
  bar->Append(selection, "&Selection");
  bar->Append(tools, "&Tools");
  bar->Append(help, "&Help");
  SetMenuBar(bar);
}

void MainFrame::LayOutChildren() {
  if (main_bar_ == nullptr) return;
  const wxSize client = GetClientSize();
  // The strip is 33 pixels, or taller when the desktop's toolbar needs more.
  const int strip = main_bar_->StripHeight();
  main_bar_->SetSize(0, 0, client.x, strip);
  const wxRect view(0, strip, client.x, std::max(0, client.y - strip));
  // Both views keep the view's size, so a hidden one can prepare itself at its real size.
  home_view_->SetSize(view);
  edit_view_->SetSize(view);
}

void MainFrame::ShowEditView(bool edit) {
  wxWindow* target = edit ? static_cast<wxWindow*>(edit_view_) : home_view_;
  wxWindow* other = edit ? home_view_ : static_cast<wxWindow*>(edit_view_);
  other->Hide();
  target->Show();
  if (active_view_ != target) {
    active_view_ = target;
    LayOutChildren();
  }
}

void MainFrame::UpdateAll() {
  UpdateTitle();
  UpdateToolbar();
  UpdateEditPanel();
  time_display_->UpdateTimes(player_, document_.is_empty());
}

void MainFrame::UpdateTitle() {
  wxString title = kProductName;
  const wxString name = wxString::FromUTF8(document_.display_name());
  if (!name.empty()) {
    wxString pattern = " - [%1%2]";
    pattern.Replace("%1", name);
    pattern.Replace("%2", document_.modified() ? " *" : "");
    title += pattern;
  }
  if (GetTitle() != title) SetTitle(title);
}

void MainFrame::UpdateToolbar() {
  const bool empty = document_.is_empty();
  const bool has_selection = player_.selection_start() >= 0 || player_.selection_end() >= 0;
  main_bar_->EnableTool(cmd::kOpen, true);
  main_bar_->EnableTool(cmd::kSave, !empty && document_.modified());
  main_bar_->EnableTool(cmd::kPlay, !empty);
  main_bar_->EnableTool(cmd::kPause, true);
  main_bar_->EnableTool(cmd::kStop, !empty && player_.is_open());
  main_bar_->EnableTool(cmd::kSetStart, !empty);
  main_bar_->EnableTool(cmd::kSetEnd, !empty);
  main_bar_->EnableTool(cmd::kSelectAll, !empty);
  main_bar_->EnableTool(cmd::kDeselect, !empty && has_selection);
  main_bar_->EnableTool(cmd::kWebsite, true);
  main_bar_->ShowPause(!empty && player_.is_open() && !player_.is_paused());
}

void MainFrame::UpdateEditPanel() {
  wxWindow* panel = edit_view_->edit_panel();
  const bool editable = Editable();
  const bool proper = editable && player_.HasProperSelection();
  const auto enable = [panel](int id, bool on) {
    if (wxWindow* button = panel->FindWindow(id)) {
      if (button->IsEnabled() != on) button->Enable(on);
    }
  };
  enable(cmd::kDeleteSelected, proper);
  enable(cmd::kDeleteUnselected, proper);
  enable(cmd::kChangeVolume, editable);
  enable(cmd::kMaximizeVolume, editable);
  enable(cmd::kFadeIn, editable);
  enable(cmd::kFadeOut, editable);
  enable(cmd::kToStereo, editable && document_.is_mono());
  enable(cmd::kToMono, editable && document_.is_stereo());
}

bool MainFrame::Editable() {
  return !document_.is_empty() && !player_.is_open();
}

std::pair<int32_t, int32_t> MainFrame::Range() {
  if (player_.HasValidSelection()) return {player_.selection_start(), player_.selection_end()};
  return {-1, -1};
}

void MainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  // A load or save job owns the document until its dialog has closed.
  if (document_busy()) return;
  if (first_idle_) {
    first_idle_ = false;
    FitContent();
  }
  UpdateAll();
}

void MainFrame::OnSize(wxSizeEvent& event) {
  player_.OnHostResized();
  LayOutChildren();
  event.Skip();
}

void MainFrame::OnSetFocus(wxFocusEvent& event) {
  // The frame itself takes no keys: the focus goes on to the view shown.
  if (active_view_ == edit_view_) {
    edit_view_->waveform()->SetFocus();
  } else if (active_view_ != nullptr) {
    active_view_->SetFocus();
  }
  event.Skip();
}

void MainFrame::OnClose(wxCloseEvent& event) {
  if (!PromptSave() && event.CanVeto()) {
    event.Veto();
    return;
  }
  player_.OnHostDestroyed();
  Destroy();
}

void MainFrame::OnCursorTimer(wxTimerEvent&) {
  player_.OnTimer();
}

void MainFrame::OnMenuOpen(wxMenuEvent& event) {
  time_display_->SetMenuHelpShown(true);
  event.Skip();
}

void MainFrame::OnMenuClose(wxMenuEvent& event) {
  time_display_->SetMenuHelpShown(false);
  event.Skip();
}

int MainFrame::WaveformWidth() {
  return edit_view_->waveform()->GetClientSize().x;
}

void MainFrame::RepaintWaveform() {
  VeWaveform* waveform = edit_view_->waveform();
  waveform->Refresh(false);
  waveform->Update();
}

int MainFrame::ArmTimer(uint32_t interval_ms) {
  if (IsBeingDeleted()) return 0;
  return cursor_timer_.Start(static_cast<int>(interval_ms)) ? 1 : 0;
}

void MainFrame::KillTimer() {
  cursor_timer_.Stop();
}

void MainFrame::OpenUrl(const std::string& url) {
  // The result is of no interest: a missing browser is the desktop's business.
  if (url_opener_) url_opener_(wxString::FromUTF8(url));
}

}  // namespace voxtrelle
