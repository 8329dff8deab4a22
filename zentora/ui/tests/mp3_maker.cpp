// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/tests/mp3_maker.h"

#include <gst/gst.h>

#include <stdexcept>

namespace zentora::test {

void MakeMp3(const std::string& path, double seconds) {
  gst_init(nullptr, nullptr);
  const int buffers = static_cast<int>(seconds * 44100 / 1024) + 1;
  const std::string description =
      "audiotestsrc num-buffers=" + std::to_string(buffers) +
      " samplesperbuffer=1024 freq=440 ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! "
      "lamemp3enc target=bitrate bitrate=128 cbr=true ! filesink name=out";
  GError* error = nullptr;
  GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
  if (!pipeline) throw std::runtime_error(error ? error->message : "pipeline");
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  g_object_set(out, "location", path.c_str(), nullptr);
  gst_object_unref(out);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* end = gst_bus_timed_pop_filtered(
      bus, 30 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
  if (end) gst_message_unref(end);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  if (!ok) throw std::runtime_error("encoding the test MP3 failed");
}

}  // namespace zentora::test
