// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/main_frame.h"

#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "zentora/core/commands.h"
#include "zentora/core/data_files.h"
#include "zentora/core/settings.h"
#include "zentora/core/text_table.h"
#include "zentora/ui/command_ids.h"
#include "zentora/ui/cut_dialogs.h"
#include "zentora/ui/html_page_host.h"
#include "zentora/ui/main_panel.h"
#include "zentora/ui/pictures.h"
#include "zentora/ui/position_bar.h"
#include "zentora/ui/settings_panel.h"
#include "zentora/ui/small_dialogs.h"
#include "zentora/ui/startup_check.h"
#include "zentora/ui/time_panel.h"
#include "zentora/ui/tip_strip.h"
#include "zentora/ui/warning_sound.h"
#include "zentora/ui/web_addresses.h"

namespace zentora {
namespace {

constexpr int kWindowWidth = 720;
constexpr int kWindowHeight = 420;
// Right edges of the status bar's parts 0 and 1; part 2 runs to the window's edge.
constexpr int kStatusWidths[] = {130, 290 - 130, -1};

wxString Text(int id) {
  return wxString::FromUTF8(LoadText(id));
}

class FileDrop : public wxFileDropTarget {
 public:
  explicit FileDrop(std::function<void(const wxArrayString&)> dropped)
      : dropped_(std::move(dropped)) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    dropped_(files);
    return true;
  }

 private:
  std::function<void(const wxArrayString&)> dropped_;
};

}  // namespace

void WindowMailbox::Post(std::function<void()> call) {
  std::lock_guard lock(mutex_);
  if (target_) target_->CallAfter(std::move(call));
}

void WindowMailbox::Close() {
  std::lock_guard lock(mutex_);
  target_ = nullptr;
}

wxPoint MainFrame::CentredPosition(const wxSize& windowSize, const wxSize& desktop) {
  return wxPoint(std::max((desktop.x - windowSize.x) / 2, 0),
                 std::max((desktop.y - windowSize.y) / 2, 0));
}

MainFrame::MainFrame(const Settings& settings, FrameHooks hooks, const std::string& serverBase)
    : wxFrame(nullptr, wxID_ANY, Text(kTextCaption), wxPoint(0, 0),
              wxSize(kWindowWidth, kWindowHeight),
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX, "Zentora"),
      hooks_(std::move(hooks)),
      tick_(this, 1000),
      mailbox_(std::make_shared<WindowMailbox>(this)) {
  app_ = std::make_unique<CutterApp>(backend_, static_cast<CutterView&>(*this),
                                     static_cast<TickTimer&>(*this));
  app_->settings() = settings;
  SetIcons(ProgramIcons());
  BuildMenus();
  // Fixed size, centred on the desktop.
  const wxSize size(kWindowWidth, kWindowHeight);
  SetSizeHints(size, size);

  wxStatusBar* status = CreateStatusBar(3, wxSTB_DEFAULT_STYLE);
  status->SetStatusWidths(3, kStatusWidths);
  status->SetStatusText(Text(kTextNotLoaded), 0);
  status->SetStatusText(Text(kTextNewBrand), 1);
  SetStatusBarPane(-1);  // menus and tools have no help texts to put over part 0

  panel_ = new MainPanel(this, *app_, static_cast<PlayView&>(*this));
  panel_->Settings()->CreatePageHost(wxString::FromUTF8(serverBase + web::kAdvertPath),
                                     hooks_.allowWebView);
  // GTK delivers a drop to the widget under the mouse, so every part of the window takes one.
  wxWindow* const dropTargets[] = {
      this,           panel_,        panel_->Settings(), panel_->Tip(),
      panel_->Time(), panel_->Bar(), panel_->Toolbar(),  GetStatusBar()};
  for (wxWindow* target : dropTargets)
    target->SetDropTarget(
        new FileDrop([this](const wxArrayString& files) { OnFilesDropped(files); }));

  Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunCommand(CommandOf(e.GetId())); });
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
    if (!HandleAccelerator(e.GetKeyCode(), e.GetModifiers())) e.Skip();
  });
  Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
    if (e.GetMenu() == operationMenu_) UpdateOperationMenu();
    e.Skip();
  });
  Bind(
      wxEVT_TIMER, [this](wxTimerEvent&) { app_->onTick(); }, 1000);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Exit(); });
  Bind(wxEVT_END_SESSION, [this](wxCloseEvent& e) {
    SaveSettings();
    e.Skip();
  });
  Bind(wxEVT_SIZE, [this](wxSizeEvent&) { PlacePanel(); });
  // What a menu or a dialog covered of the web page is painted again once it has gone.
  Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& e) {
    RepaintPage();
    e.Skip();
  });
  Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
    if (e.GetActive()) RepaintPage();
    e.Skip();
  });

  int desktopWidth = 0, desktopHeight = 0;
  wxDisplaySize(&desktopWidth, &desktopHeight);
  const wxPoint centred = CentredPosition(GetSize(), wxSize(desktopWidth, desktopHeight));
  Move(centred);
  Show();
  Layout();
  panel_->LayoutChildren();
  panel_->Time()->SetFocus();
}

