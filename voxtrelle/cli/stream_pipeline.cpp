// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/stream_pipeline.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "voxtrelle/audio/sample_kernels.h"
#include "voxtrelle/audio/sample_store.h"

namespace voxtrelle::cli {
namespace {

constexpr int32_t kRunFrames = static_cast<int32_t>(kRunSamples);
// Frames per read from the input: one page, as the document's load reads them.
constexpr int32_t kReadFrames = static_cast<int32_t>(kPageSamples);

bool is_8bit(const WaveFormat& format) {
  return format.nBlockAlign / format.nChannels == 1;
}

// Planar floats of up to one run of frames.
struct Block {
  float* samples[2];
  int channels;
  int32_t frames;
};

// A frame range [begin, end) intersected with the n frames from position at, as offsets into
// those frames; empty when first >= last.
struct Overlap {
  int32_t first;
  int32_t last;
};
Overlap overlap(int64_t at, int32_t n, int64_t begin, int64_t end) {
  const int64_t first = std::clamp<int64_t>(begin - at, 0, n);
  const int64_t last = std::clamp<int64_t>(end - at, 0, n);
  return {static_cast<int32_t>(first), static_cast<int32_t>(std::max(first, last))};
}

// Removes frames [first, last) of the block, or with keep, everything but them.
void drop_frames(Block& block, Overlap o, bool keep) {
  for (int c = 0; c < block.channels; ++c) {
    float* s = block.samples[c];
    if (keep) {
      std::memmove(s, s + o.first, sizeof(float) * static_cast<size_t>(o.last - o.first));
    } else {
      std::memmove(s + o.first, s + o.last,
                   sizeof(float) * static_cast<size_t>(block.frames - o.last));
    }
  }
  block.frames = keep ? o.last - o.first : block.frames - (o.last - o.first);
}

// Frames dropped by a stage from a stretch of n frames at position at that holds no samples.
int64_t frames_kept(const Stage& stage, int64_t at, int64_t n) {
  const int64_t inside =
      std::max<int64_t>(0, std::min(stage.end, at + n) - std::max(stage.begin, at));
  if (stage.kind == StageKind::kCut) return n - inside;
  if (stage.kind == StageKind::kKeep) return inside;
  return n;
}

// The smallest and largest sums a mono mix met.
struct MixSeen {
  float low = 0.0f;
  float high = 0.0f;
};

void apply(const Stage& stage, int64_t at, Block& block, MixSeen& mix) {
  const Overlap o = overlap(at, block.frames, stage.begin, stage.end);
  const int32_t n = o.last - o.first;
  switch (stage.kind) {
    case StageKind::kCut:
    case StageKind::kKeep:
      drop_frames(block, o, stage.kind == StageKind::kKeep);
      return;
    case StageKind::kScale:
      for (int c = 0; c < block.channels && n > 0; ++c) {
        kernels::scale(block.samples[c] + o.first, n, stage.percent);
      }
      return;
    case StageKind::kMaximize:
      for (int c = 0; c < block.channels && n > 0; ++c) {
        if (stage.percents[c] != 100) {
          kernels::scale(block.samples[c] + o.first, n, stage.percents[c]);
        }
      }
      return;
    case StageKind::kFadeIn:
    case StageKind::kFadeOut:
      for (int c = 0; c < block.channels && n > 0; ++c) {
        const int64_t k = at + o.first - stage.begin;
        if (stage.kind == StageKind::kFadeIn) {
          kernels::fade_in(block.samples[c] + o.first, n, k, stage.end - stage.begin);
        } else {
          kernels::fade_out(block.samples[c] + o.first, n, k, stage.end - stage.begin);
        }
      }
      return;
    case StageKind::kToMono: {
      kernels::mix(block.samples[0], block.samples[1], block.frames, mix.low, mix.high);
      if (stage.factor != 0.0f) kernels::rescale(block.samples[0], block.frames, stage.factor);
      block.channels = 1;
      return;
    }
    case StageKind::kToStereo:
      std::memcpy(block.samples[1], block.samples[0],
                  sizeof(float) * static_cast<size_t>(block.frames));
      block.channels = 2;
      return;
  }
}

// What a reading pass gathers about the input of the Maximize stage it serves.
struct Analysis {
  float peaks[2] = {0.0f, 0.0f};  // the largest |s| in the range, per channel

  void observe(const Stage& stage, int64_t at, Block& block) {
    const Overlap o = overlap(at, block.frames, stage.begin, stage.end);
    for (int c = 0; c < block.channels && o.last > o.first; ++c) {
      peaks[c] = std::max(peaks[c], kernels::peak(block.samples[c] + o.first, o.last - o.first));
    }
  }

