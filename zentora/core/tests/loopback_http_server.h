// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tiny HTTP server on 127.0.0.1 for the update tests: it answers every request with one
// fixed body and keeps the raw request texts. It can first send a number of redirects.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zentora::test {

class LoopbackHttpServer {
 public:
  explicit LoopbackHttpServer(std::string body);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // "http://127.0.0.1:PORT/".
  std::string Base() const;
  // The next `count` requests are answered with "302 Found" to another path here; the body
  // comes after them.
  void RedirectFirst(int count) { redirects_ = count; }
  std::vector<std::string> Requests();

 private:
  void Serve();

  std::string body_;
  int port_ = 0;  // declared before listener_: BindLoopback fills it
  int listener_ = -1;
  std::atomic<bool> stopping_{false};
  std::atomic<int> redirects_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A base URL on 127.0.0.1 where nothing listens.
std::string DeadServerBase();

}  // namespace zentora::test
