// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voxtrelle/audio/wave_format.h"

namespace voxtrelle {

class AudioDocument;

// What a recovery record says about a document that holds audio: enough to take its sample
// files over as a clip after its process died.
struct RecoveryInfo {
  long owner = 0;    // process id, for people reading the file
  int kind = -1;     // FileKind of the document
  int modified = 0;  // 1 when the audio differs from every file on disk
  std::string loaded_path;
  std::string saved_path;
  PcmHeader format;
  int32_t frames = 0;                 // per channel
  int64_t bytes = 0;                  // PCM data bytes on the file side
  std::vector<std::string> channels;  // sample file paths, one per channel
};

// The record's text, and back; parse fails on anything malformed.
std::string format_recovery_record(const RecoveryInfo& info);
bool parse_recovery_record(const std::string& text, RecoveryInfo& info);
// The record of a document as it stands now; channels is empty when it holds no audio.
RecoveryInfo recovery_info_of(const AudioDocument& document);

// The recovery record of one live document: a small file "~VeNNN.rec" beside its sample files
// in the temporary folder, locked (flock) for as long as this object holds it. Each write
// replaces the file atomically by a new, already locked one. Removed on destruction.
class RecoveryRecord {
 public:
  RecoveryRecord() = default;
  ~RecoveryRecord();
  RecoveryRecord(const RecoveryRecord&) = delete;
  RecoveryRecord& operator=(const RecoveryRecord&) = delete;

  // Writes the record when it differs from the last one written. Returns 1/0; a record that
  // cannot be written never fails the caller's work, it only leaves nothing to recover.
  int write(const RecoveryInfo& info);
  // Deletes the record.
  void remove();
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;  // holds the lock on the file at path_
  std::string path_;
  std::string text_;  // what the file holds
};

// A record whose process is gone, found at start-up; its lock is held by this object until it
// is destroyed (so no second editor handles it at the same time).
class StaleDocument {
 public:
  StaleDocument(std::string path, RecoveryInfo info, int fd);
  ~StaleDocument();
  StaleDocument(StaleDocument&& other) noexcept;
  StaleDocument& operator=(StaleDocument&& other) noexcept;
  StaleDocument(const StaleDocument&) = delete;

  const RecoveryInfo& info() const { return info_; }
  const std::string& path() const { return path_; }
  // Deletes the sample files and the record.
  void discard();
  // Deletes the record only (its sample files now belong to someone else).
  void forget();

 private:
  std::string path_;
  RecoveryInfo info_;
  int fd_ = -1;
};

// Looks through the temporary folder for what dead processes left: sample files of no live
// process and records of unmodified documents are deleted, as are records that do not match
// their files. Records of modified documents are returned, newest first, for the user to
// recover or discard. Files another live process holds are never touched.
std::vector<StaleDocument> collect_stale_documents();

}  // namespace voxtrelle