MainFrame::~MainFrame() {
  mailbox_->Close();
  tick_.Stop();
}

void MainFrame::RepaintPage() {
  if (panel_ && panel_->Settings()->PageHost()) panel_->Settings()->PageHost()->RepaintWhole();
}

void MainFrame::PlacePanel() {
  if (!panel_) return;
  // While the window manager adds its frame, GTK can pass a client area of a pixel or two;
  // the panels keep their size until the real one arrives, as GTK complains about a toolbar
  // given less than it needs.
  const wxSize client = GetClientSize();
  const wxSize smallest = panel_->SmallestLayoutSize();
  if (client.x < smallest.x || client.y < smallest.y) return;
  panel_->SetSize(wxRect(wxPoint(0, 0), client));
  panel_->LayoutChildren();
}

void MainFrame::BuildMenus() {
  auto item = [](int id) { return MenuLabel(MenuText(id)); };
  operationMenu_ = new wxMenu;
  operationMenu_->Append(WxId(kCmdOpen), item(kCmdOpen));
  operationMenu_->AppendSeparator();
  for (int id : {kCmdPlayPause, kCmdStop, kCmdJumpForward, kCmdJumpBack, kCmdHome, kCmdEnd})
    operationMenu_->Append(WxId(id), item(id));
  operationMenu_->AppendSeparator();
  operationMenu_->Append(WxId(kCmdABKey), item(kCmdABKey));
  auto* fineTune = new wxMenu;
  for (int id : {kCmdAPlus, kCmdAMinus, kCmdBPlus, kCmdBMinus})
    fineTune->Append(WxId(id), item(id));
  operationMenu_->AppendSubMenu(fineTune, wxString::FromUTF8(kMenuFineTune));
  operationMenu_->Append(WxId(kCmdCut), item(kCmdCut));
  operationMenu_->AppendSeparator();
  operationMenu_->Append(WxId(kCmdOnTop), item(kCmdOnTop));
  operationMenu_->AppendSeparator();
  operationMenu_->Append(kCmdExit, item(kCmdExit));

  auto* tools = new wxMenu;
  for (const char* tool : {"音频格式转换器 —— 把mp3转换成其他格式，或转回mp3",
                           "音频编辑器 —— 对mp3进行高级编辑", "ab复读机 —— 在mp3的ab两点间反复播放",
                           "音量调节器 —— 把mp3的音量调大或调小", "逐句复读机 —— 对mp3逐句复读"})
    tools->Append(WxId(kCmdTools), wxString::FromUTF8(tool));
  tools->AppendSeparator();
  tools->Append(WxId(kCmdTools), L"更多…");

  auto* help = new wxMenu;
  auto* sample = new wxMenu;
  sample->Append(WxId(kCmdSample), L"示例旋律");
  help->AppendSubMenu(sample, wxString::FromUTF8(kMenuSample));
  help->AppendSeparator();
  help->Append(WxId(kCmdProductSite), item(kCmdProductSite));
  help->Append(WxId(kCmdBlog), item(kCmdBlog));
  help->Append(WxId(kCmdNewBrand), item(kCmdNewBrand));
  help->AppendSeparator();
  help->Append(kCmdAbout, item(kCmdAbout));

  auto* bar = new wxMenuBar;
  bar->Append(operationMenu_, wxString::FromUTF8(kMenuOperation));
  bar->Append(tools, wxString::FromUTF8(kMenuTools));
  bar->Append(help, L"帮助(&H)");
  // Under a window manager GTK keeps the window hidden at a size of a pixel or two until the
  // manager has told the size of its frame; a menu bar given that width makes GTK complain.
  // It joins the window once the window is shown at its real size.
  Bind(wxEVT_SHOW, [this, bar](wxShowEvent& e) {
    e.Skip();
    if (e.IsShown() && !GetMenuBar()) {
      SetMenuBar(bar);
      CallAfter([this] { PlacePanel(); });  // the client area lost the menu bar's height
    }
  });
}

