// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/gst_mp3_player.h"

#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "zentora/core/play_state.h"
#include "zentora/core/text_table.h"

namespace zentora {
namespace {

constexpr GstClockTime kPrerollTimeout = 10 * GST_SECOND;
constexpr GstClockTime kSeekSettleTimeout = 200 * GST_MSECOND;
// How long a sound device may take to accept the first audio, checked in slices so that an
// error ends the wait at once.
constexpr GstClockTime kDevicePrerollTimeout = 4 * GST_SECOND;
constexpr GstClockTime kStateSlice = 50 * GST_MSECOND;
// Reading every frame of a suspicious file (parsing only, no decoding).
constexpr GstClockTime kFrameCountTimeout = 30 * GST_SECOND;
// How far a header's length may lie from the counted frames' length.
constexpr int32_t kLengthToleranceMs = 1000;
// MP3 streams run at 8 to 640 kbit/s; the bounds leave room for padding and small tags.
constexpr double kMinPlausibleKbps = 4.0;
constexpr double kMaxPlausibleKbps = 1000.0;

void EnsureGstInit() {
  static std::once_flag once;
  std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

// Framework nanoseconds -> whole milliseconds (truncating), and back.
int32_t ToMs(gint64 ns) {
  return static_cast<int32_t>(ns / 1000 / 1000);
}
gint64 ToNs(int32_t ms) {
  return static_cast<gint64>(ms) * 1000 * 1000;
}

// Unrefs a GstObject-derived pointer when it goes out of scope.
template <typename T>
struct GstRef {
  T* ptr = nullptr;
  explicit GstRef(T* p = nullptr) : ptr(p) {}
  ~GstRef() {
    if (ptr != nullptr) gst_object_unref(ptr);
  }
  GstRef(const GstRef&) = delete;
  GstRef& operator=(const GstRef&) = delete;
  T* release() { return std::exchange(ptr, nullptr); }
};

struct MessageRef {
  GstMessage* msg;
  ~MessageRef() {
    if (msg != nullptr) gst_message_unref(msg);
  }
};

// Whether object lies inside (or is) the element named name.
bool InsideNamed(GstObject* object, const char* name) {
  for (GstObject* o = object; o != nullptr; o = GST_OBJECT_PARENT(o)) {
    if (GST_IS_ELEMENT(o) && g_strcmp0(GST_OBJECT_NAME(o), name) == 0) return true;
  }
  return false;
}

// A renderer that fell back to a fake sink although none was asked for has no device.
bool RendererIsFake(GstElement* renderer, const std::string& description) {
  if (description.find("fakesink") != std::string::npos || !GST_IS_BIN(renderer)) return false;
  bool fake = false;
  GstIterator* it = gst_bin_iterate_recurse(GST_BIN(renderer));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    GstElementFactory* factory = gst_element_get_factory(element);
    if (factory != nullptr &&
        g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "fakesink") == 0) {
      fake = true;
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return fake;
}

// Our text for an error message of the pipeline.
std::string ErrorTextFor(GstMessage* message) {
  GError* error = nullptr;
  gst_message_parse_error(message, &error, nullptr);
  std::string text;
  if (InsideNamed(GST_MESSAGE_SRC(message), "renderer")) {
    text = NoAudioDeviceText();
  } else if (InsideNamed(GST_MESSAGE_SRC(message), "source")) {
    text = "无法读取文件。";
  } else if (error != nullptr && error->domain == GST_STREAM_ERROR) {
    text = "文件不是有效的mp3格式，或数据已损坏。";
  } else {
    text = "播放引擎出错，无法处理此文件。";
  }
  g_clear_error(&error);
  return text;
}

GstElement* MakeRendererSink(const std::string& description, std::string* errorText) {
  GError* error = nullptr;
  GstElement* sink = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
  if (sink == nullptr || error != nullptr) {
    g_clear_error(&error);
    if (sink != nullptr) gst_object_unref(sink);
    if (errorText != nullptr) *errorText = NoAudioDeviceText();
    return nullptr;
  }
  return sink;
}

// Called for id3demux's pad that appears once the tag has been read.
void LinkDemuxedPad(GstElement*, GstPad* pad, gpointer parser) {
  GstRef<GstPad> sink(gst_element_get_static_pad(GST_ELEMENT(parser), "sink"));
  if (sink.ptr != nullptr && !gst_pad_is_linked(sink.ptr)) gst_pad_link(pad, sink.ptr);
}

GstElement* MakeParser(int variant) {
  if (variant == 1) return gst_element_factory_make("mpegaudioparse", "mp3Parser");
  // Variant 2 reads past ID3v2 tags before the frames are parsed.
  GstElement* bin = gst_bin_new("mp3Parser");
  GstElement* demux = gst_element_factory_make("id3demux", "tagDemux");
  GstElement* parser = gst_element_factory_make("mpegaudioparse", "frameParser");
  if (demux == nullptr || parser == nullptr) {
    if (demux != nullptr) gst_object_unref(demux);
    if (parser != nullptr) gst_object_unref(parser);
    gst_object_unref(bin);
    return nullptr;
  }
  gst_bin_add_many(GST_BIN(bin), demux, parser, nullptr);
  // Depending on the version the demuxer's source pad exists at once or appears later.
  if (GstRef<GstPad> demuxed(gst_element_get_static_pad(demux, "src")); demuxed.ptr != nullptr) {
    LinkDemuxedPad(demux, demuxed.ptr, parser);
  } else {
    g_signal_connect(demux, "pad-added", G_CALLBACK(LinkDemuxedPad), parser);
  }
  GstRef<GstPad> sink(gst_element_get_static_pad(demux, "sink"));
  GstRef<GstPad> src(gst_element_get_static_pad(parser, "src"));
  gst_element_add_pad(bin, gst_ghost_pad_new("sink", sink.ptr));
  gst_element_add_pad(bin, gst_ghost_pad_new("src", src.ptr));
  return bin;
}

// The parser that reads the MPEG frames (inside variant 2's bin), or nullptr.
GstElement* FrameParser(GstElement* pipeline) {
  GstElement* parser = gst_bin_get_by_name(GST_BIN(pipeline), "frameParser");
  return parser != nullptr ? parser : gst_bin_get_by_name(GST_BIN(pipeline), "mp3Parser");
}

// Bytes of the audio stream the frame parser reads (without the tags variant 2 strips).
gint64 StreamBytes(GstElement* pipeline) {
  GstRef<GstElement> parser(FrameParser(pipeline));
  if (parser.ptr == nullptr) return -1;
  GstRef<GstPad> pad(gst_element_get_static_pad(parser.ptr, "sink"));
  gint64 bytes = -1;
  if (pad.ptr == nullptr || !gst_pad_peer_query_duration(pad.ptr, GST_FORMAT_BYTES, &bytes)) {
    return -1;
  }
  return bytes;
}

// The length of a prerolled pipeline. While prerolled the parser has seen only the first
// frames and may have no duration yet; it can already convert the stream's size to time from
// the bit rate of those frames.
gint64 StreamDurationNs(GstElement* pipeline) {
  gint64 ns = -1;
  if (gst_element_query_duration(pipeline, GST_FORMAT_TIME, &ns) && ns > 0) return ns;
  GstRef<GstElement> parser(FrameParser(pipeline));
  const gint64 bytes = StreamBytes(pipeline);
  if (parser.ptr == nullptr || bytes <= 0) return -1;
  GstRef<GstPad> pad(gst_element_get_static_pad(parser.ptr, "src"));
  if (pad.ptr == nullptr ||
      !gst_pad_query_convert(pad.ptr, GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME, &ns)) {
    return -1;
  }
  return ns;
}

// The length of the frames the parser finds when it reads the whole file, or -1.
gint64 CountedLengthNs(const std::string& path, int variant) {
  GstRef<GstElement> pipeline(gst_pipeline_new("frameCount"));
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* parser = MakeParser(variant);
  GstElement* sink = gst_element_factory_make("fakesink", nullptr);
  for (GstElement* e : {source, parser, sink}) {
    if (e != nullptr) gst_bin_add(GST_BIN(pipeline.ptr), e);
  }
  if (source == nullptr || parser == nullptr || sink == nullptr ||
      !gst_element_link_many(source, parser, sink, nullptr)) {
    return -1;
  }
  g_object_set(source, "location", path.c_str(), nullptr);
  g_object_set(sink, "sync", FALSE, "enable-last-sample", TRUE, nullptr);
  gint64 end = -1;
  GstRef<GstBus> bus(gst_element_get_bus(pipeline.ptr));
  if (gst_element_set_state(pipeline.ptr, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
    MessageRef done{gst_bus_timed_pop_filtered(
        bus.ptr, kFrameCountTimeout,
        static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))};
    GstSample* last = nullptr;
    if (done.msg != nullptr && GST_MESSAGE_TYPE(done.msg) == GST_MESSAGE_EOS) {
      g_object_get(sink, "last-sample", &last, nullptr);
    }
    if (last != nullptr) {
      GstBuffer* buffer = gst_sample_get_buffer(last);
      if (buffer != nullptr && GST_BUFFER_PTS_IS_VALID(buffer)) {
        end =
            static_cast<gint64>(GST_BUFFER_PTS(buffer)) +
            (GST_BUFFER_DURATION_IS_VALID(buffer) ? static_cast<gint64>(GST_BUFFER_DURATION(buffer))
                                                  : 0);
      }
      gst_sample_unref(last);
    }
  }
  gst_element_set_state(pipeline.ptr, GST_STATE_NULL);
  return end;
}

// A damaged VBR header claims a length that the frames do not have. Tags, trailing junk and
// free-format or very low bit-rate streams can make the size-to-length figure look just as
// odd, so an odd figure only counts as damage when the frames, counted, disagree with it.
bool LengthIsPlausible(GstElement* probe, const std::string& path, int variant,
                       int32_t durationMs) {
  const gint64 bytes = StreamBytes(probe);
  if (bytes <= 0) return true;
  const double kbps = static_cast<double>(bytes) * 8.0 / durationMs;
  if (kbps >= kMinPlausibleKbps && kbps <= kMaxPlausibleKbps) return true;
  const int32_t counted = ToMs(CountedLengthNs(path, variant));
  return counted > 0 &&
         std::abs(counted - durationMs) <= std::max(kLengthToleranceMs, counted / 20);
}

class Mp3PlayerGst : public Mp3Player {
 public:
  Mp3PlayerGst() { EnsureGstInit(); }
  ~Mp3PlayerGst() override { tearDown(); }

  int build(const std::string& path, int variant, std::string* errorText) override;
  void tearDown() override;
  bool isBuilt() const override { return pipeline_ != nullptr; }
  int run(std::string* errorText) override;
  void pause() override { setState(GST_STATE_PAUSED); }
  void stop() override {
    setState(GST_STATE_PAUSED);
    eos_ = false;
  }
  int32_t currentMs() override;
  int32_t durationMs() override { return durationMs_; }
  bool atEnd() override { return eos_ || (durationMs() > 0 && currentMs() >= durationMs()); }
  void seekMs(int32_t ms) override;
  void setVolume(int32_t hundredthsDb) override;
  void setErrorCallback(ErrorCallback callback) override {
    std::lock_guard lock(callbackMutex_);
    callback_ = std::move(callback);
  }

 private:
  static GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer self);
  GstElement* makeRenderer(std::string* errorText);
  static GstElement* assemble(const std::string& path, int variant, GstElement* renderer,
                              std::string* errorText);
  static int probeFile(const std::string& path, int variant, int32_t* durationMs,
                       std::string* errorText);
  int prerollRenderer(std::string* errorText);
  int fail(const std::string& text, std::string* errorText) {
    if (errorText != nullptr) *errorText = text;
    tearDown();
    return 0;
  }
  GstStateChangeReturn setState(GstState state) {
    return pipeline_ == nullptr ? GST_STATE_CHANGE_FAILURE
                                : gst_element_set_state(pipeline_, state);
  }

  GstElement* pipeline_ = nullptr;
  GstElement* volume_ = nullptr;  // owned by the pipeline
  int32_t volumeCdb_ = 0;         // hundredths of a dB
  int32_t durationMs_ = 0;
  int32_t lastPositionMs_ = 0;
  bool prerolled_ = false;  // the sound device took the first audio
  std::atomic<bool> eos_{false};
  std::mutex callbackMutex_;
  ErrorCallback callback_;
  std::string lastError_;  // guarded by callbackMutex_
};

GstElement* Mp3PlayerGst::makeRenderer(std::string* errorText) {
  GstElement* sink = MakeRendererSink(AudioSinkDescription(), errorText);
  if (sink == nullptr) return nullptr;
  GstElement* bin = gst_bin_new("renderer");
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* volume = gst_element_factory_make("volume", "volume");
  if (convert == nullptr || resample == nullptr || volume == nullptr) {
    for (GstElement* e : {convert, resample, volume, sink}) {
      if (e != nullptr) gst_object_unref(e);
    }
    gst_object_unref(bin);
    if (errorText != nullptr) *errorText = NoAudioDeviceText();
    return nullptr;
  }
  gst_bin_add_many(GST_BIN(bin), convert, resample, volume, sink, nullptr);
  gst_element_link_many(convert, resample, volume, sink, nullptr);
  GstRef<GstPad> pad(gst_element_get_static_pad(convert, "sink"));
  gst_element_add_pad(bin, gst_ghost_pad_new("sink", pad.ptr));
  volume_ = volume;
  return bin;
}

// The four named elements in a new pipeline; nullptr with *errorText on failure.
GstElement* Mp3PlayerGst::assemble(const std::string& path, int variant, GstElement* renderer,
                                   std::string* errorText) {
  GstElement* pipeline = gst_pipeline_new("zentora");
  GstElement* source = gst_element_factory_make("filesrc", "source");
  GstElement* parser = MakeParser(variant);
  GstElement* decoder = gst_element_factory_make("mpg123audiodec", "decoder");
  for (GstElement* e : {source, parser, decoder, renderer}) {
    if (e != nullptr) gst_bin_add(GST_BIN(pipeline), e);
  }
  const char* failure = nullptr;
  if (source == nullptr || parser == nullptr || decoder == nullptr) {
    failure = "播放组件缺失，请重新安装 Zentora。";
  } else {
    g_object_set(source, "location", path.c_str(), nullptr);
    if (!gst_element_link(source, parser) || !gst_element_link(parser, decoder) ||
        !gst_element_link(decoder, renderer)) {
      failure = "播放组件无法连接。";
    }
  }
  if (failure == nullptr) return pipeline;
  if (errorText != nullptr) *errorText = failure;
  gst_object_unref(pipeline);
  return nullptr;
}

// Whether the file can be played, decided without the sound device: the same parser and
// decoder feed a fake sink. On success *durationMs holds the file's length.
int Mp3PlayerGst::probeFile(const std::string& path, int variant, int32_t* durationMs,
                            std::string* errorText) {
  GstElement* sink = gst_element_factory_make("fakesink", "renderer");
  if (sink == nullptr) {
    if (errorText != nullptr) *errorText = "播放组件缺失，请重新安装 Zentora。";
    return 0;
  }
  g_object_set(sink, "sync", FALSE, nullptr);
  GstRef<GstElement> probe(assemble(path, variant, sink, errorText));
  if (probe.ptr == nullptr) return 0;
  GstRef<GstBus> bus(gst_element_get_bus(probe.ptr));
  std::string failure;
  if (gst_element_set_state(probe.ptr, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
    MessageRef error{gst_bus_pop_filtered(bus.ptr, GST_MESSAGE_ERROR)};
    failure = error.msg != nullptr ? ErrorTextFor(error.msg) : "播放引擎出错，无法处理此文件。";
  } else {
    MessageRef done{gst_bus_timed_pop_filtered(
        bus.ptr, kPrerollTimeout,
        static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE))};
    if (done.msg == nullptr) {
      failure = "文件载入超时。";
    } else if (GST_MESSAGE_TYPE(done.msg) == GST_MESSAGE_ERROR) {
      failure = ErrorTextFor(done.msg);
    } else if ((*durationMs = ToMs(StreamDurationNs(probe.ptr))) <= 0) {
      failure = "文件不是有效的mp3格式，或数据已损坏。";
    } else if (!LengthIsPlausible(probe.ptr, path, variant, *durationMs)) {
      failure = "文件的长度信息已损坏。";
    }
  }
  gst_element_set_state(probe.ptr, GST_STATE_NULL);
  if (failure.empty()) return 1;
  if (errorText != nullptr) *errorText = failure;
  return 0;
}

int Mp3PlayerGst::build(const std::string& path, int variant, std::string* errorText) {
  tearDown();
  if (FILE* probe = std::fopen(path.c_str(), "rb"); probe != nullptr) {
    std::fclose(probe);
  } else {
    return fail("无法打开文件。", errorText);
  }
  int32_t duration = 0;
  std::string error;
  if (!probeFile(path, variant, &duration, &error)) return fail(error, errorText);

  GstElement* renderer = makeRenderer(&error);
  if (renderer == nullptr) return fail(error, errorText);
  pipeline_ = assemble(path, variant, renderer, &error);
  if (pipeline_ == nullptr) return fail(error, errorText);
  setVolume(volumeCdb_);
  durationMs_ = duration;
  GstRef<GstBus> bus(gst_element_get_bus(pipeline_));
  gst_bus_set_sync_handler(bus.ptr, &Mp3PlayerGst::OnBusMessage, this, nullptr);
  eos_ = false;
  lastPositionMs_ = 0;
  // The file is good; a device that cannot start now is reported when playing starts.
  prerolled_ = prerollRenderer(nullptr);
  return 1;
}

// Pauses the pipeline until the first audio reached the sound device. 0 with *errorText when
// the device fails, never gets ready, or is a fake one that stands in for a missing device.
int Mp3PlayerGst::prerollRenderer(std::string* errorText) {
  {
    std::lock_guard lock(callbackMutex_);
    lastError_.clear();
  }
  bool ok = setState(GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
  for (GstClockTime waited = 0; ok; waited += kStateSlice) {
    const GstStateChangeReturn r = gst_element_get_state(pipeline_, nullptr, nullptr, kStateSlice);
    if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL) break;
    std::lock_guard lock(callbackMutex_);
    ok = r != GST_STATE_CHANGE_FAILURE && lastError_.empty() && waited < kDevicePrerollTimeout;
  }
  if (ok) {
    GstRef<GstElement> renderer(gst_bin_get_by_name(GST_BIN(pipeline_), "renderer"));
    ok = !RendererIsFake(renderer.ptr, AudioSinkDescription());
  }
  if (ok) return 1;
  if (errorText != nullptr) {
    std::lock_guard lock(callbackMutex_);
    *errorText = lastError_.empty() ? NoAudioDeviceText() : lastError_;
  }
  setState(GST_STATE_READY);
  return 0;
}

GstBusSyncReply Mp3PlayerGst::OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
  auto* self = static_cast<Mp3PlayerGst*>(data);
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
    self->eos_ = true;
  } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
    const std::string text = ErrorTextFor(message);
    std::lock_guard lock(self->callbackMutex_);
    self->lastError_ = text;
    if (self->callback_) self->callback_(text);
  }
  gst_message_unref(message);
  return GST_BUS_DROP;  // nobody pops this bus
}

