// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/warning_sound.h"

#include <gst/gst.h>

#include <filesystem>
#include <thread>

#include "zentora/core/gst_mp3_player.h"

namespace zentora {
namespace {

constexpr std::uintmax_t kMaxSoundBytes = 1048576;

// Plays the file to its end on the calling thread.
void PlaySync(const std::string& path) {
  gst_init(nullptr, nullptr);
  GError* error = nullptr;
  gchar* uri = gst_filename_to_uri(path.c_str(), &error);
  if (!uri) {
    g_clear_error(&error);
    return;
  }
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = gst_parse_bin_from_description(AudioSinkDescription().c_str(), TRUE, &error);
  g_clear_error(&error);
  if (!playbin) {
    if (sink) gst_object_unref(sink);
    g_free(uri);
    return;
  }
  g_object_set(playbin, "uri", uri, nullptr);
  if (sink) g_object_set(playbin, "audio-sink", sink, nullptr);  // playbin takes the reference
  g_free(uri);
  if (gst_element_set_state(playbin, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
    GstBus* bus = gst_element_get_bus(playbin);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, 10 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (end) gst_message_unref(end);
    gst_object_unref(bus);
  }
  gst_element_set_state(playbin, GST_STATE_NULL);
  gst_object_unref(playbin);
}

}  // namespace

bool PlayWarningSound(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size == 0 || size >= kMaxSoundBytes) return false;
  std::thread([path] { PlaySync(path); }).detach();
  return true;
}

}  // namespace zentora