void MainFrame::UpdateOperationMenu() {
  const CutterSnapshot state = app_->snapshot();
  for (int id : {kCmdPlayPause, kCmdStop, kCmdJumpForward, kCmdJumpBack, kCmdHome, kCmdEnd,
                 kCmdAMinus, kCmdAPlus, kCmdBMinus, kCmdBPlus, kCmdABKey, kCmdCut, kCmdOnTop}) {
    const MenuItemState item = OperationMenuItem(id, state);
    if (item.text) operationMenu_->SetLabel(WxId(id), MenuLabel(item.text));
    operationMenu_->Enable(WxId(id), item.enabled);
  }
}

bool MainFrame::HandleAccelerator(int keyCode, int modifiers) {
  if (modifiers != wxMOD_NONE) return false;
  AccelKey key;
  switch (keyCode) {
    case WXK_DOWN:
      key = AccelKey::Down;
      break;
    case WXK_END:
      key = AccelKey::End;
      break;
    case WXK_F4:
      key = AccelKey::F4;
      break;
    case WXK_HOME:
      key = AccelKey::Home;
      break;
    case WXK_LEFT:
      key = AccelKey::Left;
      break;
    case WXK_RIGHT:
      key = AccelKey::Right;
      break;
    case WXK_TAB:
      key = AccelKey::Tab;
      break;
    case WXK_UP:
      key = AccelKey::Up;
      break;
    default:
      return false;
  }
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.key == key) {
      RunCommand(accelerator.command);
      return true;
    }
  }
  return false;
}

void MainFrame::RunCommand(int commandId) {
  switch (commandId) {
    case kCmdAbout:
      ShowAboutDialog(this);
      return;
    case kCmdExit:
      Exit();
      return;
    case kCmdOpen:
      OpenWithDialog();
      return;
    case kCmdProductSite:
      hooks_.openUrl(web::kProductPage);
      return;
    case kCmdBlog:
      hooks_.openUrl(web::kBlog);
      return;
    case kCmdTools:
      hooks_.openUrl(web::kToolsPage);
      return;
    case kCmdNewBrand:
      hooks_.openUrl(web::kNewBrandPage);
      return;
    case kCmdSample:
      OpenPath(wxString::FromUTF8(DataFilePath("eg.mp3")));
      return;
    case kCmdOnTop:
      ToggleOnTop();
      return;
    default:
      app_->command(commandId);
  }
}

void MainFrame::OpenPath(const wxString& path) {
  app_->open(path.utf8_string());
}

