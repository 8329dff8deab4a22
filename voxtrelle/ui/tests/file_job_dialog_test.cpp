// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/file_job_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "voxtrelle/audio/audio_document.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

using test::WavFixture;

int16_t Tone(int32_t frame, int channel) {
  return static_cast<int16_t>(8000 * std::sin(frame * (0.01 + 0.02 * channel)));
}

// Long enough that a load or save is still running when the first events are handled.
constexpr int32_t kLongFrames = 44100 * 120;

TEST(FileJobDialog, LoadShowsCancelAndFillsTheDocument) {
  WavFixture wav("short.wav", 2, 44100, 44100, Tone);
  AudioDocument document;
  document.set_loaded_path(wav.path());
  FileJobDialog dialog(nullptr, document, JobMode::kLoad);
  EXPECT_EQ(dialog.GetTitle(), "Loading...");
  EXPECT_TRUE(dialog.CancelButton()->IsShown());
  EXPECT_EQ(dialog.Run(), kJobDone);
  EXPECT_FALSE(document.is_empty());
  EXPECT_EQ(document.current_clip().frames(), 44100);
  // The bar's range is its width in pixels, and a finished job fills it.
  EXPECT_EQ(dialog.Bar()->GetRange(), dialog.Bar()->GetClientSize().x);
  EXPECT_EQ(dialog.Bar()->GetValue(), dialog.Bar()->GetRange());
}

TEST(FileJobDialog, SaveHasNoCancelAndIsShorter) {
  AudioDocument document;
  FileJobDialog load(nullptr, document, JobMode::kLoad);
  FileJobDialog save(nullptr, document, JobMode::kSave);
  EXPECT_EQ(save.GetTitle(), "Saving...");
  EXPECT_FALSE(save.CancelButton()->IsShown());
  EXPECT_LT(save.GetClientSize().y, load.GetClientSize().y);
  EXPECT_EQ(save.GetClientSize().x, load.GetClientSize().x);
  // The margin above the bar repeats below it.
  const wxRect bar = save.Bar()->GetRect();
  EXPECT_EQ(save.GetClientSize().y - bar.GetBottom() - 1, bar.y);
}

TEST(FileJobDialog, SaveWritesTheFile) {
  WavFixture wav("in.wav", 1, 22050, 22050, Tone);
  AudioDocument document;
  ASSERT_EQ(document.load(wav.path(), nullptr), 1);
  const std::string target = wav.path() + ".copy.wav";
  document.set_saved_path(target);
  EXPECT_EQ(RunFileJobDialog(nullptr, document, JobMode::kSave), kJobDone);
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(document.modified(), 0);
}

TEST(FileJobDialog, CorruptFileEndsAsFailedWithAnEmptyDocument) {
  WavFixture wav("bad.wav", 1, 100, 8000, Tone);
  std::filesystem::resize_file(wav.path(), 30);  // header cut short
  AudioDocument document;
  document.set_loaded_path(wav.path());
  EXPECT_EQ(RunFileJobDialog(nullptr, document, JobMode::kLoad), kJobFailed);
  EXPECT_TRUE(document.is_empty());
}

TEST(FileJobDialog, CancelEndsAtOnceAndTheWorkerIsJoined) {
  WavFixture wav("long.wav", 2, kLongFrames, 44100, Tone);
  AudioDocument document;
  document.set_loaded_path(wav.path());
  FileJobDialog dialog(nullptr, document, JobMode::kLoad);
  const int result = test::RunModal(dialog, [&] {
    wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
    cancel.SetEventObject(dialog.CancelButton());
    dialog.CancelButton()->GetEventHandler()->ProcessEvent(cancel);
  });
  EXPECT_EQ(result, kJobCancelled);
}

TEST(FileJobDialog, CancelledLoadLeavesTheDocumentEmpty) {
  WavFixture wav("long.wav", 2, kLongFrames, 44100, Tone);
  AudioDocument document;
  document.set_loaded_path(wav.path());
  FileJobDialog dialog(nullptr, document, JobMode::kLoad);
  dialog.CallAfter([&] { dialog.Cancel(); });
  EXPECT_EQ(dialog.Run(), kJobCancelled);
  // Run() returned only after the worker: the document is settled and empty.
  EXPECT_TRUE(document.is_empty());
}

TEST(FileJobDialog, EscapeCancelsASaveAndLeavesNoPartialFile) {
  WavFixture wav("long.wav", 2, kLongFrames, 44100, Tone);
  AudioDocument document;
  ASSERT_EQ(document.load(wav.path(), nullptr), 1);
  const std::string target = wav.path() + ".out.wav";
  document.set_saved_path(target);
  FileJobDialog dialog(nullptr, document, JobMode::kSave);
  dialog.CallAfter([&] {
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(escape);
  });
  EXPECT_EQ(dialog.Run(), kJobCancelled);
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace voxtrelle