  void settle(Stage& stage) const {
    for (int c = 0; c < 2; ++c) stage.percents[c] = kernels::maximize_percent(peaks[c]);
  }
};

// Input frame ranges [first, last) that every deletion among the stages keeps.
struct Span {
  int64_t first;
  int64_t last;
};
std::vector<Span> surviving_input(const std::vector<Stage>& stages, size_t count, int64_t frames) {
  std::vector<Span> spans = {{0, frames}};
  for (size_t i = 0; i < count; ++i) {
    const Stage& stage = stages[i];
    if (stage.kind != StageKind::kCut && stage.kind != StageKind::kKeep) continue;
    std::vector<Span> next;
    int64_t at = 0;  // the stage's own position of each span's first frame
    for (const Span& span : spans) {
      const int64_t n = span.last - span.first;
      const int64_t lo = std::clamp(stage.begin - at, int64_t{0}, n);
      const int64_t hi = std::clamp(stage.end - at, lo, n);
      if (stage.kind == StageKind::kKeep) {
        if (hi > lo) next.push_back({span.first + lo, span.first + hi});
      } else {
        if (lo > 0) next.push_back({span.first, span.first + lo});
        if (hi < n) next.push_back({span.first + hi, span.last});
      }
      at += n;
    }
    spans = std::move(next);
  }
  return spans;
}

class PcmReader {
 public:
  PcmReader(int fd, const WavDataLayout& layout, uint16_t block_align)
      : fd_(fd),
        offset_(layout.offset),
        block_align_(block_align),
        buffer_(std::make_unique_for_overwrite<uint8_t[]>(size_t{kReadFrames} * block_align)) {}

  // Frames [first, first + n), n <= kReadFrames; nullptr when the file cannot give them all.
  const uint8_t* read(int64_t first, int32_t n) {
    uint8_t* p = buffer_.get();
    size_t left = size_t{static_cast<uint32_t>(n)} * block_align_;
    uint64_t at = offset_ + static_cast<uint64_t>(first) * block_align_;
    while (left > 0) {
      const ssize_t got = pread(fd_, p, left, static_cast<off_t>(at));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return nullptr;
      p += got;
      left -= static_cast<size_t>(got);
      at += static_cast<uint64_t>(got);
    }
    return buffer_.get();
  }

 private:
  int fd_;
  uint64_t offset_;
  uint16_t block_align_;
  std::unique_ptr<uint8_t[]> buffer_;
};

class PcmWriter {
 public:
  PcmWriter(StreamOutput& output, const WaveFormat& format) : output_(output), format_(format) {}

  bool put(const Block& block) {
    if (block.frames == 0) return true;
    const size_t bytes = size_t{static_cast<uint32_t>(block.frames)} * format_.nBlockAlign;
    uint8_t* room = output_.reserve(bytes);
    if (room == nullptr) return false;
    kernels::floats_to_pcm(block.samples[0], block.samples[1], block.channels, is_8bit(format_),
                           block.frames, room);
    output_.commit(bytes);
    written_frames_ += block.frames;
    return true;
  }
  int64_t written_frames() const { return written_frames_; }

 private:
  StreamOutput& output_;
  WaveFormat format_;
  int64_t written_frames_ = 0;
};

// One pass over the input through stages [0, count): a reading pass for the stage at `count`
// when analysis is given, else the writing pass through every stage.
class Pass {
 public:
  Pass(StreamPlan& plan, size_t count, Analysis* analysis, PcmWriter* writer)
      : plan_(plan),
        count_(count),
        analysis_(analysis),
        writer_(writer),
        positions_(count + 1, 0),
        mixes_(count),
        floats_(std::make_unique_for_overwrite<float[]>(size_t{2} * kRunFrames)) {}

  // Converts and runs n frames of PCM (n <= kRunFrames).
  bool frames(const uint8_t* pcm, int32_t n) {
    Block block{{floats_.get(), floats_.get() + kRunFrames}, plan_.input_format.nChannels, n};
    kernels::pcm_to_floats(pcm, block.channels, is_8bit(plan_.input_format), n, block.samples[0],
                           block.samples[1]);
    for (size_t i = 0; i < count_ && block.frames > 0; ++i) {
      const int32_t seen = block.frames;
      apply(plan_.stages[i], positions_[i], block, mixes_[i]);
      positions_[i] += seen;
    }
    if (analysis_ != nullptr) {
      analysis_->observe(plan_.stages[count_], positions_[count_], block);
      positions_[count_] += block.frames;
      return true;
    }
    return writer_->put(block);
  }

  // n frames that the deletions drop, passed on without samples; 0 reach the end.
  bool skip(int64_t n) {
    for (size_t i = 0; i < count_ && n > 0; ++i) {
      const int64_t kept = frames_kept(plan_.stages[i], positions_[i], n);
      positions_[i] += n;
      n = kept;
    }
    return n == 0;
  }

 private:
  StreamPlan& plan_;
  size_t count_;
  Analysis* analysis_;
  PcmWriter* writer_;
  std::vector<int64_t> positions_;  // frames each stage has taken in so far
  std::vector<MixSeen> mixes_;
  std::unique_ptr<float[]> floats_;