void MainFrame::OpenWithDialog() {
  app_->close();  // the open flow closes the current file before it asks
  wxFileDialog dialog(this, wxString(), wxString(), wxString(), "MP3 files (*.mp3)|*.mp3",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  OpenPath(dialog.GetPath());
}

void MainFrame::ToggleOnTop() {
  SetWindowStyleFlag(app_->onTop() ? GetWindowStyleFlag() & ~wxSTAY_ON_TOP
                                   : GetWindowStyleFlag() | wxSTAY_ON_TOP);
  app_->toggleOnTop();
}

void MainFrame::OnFilesDropped(const wxArrayString& files) {
  if (files.empty()) return;
  const wxString path = files[0];
  if (wxFileName(path).GetExt().Lower() == "mp3") {
    // Opened once the drop has finished, so the open flow's dialogs never run inside it.
    CallAfter([this, path] { OpenPath(path); });
  } else {
    PlayWarningSound(DataFilePath("chord.wav"));
  }
}

bool MainFrame::PassesRequiredFilesCheck() {
  const int missing = CheckRequiredFiles();
  if (missing == 0) return true;
  hooks_.messageBox(this, Text(missing), wxOK | wxICON_ERROR);
  return false;
}

void MainFrame::StartBackgroundRequests(const std::string& serverBase) {
  std::weak_ptr<WindowMailbox> weakMailbox = mailbox_;
  StartUpdateCheck(serverBase, [weakMailbox, this](UpdateAnswer answer) {
    if (auto mailbox = weakMailbox.lock())
      mailbox->Post([this, answer] { HandleUpdateAnswer(answer); });
  });
  StartUsageReport(serverBase);
}

void MainFrame::HandleUpdateAnswer(UpdateAnswer answer) {
  if (answer == UpdateAnswer::Notice) {
    hooks_.updateNotice(this, kTextNewVersion);
  } else if (answer == UpdateAnswer::Required) {
    hooks_.updateNotice(this, kTextVersionObsolete);
    SaveSettings();
    // The answer may arrive inside a dialog's loop, with this window's code beneath it on the
    // stack; the window goes only once every dialog has returned.
    modalDialogs_.EndAllThen([this] { Destroy(); });
  }
}

void MainFrame::SaveSettings() {
  std::string error;
  if (!zentora::SaveSettings(SettingsFilePath(), app_->settings(), &error))
    hooks_.messageBox(this, wxString::FromUTF8(error), wxOK | wxICON_ERROR);
}

void MainFrame::Exit() {
  app_->close();
  SaveSettings();
  Destroy();
}

// CutterView

void MainFrame::refreshPanels() {
  panel_->Time()->RefreshPanel();
  panel_->Bar()->RefreshBar();
}

void MainFrame::setStatusText(int part, const std::string& text) {
  SetStatusText(wxString::FromUTF8(text), part);
}

void MainFrame::setTitle(const std::string& title) {
  SetTitle(wxString::FromUTF8(title));
}

void MainFrame::updateToolbar() {
  panel_->UpdateToolbar(app_->snapshot());
}

void MainFrame::hideTooltip() {
  // GTK takes a tooltip down by itself on the key press or click that led here.
}

void MainFrame::endThumbDrag() {
  panel_->Bar()->CancelDrag();
}

void MainFrame::showError(const std::string& text) {
  hooks_.messageBox(this, wxString::FromUTF8(text), wxOK | wxICON_ERROR);
}

void MainFrame::runRepair(const std::string& path) {
  RunRepairDialog(this, path);
}

void MainFrame::beginCut(const std::string& path, int32_t pointA, int32_t pointB) {
  RunCutFlow(this, hooks_, path, pointA, pointB);
}

void MainFrame::postGraphError(uint64_t serial, const std::string& text) {
  mailbox_->Post([this, serial, text] { app_->onGraphEvent(serial, text); });
}

}  // namespace zentora