void Mp3PlayerGst::tearDown() {
  if (pipeline_ == nullptr) return;
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  GstRef<GstBus> bus(gst_element_get_bus(pipeline_));
  gst_bus_set_sync_handler(bus.ptr, nullptr, nullptr, nullptr);
  gst_object_unref(pipeline_);
  pipeline_ = nullptr;
  volume_ = nullptr;
  prerolled_ = false;
  durationMs_ = 0;
  lastPositionMs_ = 0;
  eos_ = false;
}

int Mp3PlayerGst::run(std::string* errorText) {
  // A device that failed while loading gets another chance each time playing starts.
  if (!prerolled_ && !(prerolled_ = prerollRenderer(errorText))) return 0;
  {
    std::lock_guard lock(callbackMutex_);
    lastError_.clear();
  }
  if (setState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) return 1;
  if (errorText != nullptr) {
    std::lock_guard lock(callbackMutex_);
    *errorText = lastError_.empty() ? NoAudioDeviceText() : lastError_;
  }
  setState(GST_STATE_PAUSED);
  return 0;
}

int32_t Mp3PlayerGst::currentMs() {
  if (pipeline_ == nullptr) return 0;
  gint64 ns = 0;
  if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &ns) && ns >= 0) {
    lastPositionMs_ = ToMs(ns);
  }
  const int32_t duration = durationMs();
  return lastPositionMs_ > duration && duration > 0 ? duration : lastPositionMs_;
}

