// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/audio_document.h"

#include "voxtrelle/audio/document_names.h"
#include "voxtrelle/audio/recovery_record.h"

namespace voxtrelle {

AudioDocument::AudioDocument() = default;
AudioDocument::~AudioDocument() = default;

AudioClip& AudioDocument::current_clip() {
  return wma_.has_audio() ? wma_.clip() : wav_;
}

const AudioClip& AudioDocument::current_clip() const {
  return wma_.has_audio() ? wma_.clip() : wav_;
}

FileKind AudioDocument::kind() const {
  if (wma_.has_audio()) return FileKind::kWma;
  if (wav_.has_audio()) return FileKind::kWav;
  return FileKind::kOther;
}

int AudioDocument::peaks(PeakLists& lists, int32_t columns) const {
  if (is_empty() || columns <= 0) return 0;
  return current_clip().peaks(lists, columns);
}

std::string AudioDocument::suggested_save_name() const {
  return suggested_save_name_for(loaded_path_);
}

std::string AudioDocument::display_name() const {
  return display_name_for(loaded_path_, saved_path_);
}

int AudioDocument::edited(int result) {
  if (result) modified_ = 1;
  sync_recovery();
  return result;
}

int AudioDocument::delete_range(int32_t begin, int32_t end, int keep_outside) {
  return edited(current_clip().delete_range(begin, end, keep_outside));
}

int AudioDocument::change_volume(int32_t begin, int32_t end, int percent) {
  return edited(current_clip().change_volume(begin, end, percent));
}

int AudioDocument::maximize(int32_t begin, int32_t end) {
  return edited(current_clip().maximize(begin, end));
}

int AudioDocument::fade_in(int32_t begin, int32_t end) {
  return edited(current_clip().fade_in(begin, end));
}

int AudioDocument::fade_out(int32_t begin, int32_t end) {
  return edited(current_clip().fade_out(begin, end));
}

int AudioDocument::to_stereo() {
  return edited(current_clip().to_stereo());
}

int AudioDocument::to_mono() {
  return edited(current_clip().to_mono());
}

void AudioDocument::clear_holders() {
  wma_.clear();
  wav_.clear();
}

int AudioDocument::load(const std::string& path, ProgressSink* progress) {
  const std::string target = path;  // path may be loaded_path_ itself
  clear_holders();
  modified_ = 1;
  int ok = 0;
  switch (file_kind(target)) {
    case FileKind::kWav:
      ok = wav_.load_wav(target, progress);
      break;
    case FileKind::kWma:
      ok = wma_.load(target, progress);
      break;
    case FileKind::kOther:
      report_failure(progress);
      break;
  }
  if (!ok) {
    clear_holders();
    sync_recovery();
    return 0;
  }
  // A file that holds no audio (a WAV without a data chunk) leaves no format behind either:
  // the document is empty, as every caller checks.
  if (!current_clip().has_audio()) clear_holders();
  modified_ = 0;
  loaded_path_ = target;
  sync_recovery();
  return 1;
}

int AudioDocument::load(ProgressSink* progress) {
  return load(loaded_path_, progress);
}

int AudioDocument::save(const std::string& path, ProgressSink* progress) {
  const std::string target = path;  // path may be saved_path_ itself
  int ok = 0;
  switch (file_kind(target)) {
    case FileKind::kWav:
      if (wma_.has_audio()) use_wav_clip();
      ok = wav_.save_wav(target, progress);
      break;
    case FileKind::kWma:
      if (wav_.has_audio()) use_wma_holder();
      ok = wma_.save(target, progress);
      break;
    case FileKind::kOther:
      report_failure(progress);
      break;
  }
  if (ok) {
    modified_ = 0;
    saved_path_ = target;
  }
  sync_recovery();  // the audio may have changed holders either way
  return ok;
}

int AudioDocument::save(ProgressSink* progress) {
  return save(saved_path_, progress);
}

void AudioDocument::reset() {
  clear_holders();
  loaded_path_.clear();
  saved_path_.clear();
  modified_ = 0;
  sync_recovery();
}

int AudioDocument::use_wma_holder() {
  if (is_empty()) return 0;
  const int ok = wma_.has_audio() ? 1 : wma_.clip().move_from(wav_);
  sync_recovery();
  return ok;
}

int AudioDocument::use_wav_clip() {
  if (is_empty()) return 0;
  const int ok = wav_.has_audio() ? 1 : wav_.move_from(wma_.clip());
  sync_recovery();
  return ok;
}

}  // namespace voxtrelle
