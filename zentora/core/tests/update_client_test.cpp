// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/update_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>

#include "zentora/core/tests/loopback_http_server.h"

namespace zentora {
namespace {

struct AnswerCase {
  const char* body;
  UpdateAnswer expected;
};
class UpdateAnswerFromServer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(UpdateAnswerFromServer, OnlyAMarkerAtTheVeryStartCounts) {
  test::LoopbackHttpServer server(GetParam().body);
  EXPECT_EQ(CheckForUpdate(server.Base()), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Bodies, UpdateAnswerFromServer,
    ::testing::Values(AnswerCase{"_tell", UpdateAnswer::Notice},
                      AnswerCase{"_tell me more, whatever follows", UpdateAnswer::Notice},
                      AnswerCase{"_must", UpdateAnswer::Required},
                      AnswerCase{"_must\r\n", UpdateAnswer::Required},
                      AnswerCase{" _tell", UpdateAnswer::None},
                      AnswerCase{"x_must", UpdateAnswer::None},
                      AnswerCase{"_TELL", UpdateAnswer::None}, AnswerCase{"", UpdateAnswer::None}),
    [](const auto& info) { return "body" + std::to_string(info.index); });

TEST(UpdateAnswer, OnlyTheFirstSixtyThreeBytesAreRead) {
  const std::string padding(63, 'x');
  EXPECT_EQ(ClassifyUpdateAnswer(padding + "_tell"), UpdateAnswer::None);
  EXPECT_EQ(ClassifyUpdateAnswer(std::string("\0_tell", 6)), UpdateAnswer::None);
  test::LoopbackHttpServer server("_must" + std::string(100000, 'y'));
  EXPECT_EQ(CheckForUpdate(server.Base()), UpdateAnswer::Required);
}

std::string HeaderValue(const std::string& request, const std::string& name) {
  const std::string key = "\r\n" + name + ": ";
  const size_t at = request.find(key);
  if (at == std::string::npos) return "<missing>";
  const size_t start = at + key.size();
  return request.substr(start, request.find("\r\n", start) - start);
}

TEST(UpdateRequest, AsksForTheVersionWithTheFixedHeadersAndNoCache) {
  test::LoopbackHttpServer server("nothing new");
  CheckForUpdate(server.Base());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& request = requests[0];
  EXPECT_EQ(request.substr(0, request.find("\r\n")),
            "GET /zentora/ver.php?ver=2.2.2&trial=0 HTTP/1.1");
  EXPECT_EQ(HeaderValue(request, "User-Agent"),
            "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)");
  EXPECT_EQ(HeaderValue(request, "UA-CPU"), "x86");
  EXPECT_EQ(HeaderValue(request, "Accept"), "*/*");
  EXPECT_EQ(HeaderValue(request, "Cache-Control"), "no-cache");
  EXPECT_EQ(HeaderValue(request, "Pragma"), "no-cache");
}

TEST(UsageReport, ReportsTheVersionAndTheSystemsVersionNumbers) {
  test::LoopbackHttpServer server("_must");  // the report ignores any answer
  SendUsageReport(server.Base());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string line = requests[0].substr(0, requests[0].find("\r\n"));
  int major = -1, minor = -1;
  ASSERT_EQ(std::sscanf(line.c_str(), "GET /zentora/usageLog.php?ver=2.2.2&os=%d.%d HTTP/1.1",
                        &major, &minor),
            2)
      << line;
  EXPECT_GT(major, 0);
  EXPECT_EQ(HeaderValue(requests[0], "UA-CPU"), "x86");
}

TEST(UpdateThread, PostsTheNoticeFromItsOwnThread) {
  test::LoopbackHttpServer server("_tell");
  std::promise<UpdateAnswer> posted;
  StartUpdateCheck(server.Base(), [&](UpdateAnswer a) { posted.set_value(a); });
  auto answer = posted.get_future();
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(answer.get(), UpdateAnswer::Notice);
}

TEST(UpdateThread, ServerDownOrNoNewsPostsNothingAndDoesNotWaitForTheNetwork) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(CheckForUpdate(test::DeadServerBase()), UpdateAnswer::None);
  SendUsageReport(test::DeadServerBase());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  int posts = 0;
  {
    test::LoopbackHttpServer server("no news");
    StartUpdateCheck(server.Base(), [&](UpdateAnswer) { ++posts; });
    for (int i = 0; i < 200 && server.Requests().empty(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(server.Requests().size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(posts, 0);
}

// The answer may sit behind redirects, as the platform's request follows them; at most five
// are followed, and a redirect's own body is never taken for the answer.
struct RedirectCase {
  int redirects;
  UpdateAnswer expected;
};
class UpdateRedirects : public ::testing::TestWithParam<RedirectCase> {};

TEST_P(UpdateRedirects, AreFollowedUpToFive) {
  test::LoopbackHttpServer server("_tell");
  server.RedirectFirst(GetParam().redirects);
  EXPECT_EQ(CheckForUpdate(server.Base()), GetParam().expected);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), static_cast<size_t>(std::min(GetParam().redirects, 5) + 1));
  for (size_t i = 1; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].rfind("GET /moved/", 0), 0u) << requests[i];
    EXPECT_EQ(HeaderValue(requests[i], "UA-CPU"), "x86");
  }
}
INSTANTIATE_TEST_SUITE_P(Counts, UpdateRedirects,
                         ::testing::Values(RedirectCase{1, UpdateAnswer::Notice},
                                           RedirectCase{5, UpdateAnswer::Notice},
                                           RedirectCase{6, UpdateAnswer::None}),
                         [](const auto& info) {
                           return std::to_string(info.param.redirects) + "redirects";
                         });

TEST(UpdateServer, EnvironmentOverridesTheBuiltInServer) {
  unsetenv("ZENTORA_SERVER");
  EXPECT_EQ(UpdateServerBase(), "http://update.zentora.invalid/");
  setenv("ZENTORA_SERVER", "http://127.0.0.1:9", 1);
  EXPECT_EQ(UpdateServerBase(), "http://127.0.0.1:9/");
  unsetenv("ZENTORA_SERVER");
}

}  // namespace
}  // namespace zentora
