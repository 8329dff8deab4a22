// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace voxtrelle {

class AudioDocument;
class WavePlayer;
struct PeakLists;

// What the editing view's windows share with the main frame: the document, the player (play
// position and selection), and two calls back into the frame.
struct EditContext {
  AudioDocument* document = nullptr;
  WavePlayer* player = nullptr;
  // The waveform's peaks for a number of columns; the document's own unless a test counts them.
  std::function<int(PeakLists& lists, int32_t columns)> peaks;
  // True while a load or save job works on the document on another thread: the views must not
  // read it then.
  std::function<bool()> document_busy;
  // The selection or position changed under the mouse: the time panes should follow.
  std::function<void()> times_changed;
};

}  // namespace voxtrelle
