// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a planned chain over the PCM frames of a WAV file and writes the result: the frames are
// read in runs, converted to floats, passed through the stages and converted back, so memory
// holds a few runs whatever the length and nothing goes through temporary sample files. A
// stage that needs its whole input first (Maximize, the mono mix) gets a reading pass of its
// own before the writing pass. Each stage uses the document's own per-sample kernels, so the
// file is byte for byte what loading, editing and saving would have written.
#pragma once

#include "voxtrelle/audio/progress.h"
#include "voxtrelle/audio/wav_layout.h"
#include "voxtrelle/cli/stream_output.h"
#include "voxtrelle/cli/stream_plan.h"

namespace voxtrelle::cli {

enum class StreamResult { kDone, kReadFailed, kWriteFailed, kCancelled };

// Reads layout.frames frames of plan.input_format from the descriptor `input` (positioned
// reads; the descriptor's offset is unused) and writes the complete output file (header,
// frames, pad byte) to the empty file `output` (a mono mix found to need rescaling makes it
// start over). Fills the stages' analysis results in plan.
// Checks progress for cancellation after each piece and moves it over the passes.
StreamResult stream_edit(int input, const WavDataLayout& layout, StreamPlan& plan, int output,
                         ProgressSink* progress);

}  // namespace voxtrelle::cli
