// SPDX-License-Identifier: GPL-3.0-or-later
// AudioDocument and its recovery record.
#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/recovery_record.h"

namespace voxtrelle {

void AudioDocument::keep_recovery_record() {
  if (recovery_ == nullptr) recovery_ = std::make_unique<RecoveryRecord>();
  sync_recovery();
}

void AudioDocument::sync_recovery() {
  if (recovery_ == nullptr) return;
  const RecoveryInfo info = recovery_info_of(*this);
  if (info.channels.empty()) {
    recovery_->remove();
  } else {
    recovery_->write(info);
  }
}

int AudioDocument::adopt_recovered(StaleDocument& stale) {
  reset();
  const RecoveryInfo& info = stale.info();
  AudioClip& clip = info.kind == static_cast<int>(FileKind::kWma) ? wma_.clip() : wav_;
  clip.set_format(info.format);
  clip.set_counts(info.frames, info.bytes);
  if (!clip.store().adopt(info.channels, info.frames,
                          static_cast<int32_t>(info.format.nSamplesPerSec)) ||
      !clip.has_audio() || !clip.store().is_flat()) {
    clear_holders();
    return 0;
  }
  loaded_path_ = info.loaded_path;
  saved_path_ = info.saved_path;
  modified_ = 1;
  // The sample files are this document's now; the old record goes once the new one exists.
  sync_recovery();
  stale.forget();
  return 1;
}

}  // namespace voxtrelle
