// SPDX-License-Identifier: GPL-3.0-or-later
// The Save As dialog itself (the desktop's file chooser behind wxFileDialog).
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <cstdlib>

#include <memory>
#include <string>

#include "voxtrelle/ui/file_dialogs.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

// Notes the modal dialog that is shown (the file dialog is no wx top-level window of its own).
class ShownDialog : public wxModalDialogHook {
 public:
  ShownDialog() { Register(); }
  ~ShownDialog() override { Unregister(); }
  wxDialog* dialog = nullptr;

 protected:
  int Enter(wxDialog* shown) override {
    dialog = shown;
    return wxID_NONE;
  }
  void Exit(wxDialog*) override { dialog = nullptr; }
};

// The name in the chooser's name box.
std::string TypedName(GtkFileChooser* chooser) {
  const std::unique_ptr<gchar, decltype(&g_free)> name(gtk_file_chooser_get_current_name(chooser),
                                                       g_free);
  return name ? std::string(name.get()) : std::string();
}

// Picks the type at index in the chooser's type list, as the user does.
void PickType(GtkFileChooser* chooser, int index) {
  const std::unique_ptr<GSList, decltype(&g_slist_free)> filters(
      gtk_file_chooser_list_filters(chooser), g_slist_free);
  auto* filter = static_cast<GtkFileFilter*>(g_slist_nth_data(filters.get(), index));
  ASSERT_NE(filter, nullptr);
  gtk_file_chooser_set_filter(chooser, filter);
}

struct Switch {
  const char* typed;
  int picked;
  const char* shown;
};

TEST(SaveAsDialog, PickingTheOtherTypeRenamesTheTypedName) {
  // The chooser keeps its settings with GSettings; a test session has no desktop bus for them.
  ::setenv("GSETTINGS_BACKEND", "memory", 1);
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  test::Pump();
  std::string proposed;
  // Works in the dialog once it is up.
  ShownDialog shown;
  wxTimer poll;
  int polls = 0;
  poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    auto* dialog = dynamic_cast<wxFileDialog*>(shown.dialog);
    if (dialog == nullptr || !dialog->IsShown()) {
      ASSERT_LT(++polls, 100) << "no Save As dialog";
      return;
    }
    poll.Stop();
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog->GetHandle());
    proposed = TypedName(chooser);
    const Switch switches[] = {{"take.wma", kSaveFilterWav, "take.wav"},
                               {"take.wav", kSaveFilterWma, "take.wma"},
                               {"Take.WAV", kSaveFilterWav, "Take.WAV"},  // already that type
                               {"take", kSaveFilterWma, "take.wma"},
                               {"a.b.wma", kSaveFilterWav, "a.b.wav"}};
    int current = kSaveFilterWma;
    for (const Switch& s : switches) {
      // Make sure the pick is a change of type.
      if (current == s.picked) {
        PickType(chooser, 1 - s.picked);
        current = 1 - s.picked;
      }
      gtk_file_chooser_set_current_name(chooser, s.typed);
      PickType(chooser, s.picked);
      current = s.picked;
      EXPECT_EQ(TypedName(chooser), s.shown) << s.typed;
    }
    dialog->EndModal(wxID_CANCEL);
  });
  poll.Start(50);
  const auto choice = ChooseSavePath(owner, "/tmp/song (1).wma", kSaveFilterWma);
  EXPECT_FALSE(choice.has_value());
  EXPECT_EQ(proposed, "song (1).wma");
  owner->Destroy();
  test::Pump();
}

}  // namespace
}  // namespace voxtrelle