 public:
  const MixSeen& mix_seen(size_t stage) const { return mixes_[stage]; }
};

}  // namespace

namespace {

// The first mono mix whose sums are not yet known to stay inside full scale, or stages.size().
size_t first_unknown_mix(const StreamPlan& plan) {
  for (size_t i = 0; i < plan.stages.size(); ++i) {
    if (plan.stages[i].kind == StageKind::kToMono && !plan.stages[i].mix_known) return i;
  }
  return plan.stages.size();
}

enum class Attempt { kDone, kMixRescales, kReadFailed, kWriteFailed, kCancelled };

// One run of every pass, the output written from its start. Ends early with kMixRescales when
// a mono mix turned out to need rescaling: its factor is then known and everything after it
// must be redone.
Attempt attempt(PcmReader& reader, const WavDataLayout& layout, StreamPlan& plan,
                StreamOutput& output, ProgressSink* progress) {
  const WaveFormat& in = plan.input_format;
  const WaveFormat& out = plan.output_format;
  const uint64_t data = uint64_t{static_cast<uint32_t>(plan.output_frames)} * out.nBlockAlign;
  uint8_t header[kWavHeaderBytes];
  if (!make_wav_header(out, data, header) || !output.write(header, kWavHeaderBytes)) {
    return Attempt::kWriteFailed;
  }
  std::vector<size_t> passes;  // the stage each reading pass serves, then the writing pass
  for (size_t i = 0; i < plan.stages.size(); ++i) {
    if (needs_analysis(plan.stages[i].kind)) passes.push_back(i);
  }
  passes.push_back(plan.stages.size());

  PcmWriter writer(output, out);
  const int64_t total = int64_t{layout.frames} * static_cast<int64_t>(passes.size());
  int64_t done = 0;  // frames of all passes, for the progress
  for (size_t p = 0; p < passes.size(); ++p) {
    const size_t count = passes[p];
    const bool writing = p + 1 == passes.size();
    Analysis analysis;
    Pass pass(plan, count, writing ? nullptr : &analysis, writing ? &writer : nullptr);
    // A mix still being checked must see every frame that reaches it, including those a later
    // deletion drops.
    const size_t skip_through = std::min(count, first_unknown_mix(plan));
    int64_t at = 0;
    for (const Span& span : surviving_input(plan.stages, skip_through, layout.frames)) {
      if (span.first > at && !pass.skip(span.first - at)) return Attempt::kReadFailed;
      for (at = span.first; at < span.last;) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(kReadFrames, span.last - at));
        const uint8_t* pcm = reader.read(at, n);
        if (pcm == nullptr) return Attempt::kReadFailed;
        for (int32_t k = 0; k < n; k += kRunFrames) {
          const int32_t run = std::min(kRunFrames, n - k);
          if (!pass.frames(pcm + size_t{static_cast<uint32_t>(k)} * in.nBlockAlign, run)) {
            return Attempt::kWriteFailed;
          }
        }
        at += n;
        if (cancel_requested(progress)) return Attempt::kCancelled;
        if (progress != nullptr) {
          progress->set_percent(static_cast<float>((done + at) * 100 / total));
        }
      }
    }
    if (at < layout.frames && !pass.skip(layout.frames - at)) return Attempt::kReadFailed;
    done += layout.frames;
    // The mixes this pass ran whole, in order: each one's input is final once those before it
    // are.
    for (size_t i = 0; i < count; ++i) {
      Stage& stage = plan.stages[i];
      if (stage.kind != StageKind::kToMono || stage.mix_known) continue;
      stage.mix_known = true;
      stage.factor = kernels::mix_rescale(pass.mix_seen(i).low, pass.mix_seen(i).high);
      if (stage.factor != 0.0f) return Attempt::kMixRescales;
    }
    if (!writing) analysis.settle(plan.stages[count]);
  }
  const uint8_t pad = 0;
  if (writer.written_frames() != plan.output_frames ||
      ((data & 1) != 0 && !output.write(&pad, 1)) || !output.finish()) {
    return Attempt::kWriteFailed;
  }
  return Attempt::kDone;
}

}  // namespace

StreamResult stream_edit(int input, const WavDataLayout& layout, StreamPlan& plan, int output,
                         ProgressSink* progress) {
  if (layout.frames != plan.input_frames) return StreamResult::kReadFailed;
  PcmReader reader(input, layout, plan.input_format.nBlockAlign);
  for (;;) {
    Attempt result = Attempt::kWriteFailed;
    {
      StreamOutput stream(output);
      result = attempt(reader, layout, plan, stream, progress);
    }
    switch (result) {
      case Attempt::kDone:
        return cancel_requested(progress) ? StreamResult::kCancelled : StreamResult::kDone;
      case Attempt::kMixRescales:
        if (ftruncate(output, 0) != 0) return StreamResult::kWriteFailed;
        continue;
      case Attempt::kReadFailed:
        return StreamResult::kReadFailed;
      case Attempt::kWriteFailed:
        return StreamResult::kWriteFailed;
      case Attempt::kCancelled:
        return StreamResult::kCancelled;
    }
  }
}

}  // namespace voxtrelle::cli
