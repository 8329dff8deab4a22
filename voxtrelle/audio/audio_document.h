// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/media_tags.h"
#include "voxtrelle/audio/progress.h"
#include "voxtrelle/audio/wma_audio.h"

namespace voxtrelle {

// The editor's one open file. It owns a WMA holder and a WAV-side clip; the one that has audio
// is the current clip, on which playback, the waveform and the edits work. Loading picks the
// holder by extension; saving first moves the audio into the holder of the target's kind.
// Used by one thread at a time (the interface thread, or the load/save worker while the
// interface waits). Operations return 1 on success and 0 on failure.
class RecoveryRecord;
class StaleDocument;

class AudioDocument {
 public:
  AudioDocument();
  ~AudioDocument();
  AudioDocument(const AudioDocument&) = delete;
  AudioDocument& operator=(const AudioDocument&) = delete;

  // The WMA holder's clip when it has audio, else the WAV clip.
  AudioClip& current_clip();
  const AudioClip& current_clip() const;
  int is_empty() const { return current_clip().is_empty(); }
  // kWma when the WMA holder has audio, else kWav when the WAV clip has, else kOther.
  FileKind kind() const;
  int is_stereo() const { return current_clip().is_stereo(); }
  int is_mono() const { return current_clip().is_mono(); }
  // The current clip's waveform peaks; 0 when the document is empty or columns <= 0.
  int peaks(PeakLists& lists, int32_t columns) const;

  // Set by every successful edit, cleared by a successful load or save.
  int modified() const { return modified_; }
  // The interface sets the loaded path before a load job and the saved path before a save
  // job; the jobs then call load(progress) / save(progress).
  const std::string& loaded_path() const { return loaded_path_; }
  void set_loaded_path(const std::string& path) { loaded_path_ = path; }
  const std::string& saved_path() const { return saved_path_; }
  void set_saved_path(const std::string& path) { saved_path_ = path; }
  // Initial name for Save As: "DIR/BASE (N).EXT" beside the loaded file, or "Untitled".
  std::string suggested_save_name() const;
  // The saved (else loaded) file's name without folder; empty when nothing was loaded.
  std::string display_name() const;
  // Tags of the loaded WMA file; they travel with the audio to the next WMA save.
  const MediaTags& tags() const { return wma_.tags(); }

  // The edits on the current clip; each sets modified when it succeeds. (-1, -1) is the whole
  // clip.
  int delete_range(int32_t begin, int32_t end, int keep_outside);
  int change_volume(int32_t begin, int32_t end, int percent);
  int maximize(int32_t begin, int32_t end);
  int fade_in(int32_t begin, int32_t end);
  int fade_out(int32_t begin, int32_t end);
  int to_stereo();
  int to_mono();

  // Replaces everything by the file at path (kind by extension). On failure the document is
  // left empty with modified set and the loaded path unchanged. Runs on the load worker.
  int load(const std::string& path, ProgressSink* progress);
  // Loads loaded_path().
  int load(ProgressSink* progress);
  // Writes the audio to path as the path's kind, moving it to that kind's holder first. A
  // failed save leaves an existing file at path untouched and no partial file behind.
  int save(const std::string& path, ProgressSink* progress);
  // Saves to saved_path().
  int save(ProgressSink* progress);
  // Empties both holders and both paths; modified 0.
  void reset();

  // Moves the audio into the WMA holder / the WAV clip (no copy). Fail when empty.
  int use_wma_holder();
  int use_wav_clip();

  // From now on, keeps a recovery record of the audio in the temporary folder while the
  // document holds audio (document_recovery.cpp), so that the samples outlive a crash.
  void keep_recovery_record();
  // Replaces everything by the audio of a document whose process died: its sample files become
  // the current clip (no copy), modified, with its paths (a WMA document's tags are not
  // kept). On failure the document is empty and the caller discards what is left.
  int adopt_recovered(StaleDocument& stale);

  WmaAudio& wma_holder() { return wma_; }
  const WmaAudio& wma_holder() const { return wma_; }
  AudioClip& wav_clip() { return wav_; }
  const AudioClip& wav_clip() const { return wav_; }

 private:
  int edited(int result);
  void clear_holders();
  // Brings the recovery record (when kept) in line with the document.
  void sync_recovery();

  int modified_ = 0;
  std::string loaded_path_;
  std::string saved_path_;
  WmaAudio wma_;
  AudioClip wav_;
  std::unique_ptr<RecoveryRecord> recovery_;
};

}  // namespace voxtrelle