void Mp3PlayerGst::seekMs(int32_t ms) {
  if (pipeline_ == nullptr) return;
  const int32_t duration = durationMs();
  if (ms > duration) ms = duration;
  if (ms < 0) ms = 0;
  eos_ = false;
  lastPositionMs_ = ms;
  gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                          static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                          ToNs(ms));
  // Let the flush settle so the next position read already answers from the new place.
  gst_element_get_state(pipeline_, nullptr, nullptr, kSeekSettleTimeout);
}

void Mp3PlayerGst::setVolume(int32_t hundredthsDb) {
  volumeCdb_ = hundredthsDb;
  if (volume_ == nullptr) return;
  const double linear =
      hundredthsDb <= kVolumeSilence ? 0.0 : std::pow(10.0, hundredthsDb / 2000.0);
  g_object_set(volume_, "volume", linear, nullptr);
}

}  // namespace

std::string AudioSinkDescription() {
  const char* env = std::getenv("ZENTORA_AUDIO_SINK");
  return env != nullptr && *env != '\0' ? env : "autoaudiosink";
}

std::unique_ptr<Mp3Player> GstPlayerBackend::createPlayer() {
  return std::make_unique<Mp3PlayerGst>();
}

int GstPlayerBackend::checkRenderer(std::string* errorText) {
  EnsureGstInit();
  const std::string description = AudioSinkDescription();
  GstElement* sink = MakeRendererSink(description, errorText);
  if (sink == nullptr) return 0;
  GstRef<GstElement> pipeline(gst_pipeline_new("rendererCheck"));
  gst_bin_add(GST_BIN(pipeline.ptr), sink);
  const bool started =
      gst_element_set_state(pipeline.ptr, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
  const bool ok = started && !RendererIsFake(sink, description);
  gst_element_set_state(pipeline.ptr, GST_STATE_NULL);
  if (!ok && errorText != nullptr) *errorText = NoAudioDeviceText();
  return ok ? 1 : 0;
}

int CheckPlayerElements() {
  EnsureGstInit();
  auto present = [](const char* name) {
    GstElementFactory* factory = gst_element_factory_find(name);
    if (factory == nullptr) return false;
    gst_object_unref(factory);
    return true;
  };
  if (!present("mpg123audiodec") || !present("mpegaudioparse")) return 114;
  for (const char* name : {"id3demux", "filesrc", "audioconvert", "audioresample", "volume"}) {
    if (!present(name)) return 115;
  }
  return 0;
}

}  // namespace zentora
