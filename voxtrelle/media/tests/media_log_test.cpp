// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/media_log.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "voxtrelle/media/ffmpeg_media_codec.h"

namespace voxtrelle {
namespace {

std::mutex g_lines_lock;
std::vector<std::string> g_lines;

void collect(const char* line) {
  const std::lock_guard<std::mutex> lock(g_lines_lock);
  g_lines.emplace_back(line);
}

class MediaLog : public testing::Test {
 protected:
  void SetUp() override { g_lines.clear(); }
  void TearDown() override { set_media_log_sink(nullptr); }
};

TEST_F(MediaLog, StaysQuietOnceACodecExists) {
  const FfmpegMediaCodec codec;
  testing::internal::CaptureStderr();
  av_log(nullptr, AV_LOG_ERROR, "a line nobody asked for\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MediaLog, GoesToTheSinkWithItsPrefixAndLevel) {
  set_media_log_sink(collect);
  AVClass named{};
  named.class_name = "demo";
  named.item_name = av_default_item_name;
  named.version = LIBAVUTIL_VERSION_INT;
  const AVClass* context = &named;
  testing::internal::CaptureStderr();
  av_log(&context, AV_LOG_WARNING, "first %d\n", 1);
  av_log(&context, AV_LOG_WARNING, "part ");
  av_log(&context, AV_LOG_WARNING, "two\n");
  av_log(&context, AV_LOG_TRACE, "too fine to show\n");
  set_media_log_sink(nullptr);
  av_log(&context, AV_LOG_ERROR, "after the sink went\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(g_lines.size(), 3u);
  EXPECT_EQ(g_lines[0].rfind("[demo @ ", 0), 0u) << g_lines[0];
  EXPECT_NE(g_lines[0].find("] first 1\n"), std::string::npos) << g_lines[0];
  EXPECT_EQ(g_lines[1].rfind("[demo @ ", 0), 0u) << g_lines[1];
  EXPECT_EQ(g_lines[2], "two\n");
}

}  // namespace
}  // namespace voxtrelle
