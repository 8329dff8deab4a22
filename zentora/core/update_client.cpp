// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/update_client.h"

#include <curl/curl.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace zentora {
namespace {

// Bounds a request on a network that swallows packets; the threads are never waited for,
// but they should not outlive a normal session either.
constexpr long kConnectTimeoutSeconds = 15;
constexpr long kTotalTimeoutSeconds = 30;
constexpr long kMaxRedirects = 5;

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// curl_global_init is not thread-safe: it runs once, on the thread that starts the requests.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Keeps the first kUpdateAnswerLimit bytes of the body and stops the transfer there.
size_t KeepAnswerStart(char* data, size_t size, size_t count, void* user) {
  auto* answer = static_cast<std::string*>(user);
  const size_t bytes = size * count;
  const size_t room = kUpdateAnswerLimit - answer->size();
  answer->append(data, std::min(bytes, room));
  return bytes <= room ? bytes : 0;  // 0 ends the transfer: the rest is not needed
}

size_t DiscardBody(char*, size_t size, size_t count, void*) {
  return size * count;
}

// One GET with the fixed request values. `answer` receives the start of the body when given.
void Get(const std::string& url, std::string* answer) {
  InitCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return;
  curl_slist* headers = nullptr;
  for (const char* line :
       {"Accept: */*", "UA-CPU: x86", "Cache-Control: no-cache", "Pragma: no-cache"})
    headers = curl_slist_append(headers, line);
  std::unique_ptr<curl_slist, HeaderListDeleter> headerList(headers);
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUpdateUserAgent);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 0L);
  // Redirects are followed as the platform's own request does, a bounded number of times and
  // only to plain web addresses.
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  if (answer) {
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, KeepAnswerStart);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, answer);
  } else {
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, DiscardBody);
  }
  curl_easy_perform(c);  // failures end silently; a partial answer still counts
}

}  // namespace

std::string UpdateServerBase() {
  const char* custom = std::getenv("ZENTORA_SERVER");
  std::string base = custom && *custom ? custom : kUpdateServer;
  if (base.back() != '/') base += '/';
  return base;
}

std::string UsageReportPath() {
  int major = 0, minor = 0;
  utsname name{};
  if (uname(&name) == 0) std::sscanf(name.release, "%d.%d", &major, &minor);
  char path[256];
  std::snprintf(path, sizeof path, "zentora/usageLog.php?ver=2.2.2&os=%d.%d", major, minor);
  return path;
}

UpdateAnswer ClassifyUpdateAnswer(std::string_view body) {
  body = body.substr(0, kUpdateAnswerLimit);
  body = body.substr(0, body.find('\0'));
  if (body.starts_with("_tell")) return UpdateAnswer::Notice;
  if (body.starts_with("_must")) return UpdateAnswer::Required;
  return UpdateAnswer::None;
}

UpdateAnswer CheckForUpdate(const std::string& serverBase) {
  std::string answer;
  Get(serverBase + kUpdateCheckPath, &answer);
  return ClassifyUpdateAnswer(answer);
}

void SendUsageReport(const std::string& serverBase) {
  Get(serverBase + UsageReportPath(), nullptr);
}

void StartUpdateCheck(const std::string& serverBase, std::function<void(UpdateAnswer)> post) {
  InitCurlOnce();
  std::thread([serverBase, post = std::move(post)] {
    const UpdateAnswer answer = CheckForUpdate(serverBase);
    if (answer != UpdateAnswer::None && post) post(answer);
  }).detach();
}

void StartUsageReport(const std::string& serverBase) {
  InitCurlOnce();
  std::thread([serverBase] { SendUsageReport(serverBase); }).detach();
}

}  // namespace zentora
