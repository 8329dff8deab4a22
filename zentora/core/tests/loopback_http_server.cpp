// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/tests/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace zentora::test {
namespace {

int BindLoopback(int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("bind");
  }
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::string body)
    : body_(std::move(body)), listener_(BindLoopback(&port_)), thread_([this] { Serve(); }) {}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;
  thread_.join();
  close(listener_);
}

std::string LoopbackHttpServer::Base() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

std::vector<std::string> LoopbackHttpServer::Requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 20) <= 0) continue;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      pollfd readable{client, POLLIN, 0};
      if (poll(&readable, 1, 2000) <= 0) break;
      const ssize_t got = recv(client, chunk, sizeof chunk, 0);
      if (got <= 0) break;
      request.append(chunk, static_cast<size_t>(got));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    std::string reply;
    if (const int left = redirects_.fetch_sub(1); left > 0) {
      const std::string moved = "_must (a redirect's own body)";
      reply = "HTTP/1.1 302 Found\r\nLocation: " + Base() + "moved/" + std::to_string(left) +
              "\r\nContent-Length: " + std::to_string(moved.size()) +
              "\r\nConnection: close\r\n\r\n" + moved;
    } else {
      reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
              std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
    }
    send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    close(client);
  }
}

std::string DeadServerBase() {
  int port = 0;
  const int fd = BindLoopback(&port);
  close(fd);  // the port is free again and nobody listens there
  return "http://127.0.0.1:" + std::to_string(port) + "/";
}

}  // namespace zentora::test
