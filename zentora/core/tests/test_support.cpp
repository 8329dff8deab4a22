// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/tests/test_support.h"

#include <gst/gst.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

namespace zentora::testing {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/zt-core-XXXXXX";
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

bool WriteMp3(const std::string& path, const Mp3Format& format) {
  static std::once_flag once;
  std::call_once(once, [] { gst_init(nullptr, nullptr); });
  constexpr int kBuffersPerSecond = 10;
  std::ostringstream description;
  description << "audiotestsrc wave=sine freq=440 num-buffers="
              << format.seconds * kBuffersPerSecond
              << " samplesperbuffer=" << format.rate / kBuffersPerSecond
              << " ! audio/x-raw,rate=" << format.rate << ",channels=" << format.channels
              << " ! lamemp3enc "
              << (format.cbr ? "target=bitrate cbr=true bitrate=" + std::to_string(format.bitrate)
                             : std::string("target=quality quality=4 ! xingmux"))
              << " ! filesink name=out";
  GError* error = nullptr;
  GstElement* pipeline = gst_parse_launch(description.str().c_str(), &error);
  if (pipeline == nullptr || error != nullptr) {
    g_clear_error(&error);
    return false;
  }
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  g_object_set(out, "location", path.c_str(), nullptr);
  gst_object_unref(out);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* msg = gst_bus_timed_pop_filtered(
      bus, 60 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = msg != nullptr && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
  if (msg != nullptr) gst_message_unref(msg);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void UseFakeAudioSink() {
  ::setenv("ZENTORA_AUDIO_SINK", "fakesink sync=true", 1);
}

}  // namespace zentora::testing
